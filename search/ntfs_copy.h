// A copy to NTFS as ntfs-3g writes it.
#pragma once

#include "copy_layout.h"
#include "ntfs_volume.h"

namespace dorvelix {

class NtfsCopy : public CopyLayout {
public:
    NtfsCopy(const NtfsVolume& volume, FolderScan::CopyOrder order);

    void folderRead(const std::string& path, const FolderScan& folder) override;
    void fileBooked(const std::string& path, const FolderEntry& entry, long long length) override;
    CopyNeeds needs() const override;
    bool exact() const override { return false; }

private:
    NtfsVolume volume_;
    FolderScan::CopyOrder order_;
    CopyNeeds needs_;
};

}  // namespace dorvelix
