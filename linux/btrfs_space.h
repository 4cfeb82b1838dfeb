// A btrfs volume as a copy to it needs it: its sector and node sizes, its
// allocation of data and metadata chunks with their profiles, the global
// reserve and the unallocated space, from /sys/fs/btrfs/<fsid> (readable by
// every user), and max_inline and compression from the mount options. Only
// ever reads.
#pragma once

#include "mount_table.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <sys/statvfs.h>

namespace dorvelix {

// The chunks of one kind (data, metadata; on a volume of mixed block
// groups both are the same), in logical bytes.
struct BtrfsChunks {
    std::int64_t totalBytes = 0;  // in chunks
    std::int64_t usedBytes = 0;   // holding data or tree blocks
    std::int64_t heldBytes = 0;   // reserved or pinned until a commit
    std::int64_t chunkBytes = 0;  // the largest chunk the volume adds
    int copies = 1;               // device bytes per logical byte of the profile
    bool striped = false;         // RAID5/6: the device bytes depend on the devices
};

struct BtrfsSpace {
    std::int64_t sectorBytes = 4096;
    std::int64_t nodeBytes = 16384;
    std::int64_t maxInline = 2048;
    std::int64_t checksumBytes = 4;  // per sector of data
    bool mixed = false;       // data and metadata share their chunks
    bool compressed = false;  // mounted with compress= or compress-force=
    // Whether the allocation below is the volume's own; without it the
    // copy is counted as if every metadata chunk had to be made anew.
    bool allocationRead = false;
    BtrfsChunks data, metadata;
    std::int64_t globalReserveBytes = 0;
    std::int64_t deviceBytes = 0;       // all its devices
    std::int64_t unallocatedBytes = 0;  // on them, in no chunk yet
    std::string fsid;
};

// The device bytes one logical byte takes in a profile ("single", "dup",
// "raid1" ...); nothing for a name not known here.
std::optional<int> btrfsProfileCopies(std::string_view profile);
// The checksum bytes per sector of a checksum named as in
// /sys/fs/btrfs/<fsid>/checksum ("crc32c (crc32c-generic)").
std::int64_t btrfsChecksumBytes(std::string_view checksum);

// The fsid, as /sys/fs/btrfs names the volume, of the btrfs volume that
// holds a folder; nothing where it lies on another file system.
std::optional<std::string> btrfsFsidOf(const std::string& folder);

// The btrfs volume a mount serves, or nothing when it serves another.
std::optional<BtrfsSpace> btrfsSpaceOf(const MountEntry& mount, const struct statvfs& vfs);

}  // namespace dorvelix
