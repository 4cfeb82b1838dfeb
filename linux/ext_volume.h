// An ext2/3/4 volume as a copy to it needs it: its geometry and features
// from the superblock (at byte 1,024, magic 0xEF53) where the mount's source
// can be read, else what the mount itself reports. Only ever reads.
#pragma once

#include "mount_table.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <sys/statvfs.h>

namespace dorvelix {

struct ExtVolume {
    std::int64_t blockBytes = 4096;
    std::int64_t inodeBytes = 256;
    bool extents = true;             // files mapped by extents (ext4), else by block maps (ext2/3)
    bool inlineData = false;         // small files and folders inside their inode
    bool dirIndex = true;            // hashed folder indexes (htree)
    bool largeDir = false;           // three-level folder indexes
    bool metadataChecksums = false;  // a 12-byte checksum tail in every folder block
    bool dirNlink = true;            // folders of more than 65,000 subfolders
    bool hugeFile = true;            // files of more than 2 TiB on block maps
    bool superblockRead = false;     // whether the figures above are the volume's own
};

// The geometry of an ext2/3/4 superblock; nothing when it is not one.
std::optional<ExtVolume> parseExtSuperblock(const unsigned char* superblock, std::size_t size);

// The ext2/3/4 volume a mount serves (the kernel's ext2, ext3 or ext4, or
// fuse2fs), or nothing when it serves another.
std::optional<ExtVolume> extVolumeOf(const MountEntry& mount, const struct statvfs& vfs);

}  // namespace dorvelix
