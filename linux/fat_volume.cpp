#include "fat_volume.h"

#include "folder_scan.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace dorvelix {

namespace {

std::uint32_t le16(const unsigned char* p) { return p[0] | (p[1] << 8); }
std::uint32_t le32(const unsigned char* p) { return le16(p) | (le16(p + 2) << 16); }

bool isPowerOfTwo(std::int64_t v) { return v > 0 && (v & (v - 1)) == 0; }

// Reads exactly size bytes at offset; false on a short read or an error.
bool readAt(int fd, std::int64_t offset, unsigned char* to, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, to + done, size - done, static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

std::optional<FatLayout> parseFatBootSector(const unsigned char* s, std::size_t size)
{
    if (size < 512 || !(s[0] == 0xEB || s[0] == 0xE9))
        return std::nullopt;
    FatLayout f;
    f.bytesPerSector = le16(s + 11);
    f.sectorsPerCluster = s[13];
    const std::int64_t reserved = le16(s + 14);
    const std::int64_t fats = s[16];
    const std::int64_t rootEntries = le16(s + 17);
    const std::int64_t totalSectors = le16(s + 19) ? le16(s + 19) : le32(s + 32);
    const std::int64_t fatSectors = le16(s + 22) ? le16(s + 22) : le32(s + 36);
    if (f.bytesPerSector < 512 || f.bytesPerSector > 4096 || !isPowerOfTwo(f.bytesPerSector)
        || !isPowerOfTwo(f.sectorsPerCluster) || reserved == 0 || fats == 0 || fatSectors == 0)
        return std::nullopt;
    const std::int64_t rootSectors = (rootEntries * 32 + f.bytesPerSector - 1) / f.bytesPerSector;
    const std::int64_t dataSectors = totalSectors - reserved - fats * fatSectors - rootSectors;
    if (dataSectors <= 0)
        return std::nullopt;
    f.clusters = dataSectors / f.sectorsPerCluster;
    if (f.clusters == 0)
        return std::nullopt;  // a data area smaller than one cluster holds nothing
    // A boot sector without a 16-bit FAT size has the FAT32 layout (as the
    // kernel reads it); FAT12 and FAT16 differ by their cluster count.
    f.bits = le16(s + 22) == 0 ? 32 : f.clusters < 4085 ? 12 : 16;
    if (f.bits == 32 && rootEntries != 0)
        return std::nullopt;
    // The FAT must have an entry for every cluster.
    if (fatSectors * f.bytesPerSector * 8 < (f.clusters + 2) * f.bits)
        return std::nullopt;
    f.fatOffset = reserved * f.bytesPerSector;
    f.rootEntries = rootEntries;
    f.rootOffset = (reserved + fats * fatSectors) * f.bytesPerSector;
    return f;
}

bool isExfatBootSector(const unsigned char* sector, std::size_t size)
{
    return size >= 11 && std::string_view(reinterpret_cast<const char*>(sector) + 3, 8) == "EXFAT   ";
}

VolumeFile::VolumeFile(const std::string& path, bool regularOnly)
    : fd_(openReadOnly(AT_FDCWD, path.c_str(), O_NOFOLLOW | O_NONBLOCK))
{
    struct stat st {};
    if (fd_ >= 0 && (::fstat(fd_, &st) != 0 || !(S_ISREG(st.st_mode) || (!regularOnly && S_ISBLK(st.st_mode))))) {
        ::close(fd_);
        fd_ = -1;
    }
}

VolumeFile::~VolumeFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

VolumeFile& VolumeFile::operator=(VolumeFile&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

std::optional<FatLayout> readFatLayout(const std::string& device)
{
    return readFatLayout(VolumeFile(device));
}

std::optional<std::int64_t> countFreeClusters(const std::string& device, const FatLayout& layout)
{
    return countFreeClusters(VolumeFile(device), layout);
}

std::optional<FatLayout> readFatLayout(const VolumeFile& file)
{
    unsigned char sector[512];
    if (file.fd() < 0 || !readAt(file.fd(), 0, sector, sizeof sector))
        return std::nullopt;
    return parseFatBootSector(sector, sizeof sector);
}

bool readIsExfat(const VolumeFile& file)
{
    unsigned char sector[512];
    return file.fd() >= 0 && readAt(file.fd(), 0, sector, sizeof sector) && isExfatBootSector(sector, sizeof sector);
}

std::optional<std::int64_t> longestFreeRootRun(const VolumeFile& file, const FatLayout& layout)
{
    // A slot is free where its name's first byte is 0 (never used) or 0xE5
    // (deleted); a volume label takes a slot without showing in a listing.
    constexpr std::size_t SlotBytes = 32;
    if (file.fd() < 0 || layout.bits == 32 || layout.rootEntries <= 0)
        return std::nullopt;
    std::vector<unsigned char> table(static_cast<std::size_t>(layout.rootEntries) * SlotBytes);
    if (!readAt(file.fd(), layout.rootOffset, table.data(), table.size()))
        return std::nullopt;
    std::int64_t longest = 0, run = 0;
    for (std::size_t at = 0; at < table.size(); at += SlotBytes) {
        run = table[at] == 0x00 || table[at] == 0xE5 ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

std::optional<std::int64_t> countFreeClusters(const VolumeFile& file, const FatLayout& layout)
{
    if (file.fd() < 0)
        return std::nullopt;
    // Entries 0 and 1 are reserved; clusters are numbered from 2. The FAT is
    // read in pieces of whole entries (FAT12: of whole entry pairs).
    const std::int64_t entries = layout.clusters + 2;
    constexpr std::int64_t PieceEntries = 1 << 18;
    std::vector<unsigned char> piece;
    std::int64_t free = 0;
    for (std::int64_t first = 0; first < entries; first += PieceEntries) {
        const std::int64_t count = std::min(PieceEntries, entries - first);
        const std::int64_t offset = layout.fatOffset + first * layout.bits / 8;
        piece.resize(static_cast<std::size_t>((count * layout.bits + 7) / 8 + 1));
        if (!readAt(file.fd(), offset, piece.data(), piece.size() - 1))
            return std::nullopt;
        for (std::int64_t i = std::max<std::int64_t>(first, 2) - first; i < count; ++i) {
            std::uint32_t value = 0;
            if (layout.bits == 32) {
                value = le32(&piece[static_cast<std::size_t>(i * 4)]) & 0x0FFFFFFF;
            } else if (layout.bits == 16) {
                value = le16(&piece[static_cast<std::size_t>(i * 2)]);
            } else {
                const std::uint32_t pair = le16(&piece[static_cast<std::size_t>(i + i / 2)]);
                value = (i & 1) ? pair >> 4 : pair & 0x0FFF;
            }
            free += value == 0 ? 1 : 0;
        }
    }
    return free;
}

}  // namespace dorvelix
