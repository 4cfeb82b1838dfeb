// The geometry of a FAT volume read from its boot sector, and its free
// clusters counted in its first FAT. Only ever reads.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace dorvelix {

struct FatLayout {
    int bits = 0;                    // 12, 16 or 32: the width of a FAT entry
    std::int64_t bytesPerSector = 0;
    std::int64_t sectorsPerCluster = 0;
    std::int64_t clusters = 0;       // data clusters
    std::int64_t fatOffset = 0;      // byte offset of the first FAT
};

// The layout a boot sector describes, or nothing when the sector is not that
// of a FAT volume (exFAT, NTFS and other boot sectors are refused).
std::optional<FatLayout> parseFatBootSector(const unsigned char* sector, std::size_t size);

// Reads the boot sector of a block device or image file, read-only.
std::optional<FatLayout> readFatLayout(const std::string& device);

// Counts the free clusters of the volume in its first FAT; nothing when the
// FAT cannot be read.
std::optional<std::int64_t> countFreeClusters(const std::string& device, const FatLayout& layout);

}  // namespace dorvelix
