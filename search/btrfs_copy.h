// A copy to btrfs.
#pragma once

#include "copy_layout.h"
#include "btrfs_space.h"

namespace dorvelix {

class BtrfsCopy : public CopyLayout {
public:
    BtrfsCopy(const BtrfsSpace& volume, FolderScan::CopyOrder order);

    void folderRead(const std::string& path, const FolderScan& folder) override;
    void fileBooked(const std::string& path, const FolderEntry& entry, long long length) override;
    CopyNeeds needs() const override;
    bool exact() const override { return false; }

private:
    BtrfsSpace volume_;
    FolderScan::CopyOrder order_;
    CopyNeeds needs_;
};

}  // namespace dorvelix
