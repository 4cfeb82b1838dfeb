// An f2fs volume as a copy to it needs it: the room an inode has for
// addresses and inline data and whether folders start inline, from its
// features and mount options. Only ever reads.
#pragma once

#include "mount_table.h"

#include <cstdint>
#include <optional>
#include <sys/statvfs.h>

namespace dorvelix {

struct F2fsVolume {
    std::int64_t addressesInInode = 873;  // data block addresses an inode holds
    std::int64_t inlineDataBytes = 3488;  // the largest file kept in its inode (0: none)
    bool inlineDentries = true;           // new folders start inside their inode
};

// The f2fs volume a mount serves, or nothing when it serves another.
std::optional<F2fsVolume> f2fsVolumeOf(const MountEntry& mount, const struct statvfs& vfs);

}  // namespace dorvelix
