// A copy to ext2/3/4: one inode for each entry; the blocks of each file's
// data with its extent tree or block map; each folder's blocks as the
// driver fills them, in the order the copy makes its entries (the kernel's
// hashed indexes with the volume's own hash seed, fuse2fs's linear folders),
// or a bound where the seed is not known; links that do not fit in their
// inode. Written by fuse2fs, a copy needs a few blocks more room than it
// takes, as fuse2fs checks the free blocks ahead of each operation.
#pragma once

#include "copy_layout.h"
#include "ext_room.h"
#include "ext_rules.h"
#include "ext_volume.h"

#include <optional>
#include <string>
#include <vector>

namespace dorvelix {

class ExtCopy : public CopyLayout {
public:
    ExtCopy(const ExtVolume& volume, FolderScan::CopyOrder order);

    void folderRead(const std::string& path, const FolderScan& folder) override;
    void fileBooked(const std::string& path, const FolderEntry& entry, long long length) override;
    CopyNeeds needs() const override;
    bool exact() const override;
    std::vector<BlockedEntry> blocked() const override { return blocked_; }
    bool wantsCreationOrder() const override { return true; }
    bool countsTargetEntry() const override { return true; }
    bool wantsTargetFolder() const override { return true; }
    void targetFolderRead(const std::optional<TargetFolder>& folder, std::string_view copiedName) override;

    // The subfolders a folder takes on this volume's driver; nothing where
    // it takes any number.
    std::optional<long long> subfolderLimit() const;

private:
    // One entry of a folder as the copy makes it.
    struct Made {
        const FolderEntry* entry;
        long long length;   // files and links; 0 for folders and special files
        long long folderIndex;  // a subfolder's index in folders(), else -1
    };
    std::vector<Made> madeInOrder(const FolderScan& folder);
    void countEntries(const std::string& path, const FolderScan& folder, const std::vector<Made>& made);
    // The blocks of a folder of these names written by the kernel.
    long long kernelFolderBlocks(const std::string& path, const FolderScan& folder, const std::vector<Made>& made);
    void pendFuse2fsFolder(const std::string& path, const FolderScan& folder, const std::vector<Made>& made);
    // Counts the pending folders from depth on, each into its parent.
    void finishFolders(std::vector<ExtPendingFolder>& pending, std::size_t depth, ExtRoom* top) const;
    void block(const std::string& path, BlockReason reason, long long needed, long long allowed);

    ExtVolume volume_;
    ExtGeometry g_;
    FolderScan::CopyOrder order_;
    CopyNeeds counted_;         // entries and file data; bytes here only the kernel's blocks
    long long kernelBlocks_ = 0;
    long long targetEntryBlocks_ = 0;  // what the copy's entry may take in the folder it goes into
    bool targetEntryExact_ = false;    // whether it surely takes them
    bool exact_;
    std::vector<ExtPendingFolder> pending_;  // fuse2fs: the open folders, by depth
    std::vector<BlockedEntry> blocked_;
};

}  // namespace dorvelix
