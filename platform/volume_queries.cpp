#include "volume_queries.h"

#include "fat_volume.h"
#include "mount_table.h"

#include <QFile>
#include <algorithm>
#include <optional>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>

namespace dorvelix {

namespace {

constexpr std::int64_t DefaultSectorSize = 512;
constexpr std::int64_t Fat32MinimumClusters = 65525;

bool isFatType(const std::string& type)
{
    return type == "vfat" || type == "msdos" || type == "fat" || type == "umsdos" || type == "fuse.fusefat";
}

bool isFuseType(const std::string& type)
{
    return type == "fuse" || type == "fuseblk" || type.starts_with("fuse.");
}

// The mount's source when it names a block device or an image file whose
// boot sector can be read; "" otherwise ("tmpfs", "server:/export" ...).
std::string readableSource(const MountEntry& m)
{
    struct stat st {};
    if (m.source.empty() || m.source.front() != '/' || ::stat(m.source.c_str(), &st) != 0
        || !(S_ISBLK(st.st_mode) || S_ISREG(st.st_mode)))
        return {};
    return m.source;
}

// The boot sector's layout of a FAT mount, or of a FUSE mount whose source is
// a FAT volume; nothing where it cannot be read.
std::optional<FatLayout> fatLayoutOf(const MountEntry& m)
{
    if (!isFatType(m.fsType) && !isFuseType(m.fsType))
        return std::nullopt;
    const std::string source = readableSource(m);
    return source.empty() ? std::nullopt : readFatLayout(source);
}

std::optional<std::int64_t> sysfsSectorSize(unsigned major, unsigned minor)
{
    const QString device = QStringLiteral("/sys/dev/block/%1:%2/").arg(major).arg(minor);
    // A partition has no queue of its own: its disk's applies.
    for (const QString& file : {device + QStringLiteral("queue/logical_block_size"),
                                device + QStringLiteral("../queue/logical_block_size")}) {
        QFile f(file);
        if (f.open(QIODevice::ReadOnly)) {
            bool ok = false;
            const std::int64_t size = f.readAll().trimmed().toLongLong(&ok);
            if (ok && size > 0)
                return size;
        }
    }
    return std::nullopt;
}

// The logical sector size of the block device behind a mount: the mount's
// own device number, else its source's; 512 where neither is a block device.
std::int64_t logicalSectorSize(const MountEntry& m)
{
    if (const auto size = sysfsSectorSize(m.major, m.minor))
        return *size;
    struct stat st {};
    if (!m.source.empty() && m.source.front() == '/' && ::stat(m.source.c_str(), &st) == 0 && S_ISBLK(st.st_mode)) {
        if (const auto size = sysfsSectorSize(major(st.st_rdev), minor(st.st_rdev)))
            return *size;
    }
    return DefaultSectorSize;
}

struct Figures {
    std::int64_t bytesPerSector = 0;
    std::int64_t sectorsPerCluster = 0;
    std::int64_t clusterBytes = 0;
    std::int64_t totalClusters = 0;
    std::int64_t availableClusters = 0;  // free to the calling user
    std::int64_t freeClusters = 0;
};

std::int64_t count(fsblkcnt_t v)
{
    return static_cast<std::int64_t>(std::min<fsblkcnt_t>(v, INT64_MAX));
}

// One volume's figures. statvfs decides whether the drive is there at all;
// a FAT volume served by a FUSE driver that reports no blocks (fusefat) gets
// its figures from its own boot sector and FAT.
std::optional<Figures> volumeFigures(const std::string& root)
{
    struct statvfs vfs {};
    if (root.empty() || ::statvfs(root.c_str(), &vfs) != 0)
        return std::nullopt;
    const std::vector<MountEntry> table = readMountTable();
    const MountEntry* mount = mountHolding(table, root);

    Figures f;
    if (vfs.f_blocks == 0 && mount) {
        if (const auto fat = fatLayoutOf(*mount)) {
            f.bytesPerSector = fat->bytesPerSector;
            f.sectorsPerCluster = fat->sectorsPerCluster;
            f.clusterBytes = fat->bytesPerSector * fat->sectorsPerCluster;
            f.totalClusters = fat->clusters;
            f.freeClusters = countFreeClusters(readableSource(*mount), *fat).value_or(0);
            f.availableClusters = f.freeClusters;
            return f;
        }
    }
    const std::int64_t fragment = static_cast<std::int64_t>(vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize);
    f.bytesPerSector = mount ? logicalSectorSize(*mount) : DefaultSectorSize;
    // Keep bytes per sector × sectors per cluster equal to the fragment size,
    // so that every figure worked from them stays true.
    if (fragment > 0 && fragment % f.bytesPerSector != 0)
        f.bytesPerSector = fragment % DefaultSectorSize == 0 ? DefaultSectorSize : fragment;
    f.sectorsPerCluster = std::max<std::int64_t>(1, fragment / f.bytesPerSector);
    f.clusterBytes = fragment > 0 ? fragment : f.bytesPerSector;
    f.totalClusters = count(vfs.f_blocks);
    f.availableClusters = count(vfs.f_bavail);
    f.freeClusters = count(vfs.f_bfree);
    return f;
}

bool toBytes(std::int64_t clusters, std::int64_t clusterBytes, std::int64_t& bytes)
{
    return !__builtin_mul_overflow(clusters, clusterBytes, &bytes);
}

class SystemVolumes final : public VolumeQueries {
public:
    bool diskFreeSpace(const std::string& root, FreeSpace& out) override
    {
        const auto f = volumeFigures(root);
        if (!f)
            return false;
        out.sectorsPerCluster = f->sectorsPerCluster;
        out.bytesPerSector = f->bytesPerSector;
        out.freeClusters = f->availableClusters;
        out.totalClusters = f->totalClusters;
        return true;
    }

    bool diskFreeSpaceEx(const std::string& root, FreeSpaceEx& out) override
    {
        const auto f = volumeFigures(root);
        FreeSpaceEx bytes;
        if (!f || !toBytes(f->availableClusters, f->clusterBytes, bytes.freeBytesToCaller)
            || !toBytes(f->totalClusters, f->clusterBytes, bytes.totalBytes)
            || !toBytes(f->freeClusters, f->clusterBytes, bytes.totalFreeBytes))
            return false;
        out = bytes;
        return true;
    }

    bool fileSystemName(const std::string& root, QString& out) override
    {
        const std::vector<MountEntry> table = readMountTable();
        const MountEntry* mount = mountHolding(table, root);
        if (!mount)
            return false;
        if (const auto fat = fatLayoutOf(*mount)) {
            out = fat->bits == 32 ? QStringLiteral("FAT32") : QStringLiteral("FAT");
        } else if (isFatType(mount->fsType)) {
            // The boot sector cannot be read: the FAT type follows from the
            // cluster count.
            struct statvfs vfs {};
            const bool fat32 = ::statvfs(root.c_str(), &vfs) == 0 && count(vfs.f_blocks) >= Fat32MinimumClusters;
            out = fat32 ? QStringLiteral("FAT32") : QStringLiteral("FAT");
        } else {
            out = QString::fromStdString(mount->fsType);
        }
        return true;
    }
};

}  // namespace

VolumeQueries& systemVolumes()
{
    static SystemVolumes volumes;
    return volumes;
}

}  // namespace dorvelix
