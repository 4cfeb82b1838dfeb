#include "ntfs_volume.h"

#include <QFile>
#include <QString>
#include <algorithm>
#include <array>
#include <string_view>
#include <unistd.h>

namespace dorvelix {

namespace {

constexpr std::int64_t SectorBytes = 512;
// The length mkntfs and Windows give every folder index block.
constexpr std::int64_t UsualIndexBlockBytes = 4096;

std::uint64_t little(const unsigned char* p, int bytes)
{
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | p[i];
    return v;
}

bool isPowerOfTwo(std::int64_t v) { return v > 0 && (v & (v - 1)) == 0; }

// A length given in clusters when positive, else as a power of two in bytes
// (0xF6 = -10: 1,024 bytes), as the boot sector keeps the MFT record and the
// index block lengths.
std::optional<std::int64_t> clustersOrPower(unsigned char raw, std::int64_t clusterBytes)
{
    const auto n = static_cast<signed char>(raw);
    if (n > 0 && n <= 64)
        return n * clusterBytes;
    if (n < 0 && n >= -31)
        return std::int64_t{1} << -n;
    return std::nullopt;
}

std::optional<std::int64_t> figure(fsblkcnt_t v)
{
    return v <= static_cast<fsblkcnt_t>(INT64_MAX) ? std::optional<std::int64_t>(static_cast<std::int64_t>(v))
                                                   : std::nullopt;
}

bool isFuse(const std::string& type)
{
    return type == "fuse" || type == "fuseblk" || type.starts_with("fuse.");
}

bool isKernelNtfs(const std::string& type)
{
    return type == "ntfs" || type == "ntfs3";
}

bool hasOption(std::string_view options, std::string_view option)
{
    while (!options.empty()) {
        const size_t comma = options.find(',');
        if (options.substr(0, comma) == option)
            return true;
        options = comma == std::string_view::npos ? std::string_view() : options.substr(comma + 1);
    }
    return false;
}

// Whether udev found an NTFS file system on the block device (readable by
// every user, unlike the device itself).
bool udevSaysNtfs(unsigned major, unsigned minor)
{
    QFile f(QStringLiteral("/run/udev/data/b%1:%2").arg(major).arg(minor));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    while (!f.atEnd()) {
        if (f.readLine(4096).trimmed() == "E:ID_FS_TYPE=ntfs")
            return true;
    }
    return false;
}

// Whether the mount's figures are those of the volume read for it: a FUSE
// mount's source names the volume, but nothing ties the two but the figures.
bool agreesWithMount(const NtfsVolume& v, const struct statvfs& vfs)
{
    const auto clusters = figure(vfs.f_blocks);
    return static_cast<std::int64_t>(vfs.f_frsize) == v.clusterBytes && clusters && *clusters == v.totalClusters;
}

// What the mount's figures tell where the volume itself cannot be read.
NtfsVolume fromFigures(const struct statvfs& vfs, bool ntfs3gFigures)
{
    NtfsVolume v;
    v.clusterBytes = vfs.f_frsize > 0 ? static_cast<std::int64_t>(vfs.f_frsize) : static_cast<std::int64_t>(vfs.f_bsize);
    v.indexBlockBytes = UsualIndexBlockBytes;
    v.totalClusters = figure(vfs.f_blocks).value_or(0);
    std::vector<std::int64_t> lengths = ntfs3gFigures ? ntfsRecordBytesFromFigures(vfs) : std::vector<std::int64_t>{};
    // Unknown: 1,024 bytes (the usual length) or 4,096 (on disks of 4,096-byte
    // sectors), whichever needs more.
    if (lengths.empty())
        lengths = {1024, 4096};
    v.recordBytes = lengths.front();
    if (lengths.size() > 1)
        v.otherRecordBytes = lengths.back();
    return v;
}

}  // namespace

std::optional<NtfsVolume> parseNtfsBootSector(const unsigned char* s, std::size_t size)
{
    if (size < 512 || std::string_view(reinterpret_cast<const char*>(s) + 3, 8) != "NTFS    " || s[510] != 0x55
        || s[511] != 0xAA)
        return std::nullopt;
    const auto sectorBytes = static_cast<std::int64_t>(little(s + 0x0B, 2));
    const unsigned raw = s[0x0D];
    // Above 0x80 the sectors per cluster are a negative power of two.
    const std::int64_t sectors = raw <= 0x80 ? raw : std::int64_t{1} << std::min(256U - raw, 31U);
    if (sectorBytes < 256 || sectorBytes > 4096 || !isPowerOfTwo(sectorBytes) || !isPowerOfTwo(sectors))
        return std::nullopt;
    NtfsVolume v;
    v.clusterBytes = sectorBytes * sectors;
    if (v.clusterBytes > (std::int64_t{1} << 21))
        return std::nullopt;
    const std::uint64_t totalSectors = little(s + 0x28, 8);
    const std::uint64_t mftCluster = little(s + 0x30, 8);
    const auto record = clustersOrPower(s[0x40], v.clusterBytes);
    const auto block = clustersOrPower(s[0x44], v.clusterBytes);
    if (!record || !block || !isPowerOfTwo(*record) || *record < 256 || *record > 65536 || !isPowerOfTwo(*block)
        || *block < 256 || *block > 65536)
        return std::nullopt;
    v.recordBytes = *record;
    v.indexBlockBytes = *block;
    if (totalSectors > static_cast<std::uint64_t>(INT64_MAX) / static_cast<std::uint64_t>(sectorBytes))
        return std::nullopt;
    v.totalClusters = static_cast<std::int64_t>(totalSectors) * sectorBytes / v.clusterBytes;
    if (v.totalClusters <= 0 || mftCluster >= static_cast<std::uint64_t>(v.totalClusters))
        return std::nullopt;
    v.mftOffset = static_cast<std::int64_t>(mftCluster) * v.clusterBytes;
    return v;
}

std::vector<std::int64_t> ntfsRecordBytesFromFigures(const struct statvfs& vfs)
{
    // ntfs-3g reports as its inodes eight per byte of the MFT bitmap's
    // allocation (whole clusters) plus the records the free clusters would
    // hold: only the right record length leaves a whole number of bitmap
    // clusters.
    std::vector<std::int64_t> lengths;
    const auto cluster = static_cast<std::int64_t>(vfs.f_frsize);
    const auto freeClusters = figure(vfs.f_bfree), inodes = figure(vfs.f_files);
    if (cluster <= 0 || !freeClusters || !inodes)
        return lengths;
    for (const std::int64_t record : {512, 1024, 2048, 4096}) {
        std::int64_t records = 0;
        if (record <= cluster) {
            if (__builtin_mul_overflow(*freeClusters, cluster / record, &records))
                continue;
        } else {
            records = *freeClusters / (record / cluster);
        }
        const std::int64_t bitmapBits = *inodes - records;
        if (bitmapBits > 0 && bitmapBits % (8 * cluster) == 0)
            lengths.push_back(record);
    }
    return lengths;
}

std::optional<NtfsVolume> ntfsVolumeOf(const MountEntry& mount, const struct statvfs& vfs)
{
    const bool kernel = isKernelNtfs(mount.fsType), fuse = isFuse(mount.fsType);
    if (!kernel && !fuse)
        return std::nullopt;
    std::optional<NtfsVolume> volume;
    if (!mount.source.empty() && mount.source.front() == '/') {
        const VolumeFile file(mount.source);
        std::array<unsigned char, 512> sector{};
        if (file && ::pread(file.fd(), sector.data(), sector.size(), 0) == static_cast<ssize_t>(sector.size()))
            volume = parseNtfsBootSector(sector.data(), sector.size());
        if (volume && fuse && !agreesWithMount(*volume, vfs))
            return std::nullopt;
        if (volume)
            volume->mft = readNtfsMft(file, *volume);
        else if (file && !kernel)
            return std::nullopt;  // read, and not NTFS
    }
    if (!volume) {
        // The device cannot be read (a user's rights): the mount's type, or
        // for ntfs-3g what udev found on the device, tells NTFS.
        if (!kernel && !(mount.fsType == "fuseblk" && udevSaysNtfs(mount.major, mount.minor)))
            return std::nullopt;
        volume = fromFigures(vfs, !kernel);
    }
    if (kernel) {
        volume->writer = NtfsVolume::Writer::Unmeasured;
        volume->preallocates = hasOption(mount.superOptions, "prealloc");
    } else if (hasOption(mount.superOptions, "default_permissions")) {
        // ntfs-3g checks permissions (its permissions option, or a user
        // mapping): new files take security descriptors of their own kind.
        volume->writer = NtfsVolume::Writer::Unmeasured;
    }
    return volume;
}

}  // namespace dorvelix
