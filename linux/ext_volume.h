// An ext2/3/4 volume as a copy to it needs it: its geometry and features
// from the superblock (at byte 1,024, magic 0xEF53) where the mount's source
// can be read, else what the mount itself reports, with the assumptions
// that never count a copy short. Only ever reads.
#pragma once

#include "mount_table.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <sys/statvfs.h>

namespace dorvelix {

struct ExtVolume {
    // Who writes the copy: the kernel's driver (ext2, ext3 and ext4 mounts)
    // or fuse2fs through libext2fs, which keeps folders linear and checks
    // the free blocks before each operation.
    enum class Writer { Kernel, Fuse2fs };
    Writer writer = Writer::Kernel;
    std::int64_t blockBytes = 4096;
    std::int64_t clusterBytes = 4096;    // larger than a block with bigalloc
    std::int64_t inodeBytes = 256;
    std::int64_t extraInodeBytes = 32;   // the inode's own fields past the first 128 bytes
    std::int64_t blocksPerGroup = 32768;
    std::int64_t inodeCount = 0;         // all the volume's inodes, used or not
    std::int64_t reservedBlocks = 0;     // kept for root (mke2fs -m)
    // The kernel's own hidden reserve, as /sys/fs/ext4 tells it.
    std::optional<std::int64_t> kernelReservedClusters;
    bool extents = true;             // files mapped by extents (ext4), else by block maps (ext2/3)
    bool inlineData = false;         // small files and folders inside their inode
    bool dirIndex = true;            // hashed folder indexes (htree)
    bool largeDir = false;           // three-level folder indexes
    bool metadataChecksums = true;   // a 12-byte checksum tail in every folder block
    bool dirNlink = false;           // folders of more than 65,000 links
    bool hugeFile = false;           // files of more than 2 TiB
    bool bigalloc = false;           // allocation in clusters of several blocks
    bool casefold = false;           // folders that may hash case-folded names
    bool encryption = false;         // folders that may hold encrypted names
    // The hash of new folders' indexes (0 legacy, 1 half MD4, 2 TEA; +3
    // over unsigned bytes) and its seed; known only from the superblock.
    int hashVersion = 1;
    std::array<std::uint32_t, 4> hashSeed{};
    bool hashKnown = false;
    // The old ext2 driver (not the ext4 driver serving ext2): linear
    // folders, at most 32,000 links to a folder.
    bool legacyExt2Driver = false;
    bool superblockRead = false;     // whether the figures above are the volume's own
};

// The geometry of an ext2/3/4 superblock (its 1,024 bytes); nothing when it
// is not one or describes what no driver mounts.
std::optional<ExtVolume> parseExtSuperblock(const unsigned char* superblock, std::size_t size);

// The ext2/3/4 volume a mount serves (the kernel's ext2, ext3 or ext4, or
// fuse2fs), or nothing when it serves another.
std::optional<ExtVolume> extVolumeOf(const MountEntry& mount, const struct statvfs& vfs);

}  // namespace dorvelix
