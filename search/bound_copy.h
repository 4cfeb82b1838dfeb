// A copy to a file system whose allocation is not known here (XFS, tmpfs,
// ZFS, a network share ...): a bound that is never under what such file
// systems take. Every file takes its data in whole allocation units, every
// entry one more unit (of at least 4 KiB) for its inode and records, and
// every folder twice its names' bytes with 16 bytes more each, in whole
// units; the folder the copy goes into one unit more for its new entry.
#pragma once

#include "copy_layout.h"

namespace dorvelix {

class BoundCopy : public CopyLayout {
public:
    explicit BoundCopy(long long unit);

    void folderRead(const std::string& path, const FolderScan& folder) override;
    void fileBooked(const std::string& path, const FolderEntry& entry, long long length) override;
    CopyNeeds needs() const override { return needs_; }
    bool exact() const override { return false; }
    bool countsTargetEntry() const override { return true; }

    // What the bound adds for each entry's inode and records.
    static constexpr long long SmallestRecordUnit = 4096;
    // What it counts per name in a folder, besides the name's own bytes.
    static constexpr long long NameOverhead = 16;

private:
    long long unit_;
    long long recordUnit_;
    CopyNeeds needs_;
};

}  // namespace dorvelix
