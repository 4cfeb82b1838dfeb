// The three volume queries the drive query asks: free space in cluster units,
// free space in bytes, and the file system's name. systemVolumes() answers
// them on Linux from statvfs, the mount table and sysfs; tests hand in
// figures of their own.
#pragma once

#include "btrfs_space.h"
#include "ext_volume.h"
#include "f2fs_volume.h"
#include "ntfs_volume.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <string>

namespace dorvelix {

// What a volume's folder tables are written by: its format, read from its
// boot sector where the mount's source (or a FUSE driver's image) can be
// read, and the driver and options it is mounted with, from the mount table.
struct VolumeFormat {
    enum class Kind { Fat12, Fat16, Fat32, Exfat, Ntfs, Ext, Btrfs, F2fs, Other };
    Kind kind = Kind::Other;
    std::int64_t rootEntries = 0;  // FAT12/16: the slots of the fixed root table
    std::string driver;            // the mount's type: "vfat", "fuse.fusefat", "fuseblk", "exfat" ...
    std::string options;           // the file system's own mount options ("rw,shortname=mixed,...")
    // FAT12/16: the longest run of free slots in the fixed root table, where
    // the table could be read.
    std::optional<std::int64_t> rootFreeRun = std::nullopt;
    // What the layout of each other file system known here needs, for its kind.
    std::optional<NtfsVolume> ntfs = std::nullopt;
    std::optional<ExtVolume> ext = std::nullopt;
    std::optional<BtrfsSpace> btrfs = std::nullopt;
    std::optional<F2fsVolume> f2fs = std::nullopt;
};

class VolumeQueries {
public:
    virtual ~VolumeQueries() = default;
    struct FreeSpace {
        std::int64_t sectorsPerCluster = 0;
        std::int64_t bytesPerSector = 0;
        std::int64_t freeClusters = 0;   // free to the calling user
        std::int64_t totalClusters = 0;
        // Files, folders and links the volume can still take, free to the
        // calling user, where it keeps a count of its own (inodes); -1
        // where it does not (FAT, exFAT, btrfs ...).
        std::int64_t freeInodes = -1;
    };
    struct FreeSpaceEx {
        std::int64_t freeBytesToCaller = 0;
        std::int64_t totalBytes = 0;
        std::int64_t totalFreeBytes = 0;
    };
    // Each returns false when the query fails; root is the drive's mount point.
    virtual bool diskFreeSpace(const std::string& root, FreeSpace& out) = 0;
    virtual bool diskFreeSpaceEx(const std::string& root, FreeSpaceEx& out) = 0;
    // The mount's type as the kernel names it ("ext4", "tmpfs" ...), except the
    // FAT family: "FAT32" for FAT32, "FAT" for FAT12 and FAT16, "exFAT" for
    // exFAT whichever driver serves it.
    virtual bool fileSystemName(const std::string& root, QString& out) = 0;
    // The volume's format and driver; nothing when the drive does not
    // answer (figures handed in by tests have none).
    virtual std::optional<VolumeFormat> volumeFormat(const std::string& root)
    {
        (void)root;
        return std::nullopt;
    }
};

// VolumeQueries of the running system.
VolumeQueries& systemVolumes();

}  // namespace dorvelix
