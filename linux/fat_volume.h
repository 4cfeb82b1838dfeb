// The geometry of a FAT volume read from its boot sector, and its free
// clusters counted in its first FAT. Only ever reads.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace dorvelix {

struct FatLayout {
    int bits = 0;                    // 12, 16 or 32: the width of a FAT entry
    std::int64_t bytesPerSector = 0;
    std::int64_t sectorsPerCluster = 0;
    std::int64_t clusters = 0;       // data clusters
    std::int64_t fatOffset = 0;      // byte offset of the first FAT
    std::int64_t rootEntries = 0;    // FAT12/16: the 32-byte slots of the fixed root table
    std::int64_t rootOffset = 0;     // FAT12/16: byte offset of the fixed root table
};

// The layout a boot sector describes, or nothing when the sector is not that
// of a FAT volume (exFAT, NTFS and other boot sectors are refused).
std::optional<FatLayout> parseFatBootSector(const unsigned char* sector, std::size_t size);

// Whether a boot sector is exFAT's: its file system name, "EXFAT   ", in
// bytes 3 to 10.
bool isExfatBootSector(const unsigned char* sector, std::size_t size);

// A block device or image file open for reading, closed with the object. It
// is opened without blocking (a FIFO named like an image must not hold the
// caller) and without following a symbolic link; a file that is neither a
// block device nor a regular file once open is not kept.
class VolumeFile {
public:
    VolumeFile() = default;
    explicit VolumeFile(const std::string& path, bool regularOnly = false);
    ~VolumeFile();
    VolumeFile(VolumeFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    VolumeFile& operator=(VolumeFile&& other) noexcept;
    int fd() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// Reads the boot sector of an open volume.
std::optional<FatLayout> readFatLayout(const VolumeFile& volume);
std::optional<FatLayout> readFatLayout(const std::string& device);
// Whether an open volume's boot sector is exFAT's.
bool readIsExfat(const VolumeFile& volume);

// FAT12/16: the longest run of free slots (never used, or deleted) in the
// fixed root table, where a driver places a new name's entries side by side;
// nothing when the table cannot be read or the volume has none.
std::optional<std::int64_t> longestFreeRootRun(const VolumeFile& volume, const FatLayout& layout);

// Counts the free clusters of the volume in its first FAT; nothing when the
// FAT cannot be read.
std::optional<std::int64_t> countFreeClusters(const VolumeFile& volume, const FatLayout& layout);
std::optional<std::int64_t> countFreeClusters(const std::string& device, const FatLayout& layout);

}  // namespace dorvelix
