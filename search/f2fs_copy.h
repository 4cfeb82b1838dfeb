// A copy to f2fs.
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

private:
    F2fsVolume volume_;
    FolderScan::CopyOrder order_;
    CopyNeeds needs_;
};

}  // namespace dorvelix
