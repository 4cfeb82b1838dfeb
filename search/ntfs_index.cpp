#include "ntfs_index.h"

#include "ntfs_records.h"

#include <QChar>
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace dorvelix::ntfs {

namespace {

// Reads a UTF-8 name as UTF-16 units, one at a time.
class UnitReader {
public:
    explicit UnitReader(std::string_view s) : s_(s) {}

    // The next unit, nothing at the end.
    std::optional<char16_t> next()
    {
        if (low_) {
            return std::exchange(low_, std::nullopt);
        }
        if (at_ >= s_.size())
            return std::nullopt;
        const auto b = static_cast<unsigned char>(s_[at_]);
        const int length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        char32_t c = length == 1 ? b : length == 2 ? b & 0x1F : length == 3 ? b & 0x0F : b & 0x07;
        bool valid = length > 0 && at_ + static_cast<size_t>(length) <= s_.size();
        for (int i = 1; valid && i < length; ++i) {
            const auto t = static_cast<unsigned char>(s_[at_ + static_cast<size_t>(i)]);
            valid = (t >> 6) == 2;
            c = c << 6 | (t & 0x3F);
        }
        if (!valid || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            ++at_;
            return u'\xFFFD';
        }
        at_ += static_cast<size_t>(length);
        if (c < 0x10000)
            return static_cast<char16_t>(c);
        c -= 0x10000;
        low_ = static_cast<char16_t>(0xDC00 | (c & 0x3FF));
        return static_cast<char16_t>(0xD800 | (c >> 10));
    }

private:
    std::string_view s_;
    size_t at_ = 0;
    std::optional<char16_t> low_;
};

char16_t upper(char16_t c)
{
    if (c < 0x80)
        return c >= 'a' && c <= 'z' ? static_cast<char16_t>(c - 'a' + 'A') : c;
    if (c >= 0xD800 && c <= 0xDFFF)
        return c;
    const char32_t u = QChar::toUpper(static_cast<char32_t>(c));
    return u < 0x10000 ? static_cast<char16_t>(u) : c;
}

// Compares two names unit by unit, upper-cased (a shorter name first where
// one begins the other), then as written: the order of an NTFS folder index.
int compareNames(std::string_view a, std::string_view b, bool upperCased)
{
    UnitReader ra(a), rb(b);
    for (;;) {
        const auto ua = ra.next(), ub = rb.next();
        if (!ua || !ub)
            return ua ? 1 : ub ? -1 : 0;
        const char16_t ca = upperCased ? upper(*ua) : *ua, cb = upperCased ? upper(*ub) : *ub;
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
}

bool nameLess(std::string_view a, std::string_view b)
{
    const int folded = compareNames(a, b, true);
    return folded != 0 ? folded < 0 : compareNames(a, b, false) < 0;
}

struct Node {
    bool leaf = true;
    std::vector<std::uint32_t> names;  // by index order
    std::vector<std::int32_t> sizes;   // each entry's bytes here (with its child's number in a node)
    std::vector<std::uint32_t> kids;   // a node's children (one more than its names)
    std::int64_t bytes = 0;            // the sizes summed
};

class FolderIndex {
public:
    FolderIndex(const IndexGeometry& g, std::int64_t folderNameUnits, std::span<const std::string_view> names,
                bool recordModelled)
        : g_(g),
          names_(names),
          modelled_(recordModelled),
          records_(g.recordBytes, g.clusterBytes,
                   {{StandardInformation, 72},
                    {FileName, fileNameBytes(folderNameUnits)},
                    {SecurityDescriptor, SecurityDescriptorBytes, 0, false, SecurityDescriptorValue},
                    {IndexRoot, 32 + 16 + 16 + 16, 4}}),
          blockRoom_(g.blockBytes - 24),
          blockHeader_(align8(16 + 2 * (g.blockBytes / 512 + 1)))
    {
        nodes_.emplace_back();
    }

    void add(std::uint32_t name)
    {
        const std::int64_t entry = align8(82 + 2 * utf16Units(names_[name])) + g_.extraEntryBytes;
        for (;;) {
            const auto path = lookup(names_[name]);
            const auto [at, position] = path.back();
            if (at == Root) {
                if (rootMakeSpace(rootLength() + entry) == RecordSet::Resize::RootFull) {
                    reparent();
                    continue;
                }
            } else if (length(nodes_[at]) + entry > blockRoom_) {
                split(path, path.size() - 1);
                continue;
            }
            insert(nodes_[at], position, name, entry);
            return;
        }
    }

    FolderIndexCount count() const
    {
        FolderIndexCount c;
        c.blocks = blocks_;
        c.blockClusters = (blocks_ * g_.blockBytes + g_.clusterBytes - 1) / g_.clusterBytes;
        c.otherClusters = modelled_ ? records_.clusters() : 0;
        c.extraRecords = modelled_ ? records_.extraRecords() : 0;
        c.recordModelled = modelled_;
        return c;
    }

private:
    static constexpr std::uint32_t Root = 0;
    using Path = std::vector<std::pair<std::uint32_t, size_t>>;

    // A block's index length: its header, entries and end entry.
    std::int64_t length(const Node& n) const { return blockHeader_ + n.bytes + (n.leaf ? 16 : 24); }
    std::int64_t rootLength() const { return 16 + nodes_[Root].bytes + (nodes_[Root].leaf ? 16 : 24); }

    static void insert(Node& n, size_t at, std::uint32_t name, std::int64_t size)
    {
        n.names.insert(n.names.begin() + static_cast<std::ptrdiff_t>(at), name);
        n.sizes.insert(n.sizes.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::int32_t>(size));
        n.bytes += size;
    }

    Path lookup(std::string_view name) const
    {
        Path path;
        for (std::uint32_t at = Root;;) {
            const Node& n = nodes_[at];
            const auto place = std::lower_bound(n.names.begin(), n.names.end(), name, [this](std::uint32_t i, std::string_view v) {
                return nameLess(names_[i], v);
            });
            const auto position = static_cast<size_t>(place - n.names.begin());
            path.emplace_back(at, position);
            if (n.leaf)
                return path;
            at = n.kids[position];
        }
    }

    RecordSet::Resize rootMakeSpace(std::int64_t rootIndexLength)
    {
        // Without the record, the root holds no entry at all.
        if (!modelled_)
            return RecordSet::Resize::RootFull;
        return records_.resize(IndexRoot, 32 + 16 + rootIndexLength);
    }

    void newBlock()
    {
        ++blocks_;
        if (!modelled_)
            return;
        // The block bitmap grows by 8 bytes per 64 blocks.
        const std::int64_t bytes = 8 * ((blocks_ + 63) / 64);
        const Attribute* bitmap = records_.find(Bitmap);
        if (bitmap && !bitmap->nonResident && 32 + bytes > bitmap->length
            && records_.resize(Bitmap, 32 + bytes) != RecordSet::Resize::Done)
            throw Unmodelled{};
    }

    // The root's entries go to a new block, the root keeps only its end
    // entry pointing to it.
    void reparent()
    {
        if (modelled_ && nodes_[Root].leaf && !records_.find(IndexAllocation)) {
            records_.add({Bitmap, 40, 4, false, 8});
            records_.add({IndexAllocation, 72 + 8, 4, true});
        }
        newBlock();
        Node old = std::move(nodes_[Root]);
        nodes_.push_back(std::move(old));
        Node root;
        root.leaf = false;
        root.kids.push_back(static_cast<std::uint32_t>(nodes_.size() - 1));
        nodes_[Root] = std::move(root);
        if (!modelled_)
            return;
        constexpr std::int64_t EmptyNodeRoot = 32 + 16 + 16 + 24;
        const Attribute* ir = records_.find(IndexRoot);
        const std::int64_t inUse = records_.bytesInUse(ir->record);
        const std::int64_t grown = inUse - ir->length + EmptyNodeRoot;
        const std::int64_t r = g_.recordBytes;
        if (EmptyNodeRoot > ir->length && (grown > r || (grown + 120 > r && inUse + 120 <= r)))
            records_.moveRootAway(EmptyNodeRoot);
        else
            records_.find(IndexRoot)->length = EmptyNodeRoot;
    }

    // Splits the block at path[level] at its middle entry, which goes up to
    // its parent; where the parent has no room it is split (or the root
    // reparented) first and this split is left for the next try.
    void split(const Path& path, size_t level)
    {
        const std::uint32_t x = path[level].first, parent = path[level - 1].first;
        const size_t at = path[level - 1].second;
        const size_t middle = nodes_[x].names.size() / 2;
        const std::uint32_t name = nodes_[x].names[middle];
        const std::int64_t size = nodes_[x].sizes[middle];
        const bool leaf = nodes_[x].leaf;
        newBlock();
        if (parent == Root) {
            if (rootMakeSpace(rootLength() + size + (leaf ? 8 : 0)) == RecordSet::Resize::RootFull) {
                --blocks_;
                reparent();
                return;
            }
        } else if (length(nodes_[parent]) + size + 8 > blockRoom_) {
            --blocks_;
            split(path, level - 1);
            return;
        }
        Node y;
        Node& n = nodes_[x];
        y.leaf = leaf;
        const auto from = static_cast<std::ptrdiff_t>(middle);
        y.names.assign(n.names.begin() + from + 1, n.names.end());
        y.sizes.assign(n.sizes.begin() + from + 1, n.sizes.end());
        if (!leaf) {
            y.kids.assign(n.kids.begin() + from + 1, n.kids.end());
            n.kids.resize(middle + 1);
        }
        n.names.resize(middle);
        n.sizes.resize(middle);
        n.bytes = 0;
        for (const std::int32_t s : n.sizes)
            n.bytes += s;
        for (const std::int32_t s : y.sizes)
            y.bytes += s;
        nodes_.push_back(std::move(y));
        Node& p = nodes_[parent];
        insert(p, at, name, size + (leaf ? 8 : 0));
        p.kids.insert(p.kids.begin() + static_cast<std::ptrdiff_t>(at) + 1, static_cast<std::uint32_t>(nodes_.size() - 1));
    }

    IndexGeometry g_;
    std::span<const std::string_view> names_;
    bool modelled_;
    RecordSet records_;
    std::int64_t blockRoom_;    // an index block's room for its index, from its header on
    std::int64_t blockHeader_;  // where its entries start
    std::vector<Node> nodes_;
    std::int64_t blocks_ = 0;
};

}  // namespace

std::int64_t utf16Units(std::string_view utf8)
{
    std::int64_t units = 0;
    for (UnitReader r(utf8); r.next();)
        ++units;
    return units;
}

FolderIndexCount countFolderIndex(const IndexGeometry& geometry, std::int64_t folderNameUnits,
                                  std::span<const std::string_view> names)
{
    try {
        FolderIndex index(geometry, folderNameUnits, names, true);
        for (std::uint32_t i = 0; i < names.size(); ++i)
            index.add(i);
        return index.count();
    } catch (const Unmodelled&) {
        // A record the model cannot follow: the blocks of a root that holds
        // nothing, the rest left to the caller's bound.
        FolderIndex index(geometry, folderNameUnits, names, false);
        for (std::uint32_t i = 0; i < names.size(); ++i)
            index.add(i);
        return index.count();
    }
}

}  // namespace dorvelix::ntfs
