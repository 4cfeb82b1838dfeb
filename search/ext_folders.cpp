#include "ext_folders.h"

#include <algorithm>

namespace dorvelix {

namespace {

constexpr long long DotEntries = 24;    // "." and ".." in a folder's first block
constexpr long long InodeAreaBytes = 56;  // names kept in the inode's block pointers (after "..")
constexpr long long InodeBlockBytes = 60;
constexpr long long SmallestEntry = 12;
constexpr long long LargestEntry = 264;   // a name of 255 bytes

}  // namespace

void ExtFirstFit::set(long long block, std::int32_t room)
{
    long long at = capacity_ + block;
    tree_[static_cast<std::size_t>(at)] = room;
    for (at /= 2; at >= 1; at /= 2)
        tree_[static_cast<std::size_t>(at)] = std::max(tree_[static_cast<std::size_t>(2 * at)], tree_[static_cast<std::size_t>(2 * at + 1)]);
}

void ExtFirstFit::add(long long room)
{
    if (size_ == capacity_) {
        // Twice the leaves: rebuilt from the rooms kept so far.
        const long long capacity = std::max<long long>(16, 2 * capacity_);
        std::vector<std::int32_t> tree(static_cast<std::size_t>(2 * capacity), -1);
        for (long long i = 0; i < size_; ++i)
            tree[static_cast<std::size_t>(capacity + i)] = tree_[static_cast<std::size_t>(capacity_ + i)];
        for (long long at = capacity - 1; at >= 1; --at)
            tree[static_cast<std::size_t>(at)] = std::max(tree[static_cast<std::size_t>(2 * at)], tree[static_cast<std::size_t>(2 * at + 1)]);
        tree_ = std::move(tree);
        capacity_ = capacity;
    }
    set(size_++, static_cast<std::int32_t>(room));
}

long long ExtFirstFit::find(long long bytes) const
{
    if (size_ == 0 || tree_[1] < bytes)
        return -1;
    long long at = 1;
    while (at < capacity_)
        at = tree_[static_cast<std::size_t>(2 * at)] >= bytes ? 2 * at : 2 * at + 1;
    return at - capacity_;
}

void ExtFirstFit::take(long long block, long long bytes)
{
    set(block, static_cast<std::int32_t>(tree_[static_cast<std::size_t>(capacity_ + block)] - bytes));
}

ExtLinearFolder::ExtLinearFolder(const ExtGeometry& g, bool startsInline) : usable_(g.usable)
{
    if (startsInline)
        inlineBytes_ = 0;
    else
        blocks_.add(usable_ - DotEntries);
}

long long ExtLinearFolder::add(long long entryBytes)
{
    const long long before = blocks_.size();
    if (inlineBytes_ >= 0) {
        if (inlineBytes_ + entryBytes <= InodeAreaBytes) {
            inlineBytes_ += entryBytes;
            return 0;
        }
        // Out of the inode into one block: ".", ".." and the names packed.
        blocks_.add(usable_ - DotEntries - inlineBytes_);
        inlineBytes_ = -1;
    }
    const long long at = blocks_.find(entryBytes);
    if (at >= 0)
        blocks_.take(at, entryBytes);
    else
        blocks_.add(usable_ - entryBytes);
    return blocks_.size() - before;
}

ExtFolderBound::ExtFolderBound(const ExtGeometry& g)
    : g_(g), inline_(g.inlineFolders), bySize_(static_cast<std::size_t>(LargestEntry / 4 + 1), 0)
{
}

void ExtFolderBound::add(long long r)
{
    ++names_;
    total_ += r;
    largest_ = std::max(largest_, r);
    ++bySize_[static_cast<std::size_t>(std::min(r, LargestEntry) / 4)];
    if (!inline_)
        return;
    // The inline phase needs no hash: first fit into the inode's 56 bytes,
    // then into the attribute area; the first name that fits neither takes
    // the folder to a block, where the first area's slack stays.
    const long long second = g_.maxInline - InodeBlockBytes;
    if (inlineFirst_ + r <= InodeAreaBytes) {
        inlineFirst_ += r;
    } else if (second >= SmallestEntry && inlineSecond_ + r <= second) {
        inlineSecond_ += r;
    } else {
        gap_ = InodeAreaBytes - inlineFirst_;
        inline_ = false;
    }
}

long long ExtFolderBound::leastLeafFill() const
{
    // A leaf splits only when full (less than the largest entry free); the
    // split moves the highest hashes while they fill at most half a block,
    // counting the last entry with the block's free space, and keeps the
    // rest. Both halves only grow afterwards.
    const long long half = g_.block / 2;
    const long long slack = largest_ - 4;
    const long long moved = half - largest_ / 2 + 1 - slack;
    const long long kept = g_.usable - half - (largest_ + 1) / 2 - slack;
    return std::max(SmallestEntry, std::min(moved, kept));
}

long long ExtFolderBound::leaves() const
{
    // +2: the first split's two leaves may start 24 bytes emptier.
    long long leaves = std::max(2LL, total_ / leastLeafFill() + 2);
    if (g_.oldSplitPossible) {
        // A split by count may leave two thin leaves for each entry from
        // this size up.
        const long long big = g_.usable - g_.block / 2 - (largest_ + 1) / 2 - (largest_ - 4);
        if (big <= largest_) {
            for (long long size = std::max(0LL, big); size <= LargestEntry; size += 4)
                leaves += 2 * bySize_[static_cast<std::size_t>(size / 4)];
        }
    }
    return leaves;
}

long long ExtFolderBound::blocks() const
{
    if (names_ == 0 || (inline_ && g_.inlineFolders))
        return g_.inlineFolders ? 0 : 1;
    if (total_ + DotEntries + gap_ <= g_.usable)
        return 1;
    const long long leafCount = leaves();
    const long long half = std::max(1LL, g_.nodeLimit / 2);
    long long nodes = 0;
    if (leafCount > g_.rootLimit) {
        nodes = std::max(1LL, leafCount / half);
        if (nodes > g_.rootLimit)
            nodes += std::max(1LL, nodes / half);
    }
    return 1 + leafCount + nodes;
}

bool ExtFolderBound::mayOverflowIndex() const
{
    return !g_.largeDir && blocks() > 1 && leaves() > g_.rootLimit * (g_.nodeLimit / 2);
}

long long ExtFolderBound::namesSurelyHeld() const
{
    const long long leafBytes = std::max(0LL, g_.rootLimit * (g_.nodeLimit / 2) - 2) * leastLeafFill();
    return largest_ > 0 ? leafBytes / largest_ : 0;
}

}  // namespace dorvelix
