#include "ext_htree.h"

#include <algorithm>
#include <numeric>

namespace dorvelix {

namespace {

constexpr std::uint32_t DotBytes = 12;
constexpr std::uint32_t InodeAreaBytes = 56;
constexpr long long InodeBlockBytes = 60;
constexpr long long SmallestEntry = 12;

}  // namespace

ExtKernelFolder::ExtKernelFolder(const ExtGeometry& g, bool splitByCount)
    : g_(g), splitByCount_(splitByCount), stage_(g.inlineFolders ? Stage::Inode : Stage::Linear)
{
    if (stage_ == Stage::Inode) {
        // After the 4 bytes of "..", 56 bytes of entries, one free record.
        firstArea_.push_back({0, 0, InodeAreaBytes, false});
    } else {
        firstBlock_ = {{0, DotBytes, DotBytes, true}, {0, DotBytes, static_cast<std::uint32_t>(g.usable - DotBytes), true}};
        blocks_ = 1;
    }
}

std::optional<std::size_t> ExtKernelFolder::firstFit(const std::vector<Record>& records, long long bytes)
{
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].size - records[i].used >= bytes)
            return i;
    }
    return std::nullopt;
}

void ExtKernelFolder::place(std::vector<Record>& records, std::size_t at, std::uint32_t hash, long long bytes)
{
    Record& r = records[at];
    const auto b = static_cast<std::uint32_t>(bytes);
    if (r.used == 0 && !r.dot) {
        r.hash = hash;  // a free record is taken whole
        r.used = b;
        return;
    }
    const Record after{hash, b, r.size - r.used, false};
    r.size = r.used;
    records.insert(records.begin() + static_cast<std::ptrdiff_t>(at) + 1, after);
}

bool ExtKernelFolder::add(std::uint32_t hash, long long bytes)
{
    if (stage_ == Stage::Inode) {
        if (addInline(hash, bytes))
            return true;
        leaveInode();
    }
    if (stage_ == Stage::Linear)
        return addLinear(hash, bytes);
    return addIndexed(hash, bytes);
}

bool ExtKernelFolder::addInline(std::uint32_t hash, long long bytes)
{
    if (const auto at = firstFit(firstArea_, bytes)) {
        place(firstArea_, *at, hash, bytes);
        return true;
    }
    if (!secondAreaMade_) {
        // The rest of the inode's attribute area, made when first needed.
        const long long room = g_.maxInline - InodeBlockBytes;
        if (room < SmallestEntry)
            return false;
        secondArea_.push_back({0, 0, static_cast<std::uint32_t>(room), false});
        secondAreaMade_ = true;
    }
    if (const auto at = firstFit(secondArea_, bytes)) {
        place(secondArea_, *at, hash, bytes);
        return true;
    }
    return false;
}

void ExtKernelFolder::leaveInode()
{
    // One block: ".", "..", the first area as it was (its free space stays
    // inside its last entry), the second area, the last entry reaching to
    // the end of the block.
    firstBlock_ = {{0, DotBytes, DotBytes, true}, {0, DotBytes, DotBytes, true}};
    firstBlock_.insert(firstBlock_.end(), firstArea_.begin(), firstArea_.end());
    firstBlock_.insert(firstBlock_.end(), secondArea_.begin(), secondArea_.end());
    long long sizes = 0;
    for (const Record& r : firstBlock_)
        sizes += r.size;
    firstBlock_.back().size += static_cast<std::uint32_t>(g_.usable - sizes);
    firstArea_.clear();
    secondArea_.clear();
    stage_ = Stage::Linear;
    blocks_ = 1;
}

bool ExtKernelFolder::addLinear(std::uint32_t hash, long long bytes)
{
    if (const auto at = firstFit(firstBlock_, bytes)) {
        place(firstBlock_, *at, hash, bytes);
        return true;
    }
    if (const long long at = moreBlocks_.find(bytes); at >= 0) {
        moreBlocks_.take(at, bytes);
        return true;
    }
    if (moreBlocks_.size() == 0 && g_.dirIndex) {
        makeIndexed(hash, bytes);
        return true;
    }
    moreBlocks_.add(g_.usable - bytes);
    ++blocks_;
    return true;
}

ExtKernelFolder::Split ExtKernelFolder::split(const std::vector<Record>& records)
{
    // The live entries with their sizes on disk (free space inside counts),
    // sorted by hash.
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].used > 0 && !records[i].dot)
            order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return records[a].hash < records[b].hash; });
    const long long count = static_cast<long long>(order.size());
    // From the highest hash down, move entries while they fill at most half
    // a block with half of the next one.
    long long moving = 0, movedCount = 0, i = count - 1;
    for (; i >= 0; --i) {
        const long long size = records[order[static_cast<std::size_t>(i)]].size;
        if (moving + size / 2 > g_.block / 2)
            break;
        moving += size;
        ++movedCount;
    }
    if (i == 0)
        rulesDiffered_ = true;
    const bool bySize = splitByCount_ ? i > 0 : i >= 0;
    const long long at = std::max(1LL, bySize ? count - movedCount : count / 2);
    Split s;
    s.hash = records[order[static_cast<std::size_t>(at)]].hash;
    s.key = s.hash + (records[order[static_cast<std::size_t>(at - 1)]].hash == s.hash ? 1 : 0);
    std::vector<bool> moved(records.size(), false);
    for (long long k = at; k < count; ++k) {
        const Record& r = records[order[static_cast<std::size_t>(k)]];
        moved[order[static_cast<std::size_t>(k)]] = true;
        s.moved.entries.push_back({r.hash, r.used});
        s.moved.used += r.used;
    }
    for (std::size_t k = 0; k < records.size(); ++k) {
        const Record& r = records[k];
        if (r.used > 0 && !r.dot && !moved[k]) {
            s.kept.entries.push_back({r.hash, r.used});
            s.kept.used += r.used;
        }
    }
    return s;
}

