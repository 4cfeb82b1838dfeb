// A copy to ext2/3/4.
#pragma once

#include "copy_layout.h"
#include "ext_volume.h"

namespace dorvelix {

class ExtCopy : public CopyLayout {
public:
    ExtCopy(const ExtVolume& volume, FolderScan::CopyOrder order);

    void folderRead(const std::string& path, const FolderScan& folder) override;
    void fileBooked(const std::string& path, const FolderEntry& entry, long long length) override;
    CopyNeeds needs() const override;
    bool exact() const override { return false; }

private:
    ExtVolume volume_;
    FolderScan::CopyOrder order_;
    CopyNeeds needs_;
};

}  // namespace dorvelix
