#include "ext_volume.h"

#include "fat_volume.h"
#include "fuse_source.h"

#include <QFile>
#include <fcntl.h>
#include <filesystem>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace dorvelix {

namespace {

constexpr std::size_t SuperblockOffset = 1024;
constexpr std::size_t SuperblockBytes = 1024;
constexpr std::uint32_t Magic = 0xEF53;

// Feature bits that change what a copy takes.
constexpr std::uint32_t CompatDirIndex = 0x20;
constexpr std::uint32_t IncompatExtents = 0x40;
constexpr std::uint32_t IncompatLargeDir = 0x4000;
constexpr std::uint32_t IncompatInlineData = 0x8000;
constexpr std::uint32_t IncompatEncrypt = 0x10000;
constexpr std::uint32_t IncompatCasefold = 0x20000;
constexpr std::uint32_t RoCompatHugeFile = 0x8;
constexpr std::uint32_t RoCompatDirNlink = 0x20;
constexpr std::uint32_t RoCompatBigalloc = 0x200;
constexpr std::uint32_t RoCompatMetadataChecksums = 0x400;
// The superblock's flags: which bytes the folder hash reads.
constexpr std::uint32_t SignedHashFlag = 0x1;
constexpr std::uint32_t UnsignedHashFlag = 0x2;
// A file or folder mapped by extents (FS_IOC_GETFLAGS).
constexpr long ExtentsFlag = 0x80000;

std::uint32_t le16(const unsigned char* p) { return p[0] | (p[1] << 8); }
std::uint32_t le32(const unsigned char* p) { return le16(p) | (le16(p + 2) << 16); }
std::int64_t le64(const unsigned char* lo, const unsigned char* hi)
{
    return static_cast<std::int64_t>(le32(lo)) | (static_cast<std::int64_t>(le32(hi)) << 32);
}

bool readAt(int fd, off_t offset, unsigned char* to, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, to + done, size - done, offset + static_cast<off_t>(done));
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool isFuse2fsType(const std::string& type)
{
    // fuse2fs names its mounts "fuse.ext4" (or after the program itself).
    return type == "fuse.ext4" || type == "fuse.ext3" || type == "fuse.ext2" || type == "fuse.fuse2fs";
}

bool isKernelType(const std::string& type)
{
    return type == "ext2" || type == "ext3" || type == "ext4";
}

// The kernel's name of a mount's block device ("vda", "loop0", "dm-1").
std::string kernelDeviceName(const MountEntry& m)
{
    std::error_code ec;
    const auto link = std::filesystem::read_symlink(
        "/sys/dev/block/" + std::to_string(m.major) + ':' + std::to_string(m.minor), ec);
    return ec ? std::string() : link.filename().native();
}

std::optional<std::int64_t> readNumber(const std::string& file)
{
    QFile f(QString::fromStdString(file));
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    bool ok = false;
    const std::int64_t value = f.readAll().trimmed().toLongLong(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

std::optional<ExtVolume> readSuperblock(const VolumeFile& file)
{
    unsigned char superblock[SuperblockBytes];
    if (!file || !readAt(file.fd(), SuperblockOffset, superblock, sizeof superblock))
        return std::nullopt;
    return parseExtSuperblock(superblock, sizeof superblock);
}

// The superblock of a kernel mount, from its source or else from its device
// number: only the block device the mount stands on.
std::optional<ExtVolume> kernelSuperblock(const MountEntry& m)
{
    const dev_t device = makedev(m.major, m.minor);
    for (const std::string& path : {m.source, "/dev/block/" + std::to_string(m.major) + ':' + std::to_string(m.minor)}) {
        if (path.empty() || path.front() != '/')
            continue;
        VolumeFile file(path);
        struct stat st {};
        if (file && ::fstat(file.fd(), &st) == 0 && S_ISBLK(st.st_mode) && st.st_rdev == device)
            return readSuperblock(file);
    }
    return std::nullopt;
}

// The superblock of the image (or device) fuse2fs serves: its source where
// the table names it by an absolute path, else the image the driver holds.
std::optional<ExtVolume> fuse2fsSuperblock(const MountEntry& m)
{
    VolumeFile file;
    if (!m.source.empty() && m.source.front() == '/')
        file = VolumeFile(m.source);
    if (!file)
        file = openFuseDriverImage(m, "fuse2fs");
    return readSuperblock(file);
}

// What a kernel mount tells without its device: the hidden reserve, which
// exists only with extents, and whether the root folder is mapped by them.
void kernelMountFigures(const MountEntry& m, ExtVolume& v, bool readSuperblock)
{
    const std::string name = kernelDeviceName(m);
    if (!name.empty())
        v.kernelReservedClusters = readNumber("/sys/fs/ext4/" + name + "/reserved_clusters");
    // The ext4 driver keeps a folder in /sys/fs/ext4 for each volume it
    // serves; an ext2 mount without one is the old ext2 driver's.
    std::error_code ec;
    v.legacyExt2Driver = m.fsType == "ext2" && !name.empty() && !std::filesystem::exists("/sys/fs/ext4/" + name, ec);
    if (readSuperblock)
        return;
    // An ext2 or ext3 mount refuses a volume with extents; an ext4 one
    // shows them on its root folder or by its reserve.
    bool extents = false;
    if (m.fsType == "ext4") {
        extents = v.kernelReservedClusters.value_or(0) > 0;
        const int fd = ::open(m.mountPoint.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
        long flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & ExtentsFlag))
            extents = true;
        if (fd >= 0)
            ::close(fd);
    }
    v.extents = extents;
}

}  // namespace

std::optional<ExtVolume> parseExtSuperblock(const unsigned char* s, std::size_t size)
{
    if (size < SuperblockBytes || le16(s + 0x38) != Magic)
        return std::nullopt;
    ExtVolume v;
    const std::uint32_t logBlock = le32(s + 0x18), logCluster = le32(s + 0x1C);
    // Blocks of 1 KiB to 64 KiB.
    if (logBlock > 6)
        return std::nullopt;
    v.blockBytes = std::int64_t{1024} << logBlock;
    const std::uint32_t rev = le32(s + 0x4C);
    const std::uint32_t compat = rev ? le32(s + 0x5C) : 0;
    const std::uint32_t incompat = rev ? le32(s + 0x60) : 0;
    const std::uint32_t roCompat = rev ? le32(s + 0x64) : 0;
    v.inodeBytes = rev ? le16(s + 0x58) : 128;
    if (v.inodeBytes < 128 || v.inodeBytes > v.blockBytes || (v.inodeBytes & (v.inodeBytes - 1)) != 0)
        return std::nullopt;
    v.extraInodeBytes = v.inodeBytes > 128 ? le16(s + 0x15E) : 0;
    if (128 + v.extraInodeBytes > v.inodeBytes)
        return std::nullopt;
    v.inodeCount = le32(s + 0x00);
    v.blocksPerGroup = le32(s + 0x20);
    if (v.blocksPerGroup <= 0)
        return std::nullopt;
    v.bigalloc = (roCompat & RoCompatBigalloc) != 0;
    if (v.bigalloc && (logCluster < logBlock || logCluster > logBlock + 16))
        return std::nullopt;
    v.clusterBytes = v.bigalloc ? std::int64_t{1024} << logCluster : v.blockBytes;
    const bool wide = (incompat & 0x80) != 0;  // 64bit: the high halves of block counts
    v.reservedBlocks = wide ? le64(s + 0x08, s + 0x154) : le32(s + 0x08);
    v.extents = (incompat & IncompatExtents) != 0;
    v.inlineData = (incompat & IncompatInlineData) != 0;
    v.largeDir = (incompat & IncompatLargeDir) != 0;
    v.encryption = (incompat & IncompatEncrypt) != 0;
    v.casefold = (incompat & IncompatCasefold) != 0;
    v.dirIndex = (compat & CompatDirIndex) != 0;
    v.metadataChecksums = (roCompat & RoCompatMetadataChecksums) != 0;
    v.dirNlink = (roCompat & RoCompatDirNlink) != 0;
    v.hugeFile = (roCompat & RoCompatHugeFile) != 0;
    for (int i = 0; i < 4; ++i)
        v.hashSeed[static_cast<std::size_t>(i)] = le32(s + 0xEC + 4 * i);
    const unsigned version = s[0xFC];
    const std::uint32_t flags = le32(s + 0x160);
    // A volume that names neither kind of bytes gets the running kernel's
    // choice at its next mount: not known here.
    v.hashKnown = version <= 2 && (flags & (SignedHashFlag | UnsignedHashFlag)) != 0;
    v.hashVersion = static_cast<int>(version) + ((flags & UnsignedHashFlag) ? 3 : 0);
    v.superblockRead = true;
    return v;
}

std::optional<ExtVolume> extVolumeOf(const MountEntry& mount, const struct statvfs& vfs)
{
    const bool kernel = isKernelType(mount.fsType);
    if (!kernel && !isFuse2fsType(mount.fsType))
        return std::nullopt;
    const std::int64_t unit = static_cast<std::int64_t>(vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize);
    std::optional<ExtVolume> read = kernel ? kernelSuperblock(mount) : fuse2fsSuperblock(mount);
    // The volume read must be the one the mount serves.
    if (read && (read->blockBytes != unit || (vfs.f_files != 0 && static_cast<std::int64_t>(vfs.f_files) != read->inodeCount)))
        read.reset();
    ExtVolume v = read.value_or(ExtVolume{});
    if (!read) {
        v.blockBytes = unit > 0 ? unit : 4096;
        v.clusterBytes = v.blockBytes;
        v.blocksPerGroup = 8 * v.blockBytes;
        v.extents = false;
    }
    v.writer = kernel ? ExtVolume::Writer::Kernel : ExtVolume::Writer::Fuse2fs;
    if (kernel)
        kernelMountFigures(mount, v, read.has_value());
    return v;
}

}  // namespace dorvelix