void ExtKernelFolder::makeIndexed(std::uint32_t hash, long long bytes)
{
    // The first block becomes the index root; what follows ".." moves
    // unchanged to a new leaf (its last entry grows by the 24 bytes of "."
    // and ".."), which is split at once.
    std::vector<Record> leaf(firstBlock_.begin() + 2, firstBlock_.end());
    long long sizes = 0;
    for (const Record& r : leaf)
        sizes += r.size;
    leaf.back().size += static_cast<std::uint32_t>(g_.usable - sizes);
    Split s = split(leaf);
    firstBlock_.clear();
    leaves_.push_back(std::move(s.kept));
    leaves_.push_back(std::move(s.moved));
    nodes_.push_back({{0, 0}, {s.key, 1}});
    levels_ = 1;
    blocks_ += 2;
    stage_ = Stage::Indexed;
    Leaf& target = leaves_[hash >= s.hash ? 1 : 0];
    if (g_.usable - target.used >= bytes) {
        target.entries.push_back({hash, static_cast<std::uint32_t>(bytes)});
        target.used += bytes;
    } else {
        addIndexed(hash, bytes);
    }
}

bool ExtKernelFolder::addIndexed(std::uint32_t hash, long long bytes)
{
    struct Step {
        std::uint32_t node;
        std::size_t at;
    };
    std::vector<Step> path;
    for (;;) {
        // The leaf of the hash: on each level the last entry whose hash is
        // not above it.
        path.clear();
        std::uint32_t node = 0, leaf = 0;
        for (std::size_t level = 0; level < levels_; ++level) {
            const Index& index = nodes_[node];
            std::size_t lo = 1, hi = index.size();
            while (lo < hi) {
                const std::size_t mid = (lo + hi) / 2;
                if (index[mid].hash > hash)
                    hi = mid;
                else
                    lo = mid + 1;
            }
            path.push_back({node, lo - 1});
            (level + 1 < levels_ ? node : leaf) = index[lo - 1].child;
        }
        Leaf& target = leaves_[leaf];
        if (g_.usable - target.used >= bytes) {
            target.entries.push_back({hash, static_cast<std::uint32_t>(bytes)});
            target.used += bytes;
            return true;
        }
        const std::size_t low = path.size() - 1;
        if (static_cast<long long>(nodes_[path[low].node].size()) >= limit(low)) {
            // The lowest index block is full: split the lowest one whose
            // parent has room, or add a level when all are full up to the root.
            std::size_t k = low;
            while (k > 0 && static_cast<long long>(nodes_[path[k - 1].node].size()) >= limit(k - 1))
                --k;
            if (k == 0 && path.size() == (g_.largeDir ? 3u : 2u))
                return false;
            ++blocks_;
            if (k == 0) {
                Index root = nodes_[0];
                nodes_.push_back(std::move(root));
                nodes_[0] = {{0, static_cast<std::uint32_t>(nodes_.size() - 1)}};
                ++levels_;
            } else {
                Index& full = nodes_[path[k].node];
                const std::size_t half = full.size() / 2;
                const std::uint32_t key = full[half].hash;
                Index upper(full.begin() + static_cast<std::ptrdiff_t>(half), full.end());
                full.resize(half);
                nodes_.push_back(std::move(upper));
                Index& parent = nodes_[path[k - 1].node];
                parent.insert(parent.begin() + static_cast<std::ptrdiff_t>(path[k - 1].at) + 1,
                              {key, static_cast<std::uint32_t>(nodes_.size() - 1)});
            }
            continue;
        }
        // Split the leaf; the name goes to the half its hash selects.
        std::vector<Record> records;
        records.reserve(target.entries.size());
        for (const Entry& e : target.entries)
            records.push_back({e.hash, e.used, e.used, false});
        records.back().size += static_cast<std::uint32_t>(g_.usable - target.used);
        Split s = split(records);
        leaves_[leaf] = std::move(s.kept);
        leaves_.push_back(std::move(s.moved));
        Index& index = nodes_[path[low].node];
        index.insert(index.begin() + static_cast<std::ptrdiff_t>(path[low].at) + 1,
                     {s.key, static_cast<std::uint32_t>(leaves_.size() - 1)});
        ++blocks_;
        Leaf& half = hash >= s.hash ? leaves_.back() : leaves_[leaf];
        if (g_.usable - half.used >= bytes) {
            half.entries.push_back({hash, static_cast<std::uint32_t>(bytes)});
            half.used += bytes;
            return true;
        }
    }
}

}  // namespace dorvelix
