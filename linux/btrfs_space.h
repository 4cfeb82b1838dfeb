// A btrfs volume as a copy to it needs it: its sector and node sizes, its
// allocation of data and metadata chunks with their profiles, the global
// reserve and the unallocated space, from /sys/fs/btrfs (readable by every
// user), and max_inline from the mount options. Only ever reads.
#pragma once

#include "mount_table.h"

#include <cstdint>
#include <optional>
#include <sys/statvfs.h>

namespace dorvelix {

struct BtrfsSpace {
    std::int64_t sectorBytes = 4096;
    std::int64_t nodeBytes = 16384;
    std::int64_t maxInline = 2048;
    bool mixed = false;  // data and metadata share their chunks
};

// The btrfs volume a mount serves, or nothing when it serves another.
std::optional<BtrfsSpace> btrfsSpaceOf(const MountEntry& mount, const struct statvfs& vfs);

}  // namespace dorvelix
