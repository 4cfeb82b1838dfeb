// The drive a folder is to be copied to, as dorvelix-report's --target sees
// it, and how far a count at a file system's cluster length can be trusted.
#pragma once

#include "results.h"
#include "target_tables.h"
#include "volume_queries.h"

#include <QString>
#include <optional>
#include <string>

namespace dorvelix {

struct TargetDrive {
    QString text;             // the drive text
    QString fileSystem;       // as the drive panel names it
    long long clusterLength;  // the drive's own, whatever power of two it is
    long long freeBytes;      // free to the calling user
    std::optional<VolumeFormat> format = std::nullopt;  // its format and driver, where known
    std::string root = {};    // its root folder
    // Files, folders and links it can still take, free to the calling user,
    // where it keeps a count of its own (inodes).
    std::optional<long long> freeInodes = std::nullopt;
};

// How a copy to a target that is neither FAT nor exFAT is counted: by the
// target's own layout, or by a bound where the layout is not known here.
enum class LayoutRule {
    Ntfs,   // MFT records, resident data, folder index blocks, the MFT's growth
    Ext,    // blocks for data and folders, extent or map blocks, one inode per entry
    Btrfs,  // data in sectors, small files inline, metadata chunks by their profile
    F2fs,   // a node block per entry, inline data and folders, hashed folder blocks
    Bound,  // any other file system: a bound never under what it takes
};

// The rule a copy's folder tables are counted by on a FAT or exFAT target,
// named after the driver that writes them.
enum class CountRule {
    VfatUpperCaseShortNames,  // the kernel's vfat, shortname=mixed, win95 or lower
    VfatOneCaseShortNames,    // the kernel's vfat, shortname=winnt
    FusefatLongNames,         // fusefat: a long name for every name
    UnknownFatDriver,         // any other FAT driver: a long name counted for every name
    Exfat,                    // exFAT's entry sets
};

struct TargetRule {
    CountRule rule;
    TableRule tables;
    std::string option;  // vfat's shortname= value, or the unknown driver's name
    bool exact;          // the driver is known to write the tables the rule counts
};

// The rule for a target of this format; nothing where it is neither FAT
// nor exFAT (the count then follows the window's table rule).
std::optional<TargetRule> targetRule(const VolumeFormat& format);

// The drive that holds folder, with the cluster length its volume reports
// (not the FAT32 size class the panel shows). Nothing when it has no medium.
std::optional<TargetDrive> queryTarget(const std::string& folder, VolumeQueries& volumes);

// The first touch of the target folder, bounded as every first touch is:
// 0 when it is a folder, the errno that refuses it (ENOTDIR for another
// kind of entry), nothing when its drive did not answer in time.
std::optional<int> targetFolderCause(const std::string& folder);

// The bytes a copy of the searched folder takes on a drive whose cluster
// length is the search's conversion length: the converted count (files in
// whole clusters, folder tables, one cluster per subfolder) and the copied
// folder's own table, which the count leaves to the folder's parent.
long long neededBytes(const SearchResult& r);

// FAT12/16/32 and exFAT: names without letter case and a restricted set of
// characters, no links or special files.
bool isFatFamily(const QString& fileSystem);
// FAT12/16/32 refuse files of 4 GiB or more; exFAT takes them.
bool refusesLargeFiles(const QString& fileSystem);

// Why a count at a file system's cluster length is an estimate rather than
// what it really allocates.
enum class CountCaveat {
    LongFolderEntries,   // exFAT: three or more folder entries per file
    SharedExtents,       // compression, deduplication, shared extents
    FilesInFileTable,    // NTFS: small files inside the file table, compression
    OwnAllocationRules,  // any other file system that is not FAT12/16/32
};

// Nothing for FAT12/16/32, whose allocation the count follows.
std::optional<CountCaveat> countCaveat(const QString& fileSystem);

}  // namespace dorvelix
