#include "f2fs_copy.h"

#include "f2fs_folder.h"

#include <climits>

namespace dorvelix {

namespace {

// What the folder the copy goes into may gain with the copied folder's
// name: its move out of the inline area or one more dentry block, and a
// node that addresses it.
constexpr long long TargetFolderBlocks = 2;
constexpr long long TargetFolderNodes = 1;
// Names created in an order other than the one followed here can land in
// other buckets: per folder with dentry blocks, one block for every 50 and
// one more.
constexpr long long BlocksPerOrderMarginBlock = 50;

// a + b, held at LLONG_MAX where it would pass it: a figure that large
// never fits anywhere.
long long sum(long long a, long long b)
{
    long long s = 0;
    return __builtin_add_overflow(a, b, &s) ? LLONG_MAX : s;
}

long long blocksToBytes(long long blocks)
{
    long long bytes = 0;
    return __builtin_mul_overflow(blocks, f2fs::BlockBytes, &bytes) ? LLONG_MAX : bytes;
}

}  // namespace

F2fsCopy::F2fsCopy(const F2fsVolume& volume, FolderScan::CopyOrder order) : volume_(volume), order_(order) {}

void F2fsCopy::folderRead(const std::string&, const FolderScan& folder)
{
    ++entries_;
    nodeBlocks_ = sum(nodeBlocks_, 1);
    // The folder's names go in as the copy creates them; a scan that did
    // not keep that order gives its list order, which the margin covers.
    std::vector<const FolderEntry*> names = folder.entriesInCopyOrder(order_);
    if (names.empty())
        names = folder.entriesInListOrder();
    f2fs::FolderBlocks blocks(volume_.inlineDentries ? f2fs::inlineDentrySlots(volume_.folderAddressesInInode) : 0);
    for (const FolderEntry* e : names)
        blocks.add(folder.name(*e));
    if (!blocks.hasBlocks())
        return;
    dataBlocks_ = sum(dataBlocks_, blocks.blocks());
    nodeBlocks_ = sum(nodeBlocks_, blocks.nodeBlocks(volume_.folderAddressesInInode));
    orderMargin_ = sum(orderMargin_, ceilDiv(blocks.blocks(), BlocksPerOrderMarginBlock) + 1);
}

void F2fsCopy::fileBooked(const std::string& path, const FolderEntry& entry, long long length)
{
    ++entries_;
    nodeBlocks_ = sum(nodeBlocks_, 1);
    if (entry.kind == EntryKind::Regular) {
        if (length > LargestFileBytes)
            blocked_.push_back({path, BlockReason::FileTooLargeForTarget, length, LargestFileBytes});
        if (length <= volume_.inlineDataBytes)
            return;
        const long long blocks = ceilDiv(length, f2fs::BlockBytes);
        dataBlocks_ = sum(dataBlocks_, blocks);
        fileDataBlocks_ = sum(fileDataBlocks_, blocks);
        nodeBlocks_ = sum(nodeBlocks_, f2fs::fileNodeBlocks(blocks, volume_.addressesInInode));
    } else if (entry.kind == EntryKind::Link) {
        // The target and its NUL stay in the inode where inline data is on
        // and they fit in the inline area; else they take a data block.
        const long long inlineArea = 4 * (volume_.addressesInInode - 1);
        if (volume_.inlineDataBytes == 0 || length + 1 > inlineArea)
            dataBlocks_ = sum(dataBlocks_, 1);
    }
    // Special files take their inode only.
}

CopyNeeds F2fsCopy::needs() const
{
    CopyNeeds needs;
    needs.bytes = blocksToBytes(sum(sum(blocks(), orderMargin_), TargetFolderBlocks));
    needs.dataBytes = blocksToBytes(fileDataBlocks_);
    needs.entries = entries_;
    return needs;
}

std::optional<long long> F2fsCopy::inodesNeeded() const
{
    return sum(nodeBlocks_, TargetFolderNodes);
}

}  // namespace dorvelix
