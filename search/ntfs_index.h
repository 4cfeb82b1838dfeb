// How ntfs-3g grows a new folder's index ($I30) while a copy adds its
// entries one by one: the entries in the index root inside the folder's
// record until it is full, then in index blocks of a B-tree split at their
// middle entry, and what the growing root does to the folder's record
// (attributes made non-resident, the root moved to an extent record).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace dorvelix::ntfs {

// A name's length in UTF-16 units, as ntfs-3g converts it from UTF-8 (a
// character beyond the first 65,536 takes two). A byte that is no part of
// a valid character counts as one unit.
std::int64_t utf16Units(std::string_view utf8);

struct IndexGeometry {
    std::int64_t recordBytes = 1024;
    std::int64_t clusterBytes = 4096;
    std::int64_t blockBytes = 4096;
    // Bytes added to every index entry (room for a short name's entry where
    // a driver may write one); 0 for ntfs-3g.
    std::int64_t extraEntryBytes = 0;
};

struct FolderIndexCount {
    std::int64_t blocks = 0;         // index blocks
    std::int64_t blockClusters = 0;  // the index allocation's clusters
    std::int64_t otherClusters = 0;  // attributes of the folder made non-resident
    std::int64_t extraRecords = 0;   // extent records of the folder
    // Whether the folder's record was followed all the way; else the blocks
    // were counted with a root that holds nothing and the rest is unknown.
    bool recordModelled = true;
};

// The index of a new folder named with folderNameUnits UTF-16 units once the
// names have been added in this order.
FolderIndexCount countFolderIndex(const IndexGeometry& geometry, std::int64_t folderNameUnits,
                                  std::span<const std::string_view> names);

}  // namespace dorvelix::ntfs
