#include "btrfs_space.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <fcntl.h>
#include <linux/btrfs.h>
#include <linux/magic.h>
#include <sys/ioctl.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace dorvelix {

namespace {

namespace fs = std::filesystem;

constexpr std::int64_t DefaultMaxInline = 2048;
constexpr std::int64_t GiB = 1LL << 30;
// Where a kernel does not show the chunk sizes: the largest it uses.
constexpr std::int64_t LargestDataChunk = 10 * GiB;
constexpr std::int64_t LargestMetadataChunk = GiB;
// RAID5/6 and profiles not known here: the most device bytes a logical
// byte can take (RAID6 on three devices, RAID1C4).
constexpr int StripedCopies = 3;
constexpr int UnknownProfileCopies = 4;
// Without the volume's own figures: the largest node, and a global reserve
// at its cap.
constexpr std::int64_t LargestNode = 65536;
constexpr std::int64_t LargestGlobalReserve = 512LL << 20;

std::string readText(const fs::path& file)
{
    std::ifstream in(file);
    return in ? std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()) : std::string();
}

std::optional<std::int64_t> number(std::string_view text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.remove_suffix(1);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

std::optional<std::int64_t> readNumber(const fs::path& file)
{
    return number(readText(file));
}

// The value of option name=value in a mount's options, if given.
std::optional<std::string_view> optionValue(std::string_view options, std::string_view name)
{
    while (!options.empty()) {
        const size_t comma = options.find(',');
        const std::string_view option = options.substr(0, comma);
        if (option.size() > name.size() && option.starts_with(name) && option[name.size()] == '=')
            return option.substr(name.size() + 1);
        options = comma == std::string_view::npos ? std::string_view() : options.substr(comma + 1);
    }
    return std::nullopt;
}

// The volume's folder under /sys/fs/btrfs: the one that lists the mount's
// source device (links such as /dev/mapper/x resolved to dm-3) among its
// devices.
std::optional<fs::path> volumeFolder(const std::string& source)
{
    char* real = source.empty() ? nullptr : ::realpath(source.c_str(), nullptr);
    if (!real)
        return std::nullopt;
    const std::string device = fs::path(real).filename();
    std::free(real);
    std::error_code ec;
    for (const fs::directory_entry& volume : fs::directory_iterator("/sys/fs/btrfs", ec)) {
        if (fs::exists(volume.path() / "devices" / device, ec))
            return volume.path();
    }
    return std::nullopt;
}

// One kind of chunks from its folder under allocation/; false where its
// figures cannot be read.
bool readChunks(const fs::path& folder, std::int64_t largestChunk, BtrfsChunks& chunks, std::int64_t& deviceBytes)
{
    const auto total = readNumber(folder / "total_bytes"), used = readNumber(folder / "bytes_used"),
               reserved = readNumber(folder / "bytes_reserved"), pinned = readNumber(folder / "bytes_pinned"),
               disk = readNumber(folder / "disk_total");
    if (!total || !used || !reserved || !pinned || !disk)
        return false;
    chunks.totalBytes = *total;
    chunks.usedBytes = *used;
    chunks.heldBytes = *reserved + *pinned;
    chunks.chunkBytes = readNumber(folder / "chunk_size").value_or(largestChunk);
    deviceBytes = *disk;
    // The profile is the name of the folder its chunks are listed in; while
    // a balance converts them there can be two.
    chunks.copies = 0;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, ec)) {
        if (!e.is_directory(ec))
            continue;
        const std::string name = e.path().filename();
        const auto copies = btrfsProfileCopies(name);
        chunks.striped = chunks.striped || !copies || name == "raid5" || name == "raid6";
        chunks.copies = std::max(chunks.copies, copies ? *copies : UnknownProfileCopies);
    }
    if (chunks.striped)
        chunks.copies = std::max(chunks.copies, StripedCopies);
    return chunks.copies > 0;
}

