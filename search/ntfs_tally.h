// What a copy takes on an NTFS volume of one MFT record length, entry by
// entry: MFT records, clusters of data, index blocks and attributes pushed
// out of records, and at the end the MFT's own growth for the new records.
// Three figures come out: what the copy takes on a volume with room to
// spare, the least it can take (the MFT grown in its smallest steps), and a
// bound that is never under what it takes, whatever the free space's holes.
#pragma once

#include "folder_scan.h"
#include "ntfs_index.h"
#include "ntfs_volume.h"

#include <cstdint>
#include <map>
#include <span>
#include <string_view>
#include <utility>

namespace dorvelix {

struct NtfsCount {
    std::int64_t clusters = 0;       // on a volume with room to spare
    std::int64_t leastClusters = 0;  // with less room the copy cannot succeed
    std::int64_t safeClusters = 0;   // never under what the copy takes
    std::int64_t records = 0;        // new MFT records, with room to spare
    std::int64_t safeRecords = 0;
    std::int64_t dataClusters = 0;   // the files' data outside their records
    // Whether clusters is what the copy takes with room to spare: every part
    // followed to the record (no link whose target's length in UTF-16 units
    // its bytes leave open), the MFT read from the volume, ntfs-3g writing.
    bool known = false;
};

class NtfsTally {
public:
    NtfsTally(const NtfsVolume& volume, std::int64_t recordBytes);

    // A new folder whose name has nameUnits UTF-16 units, with its entries'
    // names in the order the copy creates them.
    void folder(std::int64_t nameUnits, std::span<const std::string_view> names);
    // Any other entry, with its own length (a link's: its target's bytes).
    void file(EntryKind kind, std::int64_t nameUnits, std::int64_t length);
    NtfsCount count() const;

private:
    struct MftGrowth {
        std::int64_t dataClusters = 0;
        std::int64_t bitmapClusters = 0;
    };
    // What the MFT grows by for records new records when free of its
    // records are taken first; smallestSteps: one record's clusters at a
    // time, as ntfs-3g falls back to on a full volume.
    MftGrowth mftGrowth(std::int64_t records, std::int64_t free, bool smallestSteps) const;
    std::int64_t clustersOf(std::int64_t bytes) const { return bytes / cs_ + (bytes % cs_ != 0); }
    void link(std::int64_t nameUnits, std::int64_t targetBytes);
    void fragmentedRunsMargin(std::int64_t nameUnits, std::int64_t clusters);
    // The entry the copy adds to the folder it goes into, whose index is
    // not read: a new block on every level it may split.
    std::pair<std::int64_t, std::int64_t> targetFolderAllowance() const;

    std::int64_t r_, cs_, b_, a_;
    bool measured_;
    bool preallocates_;
    std::int64_t totalClusters_;
    std::optional<NtfsVolume::Mft> mft_;

    std::int64_t records_ = 0;
    std::int64_t clusters_ = 0;  // all but the MFT's
    std::int64_t dataClusters_ = 0;
    std::int64_t safeExtraRecords_ = 0;
    std::int64_t safeExtraClusters_ = 0;
    bool exact_ = true;
    // A link's records and clusters at most, and whether every target of
    // that length in bytes takes the same: by its name's attribute length
    // and its target's bytes.
    struct LinkCost {
        std::int64_t records, clusters;
        bool same;
    };
    std::map<std::pair<std::int64_t, std::int64_t>, LinkCost> links_;
};

}  // namespace dorvelix
