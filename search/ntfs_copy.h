// A copy to NTFS: an MFT record for each entry (small files and links inside
// it), the data of the others in whole clusters, each new folder's index in
// its record and in index blocks as ntfs-3g grows it in the copy's order of
// creation, and the MFT's own growth for the new records. needs() is a bound
// that is never under what ntfs-3g takes, with the free space in holes and
// the entry the copy adds to the folder it goes into; where the mount's
// figures leave the record length open, the larger count of both lengths.
#pragma once

#include "copy_layout.h"
#include "ntfs_tally.h"
#include "ntfs_volume.h"

#include <vector>

namespace dorvelix {

class NtfsCopy : public CopyLayout {
public:
    NtfsCopy(const NtfsVolume& volume, FolderScan::CopyOrder order);

    void folderRead(const std::string& path, const FolderScan& folder) override;
    void fileBooked(const std::string& path, const FolderEntry& entry, long long length) override;
    CopyNeeds needs() const override;
    bool exact() const override
    {
        const NtfsCount c = count();
        return c.known && c.safeClusters == c.clusters;
    }
    bool wantsCreationOrder() const override { return true; }
    // The count holds room for the entry the copy adds to the folder it goes into.
    bool countsTargetEntry() const override { return true; }

    // The count of the record length that needs most: what the copy takes
    // with room to spare, the least it can take, and the bound needs() gives.
    NtfsCount count() const;

private:
    std::int64_t clusterBytes_;
    FolderScan::CopyOrder order_;
    std::vector<NtfsTally> tallies_;
    long long entries_ = 0;
};

}  // namespace dorvelix
