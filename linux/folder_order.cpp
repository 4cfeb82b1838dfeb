// The list order of a folder's entries: names compared ignoring the case of
// ASCII letters, sorted by integer keys of their first bytes, and the order
// in which a copy creates them.
#include "folder_scan.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace dorvelix {

namespace {

unsigned char folded(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// Eight folded bytes of a name from byte `from`, big-endian and
// zero-padded, so that most comparisons in a sort are integer comparisons.
// Names hold no NUL byte, so the padding puts a shorter name first.
std::uint64_t foldedHead(std::string_view name, size_t from = 0)
{
    std::uint64_t head = 0;
    const size_t n = name.size() > from ? std::min<size_t>(name.size() - from, 8) : 0;
    for (size_t k = 0; k < n; ++k)
        head |= static_cast<std::uint64_t>(folded(static_cast<unsigned char>(name[from + k]))) << (56 - 8 * k);
    return head;
}

// listOrderLess for two names whose first `from` folded bytes are equal.
bool listOrderLessFrom(std::string_view a, std::string_view b, size_t from)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = from; i < n; ++i) {
        const unsigned char ca = folded(static_cast<unsigned char>(a[i]));
        const unsigned char cb = folded(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca < cb;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

}  // namespace

bool listOrderLess(std::string_view a, std::string_view b)
{
    return listOrderLessFrom(a, b, 0);
}

// The first twelve folded bytes of a name as integers, in a key of sixteen
// bytes: most comparisons in a sort are integer comparisons, also among
// names that share their first eight ("IMG_0001.JPG", "IMG_0002.JPG"), and
// the keys of a folder of 100,000 files take 1.6 MB.
struct FolderScan::SortKey {
    std::uint64_t head;
    std::uint32_t next;
    std::uint32_t index;
};

void FolderScan::sortKeys(SortKey* keys, size_t count, const std::vector<FolderEntry>& entries) const
{
    for (size_t i = 0; i < count; ++i) {
        const std::string_view n = name(entries[keys[i].index]);
        keys[i].head = foldedHead(n);
        keys[i].next = static_cast<std::uint32_t>(foldedHead(n, 8) >> 32);
    }
    std::sort(keys, keys + count, [&](const SortKey& a, const SortKey& b) {
        if (a.head != b.head)
            return a.head < b.head;
        if (a.next != b.next)
            return a.next < b.next;
        return listOrderLessFrom(name(entries[a.index]), name(entries[b.index]), 12);
    });
}

void FolderScan::sortInListOrder(std::vector<std::uint32_t>& order, const std::vector<FolderEntry>& entries) const
{
    std::vector<SortKey> keys(order.size());
    for (size_t i = 0; i < order.size(); ++i)
        keys[i].index = order[i];
    sortKeys(keys.data(), keys.size(), entries);
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = keys[i].index;
}

std::span<const std::uint32_t> FolderScan::filesInListOrder() const
{
    std::call_once(sortFiles_, [this] {
        // The order takes the place of the keys it is read from, and the
        // rest of their room is given back: a wide folder's sort holds no
        // more than its keys at any moment.
        const size_t count = files_.size();
        void* room = std::malloc(std::max<size_t>(count, 1) * sizeof(SortKey));
        if (!room)
            throw std::bad_alloc();
        auto* keys = static_cast<SortKey*>(room);
        for (size_t i = 0; i < count; ++i)
            keys[i].index = static_cast<std::uint32_t>(i);
        sortKeys(keys, count, files_);
        // Index i goes to bytes [4i, 4i + 4), which only keys before key i
        // or key i itself held: each is read before it is written over.
        auto* bytes = static_cast<unsigned char*>(room);
        for (size_t i = 0; i < count; ++i) {
            const std::uint32_t index = keys[i].index;
            std::memcpy(bytes + i * sizeof index, &index, sizeof index);
        }
        void* order = std::realloc(room, std::max<size_t>(count, 1) * sizeof(std::uint32_t));
        filesInOrder_.reset(static_cast<std::uint32_t*>(order ? order : room));
        filesSorted_.store(true, std::memory_order_release);
    });
    return {filesInOrder_.get(), files_.size()};
}

std::vector<const FolderEntry*> FolderScan::entriesInListOrder() const
{
    const std::span<const std::uint32_t> order = filesInListOrder();
    std::vector<const FolderEntry*> all;
    all.reserve(folders_.size() + files_.size());
    size_t folder = 0;
    for (const std::uint32_t file : order) {
        while (folder < folders_.size() && listOrderLess(name(folders_[folder]), name(files_[file])))
            all.push_back(&folders_[folder++]);
        all.push_back(&files_[file]);
    }
    while (folder < folders_.size())
        all.push_back(&folders_[folder++]);
    return all;
}

std::vector<const FolderEntry*> FolderScan::entriesInCopyOrder(CopyOrder order) const
{
    std::vector<Created> created = created_;
    if (order == CopyOrder::ByInode)
        std::stable_sort(created.begin(), created.end(), [](const Created& a, const Created& b) { return a.inode < b.inode; });
    std::vector<const FolderEntry*> all;
    all.reserve(created.size());
    for (const Created& c : created)
        all.push_back(c.entry & FolderBit ? &folders_[c.entry & ~FolderBit] : &files_[c.entry]);
    return all;
}

}  // namespace dorvelix