// The volume's allocation from its folder; false where it cannot be read.
bool readAllocation(const fs::path& volume, const struct statvfs& vfs, BtrfsSpace& space)
{
    const auto node = readNumber(volume / "nodesize"), sector = readNumber(volume / "sectorsize"),
               reserve = readNumber(volume / "allocation/global_rsv_size");
    if (!node || !sector || !reserve || *node < 4096 || *sector <= 0)
        return false;
    space.nodeBytes = *node;
    space.sectorBytes = *sector;
    space.globalReserveBytes = *reserve;
    space.checksumBytes = btrfsChecksumBytes(readText(volume / "checksum"));
    const fs::path allocation = volume / "allocation";
    std::error_code ec;
    space.mixed = fs::is_directory(allocation / "mixed", ec);
    std::int64_t dataDisk = 0, metadataDisk = 0, systemDisk = 0;
    BtrfsChunks system;
    if (space.mixed) {
        if (!readChunks(allocation / "mixed", LargestMetadataChunk, space.data, dataDisk))
            return false;
        space.metadata = space.data;
    } else if (!readChunks(allocation / "data", LargestDataChunk, space.data, dataDisk)
               || !readChunks(allocation / "metadata", LargestMetadataChunk, space.metadata, metadataDisk)) {
        return false;
    }
    if (!readChunks(allocation / "system", LargestMetadataChunk, system, systemDisk))
        return false;
    // The devices' bytes: statvfs counts them divided by the data profile's
    // copies (RAID5/6 count one); their block devices may be larger where
    // the volume was made smaller than them. The lower of the two.
    const int statfsCopies = space.data.striped ? 1 : space.data.copies;
    std::int64_t devices = 0;
    if (__builtin_mul_overflow(static_cast<std::int64_t>(vfs.f_blocks), static_cast<std::int64_t>(vfs.f_frsize), &devices)
        || __builtin_mul_overflow(devices, statfsCopies, &devices))
        devices = INT64_MAX;
    std::int64_t blockDevices = 0;
    for (const fs::directory_entry& device : fs::directory_iterator(volume / "devices", ec))
        blockDevices += readNumber(device.path() / "size").value_or(0) * 512;
    if (blockDevices > 0)
        devices = std::min(devices, blockDevices);
    space.deviceBytes = devices;
    space.unallocatedBytes = std::max<std::int64_t>(0, devices - dataDisk - metadataDisk - systemDisk);
    return true;
}

}  // namespace

std::optional<int> btrfsProfileCopies(std::string_view profile)
{
    if (profile == "single" || profile == "raid0")
        return 1;
    if (profile == "dup" || profile == "raid1" || profile == "raid10")
        return 2;
    if (profile == "raid1c3")
        return 3;
    if (profile == "raid1c4")
        return 4;
    if (profile == "raid5" || profile == "raid6")
        return StripedCopies;
    return std::nullopt;
}

std::int64_t btrfsChecksumBytes(std::string_view checksum)
{
    if (checksum.starts_with("crc32c"))
        return 4;
    if (checksum.starts_with("xxhash"))
        return 8;
    // SHA-256, BLAKE2b and any checksum not known here: the widest.
    return 32;
}

std::optional<std::string> btrfsFsidOf(const std::string& folder)
{
    struct statfs st {};
    if (::statfs(folder.c_str(), &st) != 0 || st.f_type != BTRFS_SUPER_MAGIC)
        return std::nullopt;
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    btrfs_ioctl_fs_info_args info {};
    const bool answered = ::ioctl(fd, BTRFS_IOC_FS_INFO, &info) == 0;
    ::close(fd);
    if (!answered)
        return std::nullopt;
    // As a UUID is written: 8-4-4-4-12 hexadecimal digits.
    std::string text;
    for (int i = 0; i < BTRFS_FSID_SIZE; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text += '-';
        text += "0123456789abcdef"[info.fsid[i] >> 4];
        text += "0123456789abcdef"[info.fsid[i] & 15];
    }
    return text;
}

std::optional<BtrfsSpace> btrfsSpaceOf(const MountEntry& mount, const struct statvfs& vfs)
{
    if (mount.fsType != "btrfs")
        return std::nullopt;
    BtrfsSpace space;
    if (vfs.f_frsize > 0)
        space.sectorBytes = static_cast<std::int64_t>(vfs.f_frsize);
    // max_inline= is shown where it is not the default.
    space.maxInline = DefaultMaxInline;
    if (const auto value = optionValue(mount.superOptions, "max_inline"))
        space.maxInline = number(*value).value_or(DefaultMaxInline);
    space.compressed = optionValue(mount.superOptions, "compress").has_value()
                       || optionValue(mount.superOptions, "compress-force").has_value();
    if (const auto volume = volumeFolder(mount.source)) {
        space.fsid = volume->filename();
        space.allocationRead = readAllocation(*volume, vfs, space);
    }
    if (!space.allocationRead) {
        space.nodeBytes = LargestNode;
        space.globalReserveBytes = LargestGlobalReserve;
    }
    return space;
}

}  // namespace dorvelix
