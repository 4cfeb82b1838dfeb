// A copy to f2fs, counted in its 4 KiB blocks: one node block (the inode)
// for every entry; for a file longer than its inode keeps inline, its data
// blocks and the node blocks that address them; for a folder that outgrows
// its inline area, the dentry blocks its names land in, placed by their
// hash in the order the copy creates them, and their node blocks. Every
// block comes out of the free space; node blocks also out of the free
// inodes, which f2fs counts in node blocks.
//
// The count is a bound: a copy that creates a folder's names in another
// order than the one followed here can need a few dentry blocks more (one
// per 50 and one more are added for each folder that has dentry blocks),
// and the folder the copy goes into gains one name (at most two blocks and
// a node). Without those margins the count is that of a volume's own
// writer, block for block.
#pragma once

#include "copy_layout.h"
#include "f2fs_volume.h"

namespace dorvelix {

class F2fsCopy : public CopyLayout {
public:
    F2fsCopy(const F2fsVolume& volume, FolderScan::CopyOrder order);

    void folderRead(const std::string& path, const FolderScan& folder) override;
    void fileBooked(const std::string& path, const FolderEntry& entry, long long length) override;
    CopyNeeds needs() const override;
    bool exact() const override { return false; }
    std::vector<BlockedEntry> blocked() const override { return blocked_; }
    bool wantsCreationOrder() const override { return true; }

    // The blocks the copied entries take in all, and of them the node
    // blocks, without the margins for the order and the target folder.
    long long blocks() const { return nodeBlocks_ + dataBlocks_; }
    long long nodeBlocks() const { return nodeBlocks_; }
    // The node blocks the copy takes out of the free inodes, the target
    // folder's margin included.
    std::optional<long long> inodesNeeded() const override;

    // The longest file f2fs takes: what its inode, two direct, two indirect
    // and one double indirect node address, in 4 KiB blocks.
    static constexpr long long LargestFileBytes = 1057052516LL * 4096;

private:
    F2fsVolume volume_;
    FolderScan::CopyOrder order_;
    long long entries_ = 0;
    long long nodeBlocks_ = 0;      // inodes and the nodes that address data and dentry blocks
    long long dataBlocks_ = 0;      // file data and dentry blocks
    long long fileDataBlocks_ = 0;  // of them, the files' data
    long long orderMargin_ = 0;     // dentry blocks another order of names may need
    std::vector<BlockedEntry> blocked_;
};

}  // namespace dorvelix
