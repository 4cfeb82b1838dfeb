#include "volume_queries.h"

#include "answer_in_time.h"
#include "fat_volume.h"
#include "fuse_source.h"
#include "mount_boundaries.h"

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

// A FAT volume open for reading, with its boot sector's layout.
struct FatVolume {
    VolumeFile file;
    FatLayout layout;
};

std::int64_t count(fsblkcnt_t v)
{
    return static_cast<std::int64_t>(std::min<fsblkcnt_t>(v, INT64_MAX));
}

// Whether a FUSE driver's figures agree with the geometry of the volume read
// for it: the bytes of the data area where it reports a size (fusefat reports
// none for FAT32) and the cluster count it reports as its file count. A
// volume that says otherwise is not the one the mount serves.
bool agreesWithMount(const FatLayout& f, const struct statvfs& vfs)
{
    const std::int64_t units = count(vfs.f_blocks), files = count(vfs.f_files);
    if (units == 0 && files == 0)
        return false;
    std::int64_t bytes = 0, reported = 0;
    if (units != 0
        && (__builtin_mul_overflow(f.clusters, f.bytesPerSector * f.sectorsPerCluster, &bytes)
            || __builtin_mul_overflow(units, static_cast<std::int64_t>(vfs.f_frsize), &reported) || bytes != reported))
        return false;
    return files == 0 || files == f.clusters;
}

// The FAT volume of a FAT mount, or of a FUSE mount that serves a FAT
// volume, opened for reading: the mount's source where it names a block
// device or an image file, else the image its FUSE driver holds. A FUSE
// mount's volume must agree with the figures the mount gives (vfs). Nothing
// where no such volume can be read.
std::optional<FatVolume> fatVolumeOf(const MountEntry& m, const struct statvfs& vfs)
{
    const bool fuse = isFuseType(m.fsType);
    if (!isFatType(m.fsType) && !fuse)
        return std::nullopt;
    VolumeFile file;
    if (!m.source.empty() && m.source.front() == '/')
        file = VolumeFile(m.source);
    if (!file && fuse)
        file = openFuseDriverImage(m);
    const auto layout = file ? readFatLayout(file) : std::nullopt;
    if (!layout || (fuse && !agreesWithMount(*layout, vfs)))
        return std::nullopt;
    return FatVolume{std::move(file), *layout};
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
    std::int64_t freeInodes = -1;  // free to the calling user; -1 without a count
};

// One volume's figures. statvfs decides whether the drive is there at all.
// A FAT volume whose boot sector can be read has its own geometry, whatever
// unit a FUSE driver reports; its free clusters are the kernel's where the
// kernel serves it, else counted in its FAT.
std::optional<Figures> volumeFigures(const MountEntry& mount)
{
    struct statvfs vfs {};
    if (::statvfs(mount.mountPoint.c_str(), &vfs) != 0)
        return std::nullopt;

    Figures f;
    if (const auto volume = fatVolumeOf(mount, vfs)) {
        const FatLayout* fat = &volume->layout;
        f.bytesPerSector = fat->bytesPerSector;
        f.sectorsPerCluster = fat->sectorsPerCluster;
        f.clusterBytes = fat->bytesPerSector * fat->sectorsPerCluster;
        f.totalClusters = fat->clusters;
        if (isFuseType(mount.fsType)) {
            f.freeClusters = countFreeClusters(volume->file, *fat).value_or(0);
            f.availableClusters = f.freeClusters;
        } else {
            f.freeClusters = count(vfs.f_bfree);
            f.availableClusters = count(vfs.f_bavail);
        }
        return f;
    }
    const std::int64_t fragment = static_cast<std::int64_t>(vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize);
    f.bytesPerSector = logicalSectorSize(mount);
    // Keep bytes per sector × sectors per cluster equal to the fragment size,
    // so that every figure worked from them stays true.
    if (fragment > 0 && fragment % f.bytesPerSector != 0)
        f.bytesPerSector = fragment % DefaultSectorSize == 0 ? DefaultSectorSize : fragment;
    f.sectorsPerCluster = std::max<std::int64_t>(1, fragment / f.bytesPerSector);
    f.clusterBytes = fragment > 0 ? fragment : f.bytesPerSector;
    f.totalClusters = count(vfs.f_blocks);
    f.availableClusters = count(vfs.f_bavail);
    f.freeClusters = count(vfs.f_bfree);
    // A file system without a count of its own reports no inodes at all.
    if (vfs.f_files > 0)
        f.freeInodes = count(vfs.f_favail);
    return f;
}

// Whether a mount serves an exFAT volume: the kernel's exfat, or a source
// (a block device or an image, as mount.exfat-fuse's fuseblk mounts name
// it) whose boot sector is exFAT's.
bool servesExfat(const MountEntry& m)
{
    if (m.fsType == "exfat")
        return true;
    return isFuseType(m.fsType) && !m.source.empty() && m.source.front() == '/' && readIsExfat(VolumeFile(m.source));
}

// The file system's name as the drive panel shows it.
std::optional<QString> fileSystemNameOf(const MountEntry& mount)
{
    if (!isFatType(mount.fsType) && !isFuseType(mount.fsType) && mount.fsType != "exfat")
        return QString::fromStdString(mount.fsType);
    struct statvfs vfs {};
    if (::statvfs(mount.mountPoint.c_str(), &vfs) != 0)
        return std::nullopt;
    if (const auto volume = fatVolumeOf(mount, vfs))
        return volume->layout.bits == 32 ? QStringLiteral("FAT32") : QStringLiteral("FAT");
    if (servesExfat(mount))
        return QStringLiteral("exFAT");
    // The boot sector cannot be read: the FAT type follows from the cluster
    // count.
    if (isFatType(mount.fsType))
        return count(vfs.f_blocks) >= Fat32MinimumClusters ? QStringLiteral("FAT32") : QStringLiteral("FAT");
    return QString::fromStdString(mount.fsType);
}

std::optional<VolumeFormat> volumeFormatOf(const MountEntry& mount)
{
    struct statvfs vfs {};
    if (::statvfs(mount.mountPoint.c_str(), &vfs) != 0)
        return std::nullopt;
    VolumeFormat format;
    format.driver = mount.fsType;
    format.options = mount.superOptions;
    if (const auto volume = fatVolumeOf(mount, vfs)) {
        const int bits = volume->layout.bits;
        format.kind = bits == 32 ? VolumeFormat::Kind::Fat32 : bits == 16 ? VolumeFormat::Kind::Fat16
                                                                          : VolumeFormat::Kind::Fat12;
        format.rootEntries = volume->layout.rootEntries;
        format.rootFreeRun = longestFreeRootRun(volume->file, volume->layout);
    } else if (servesExfat(mount)) {
        format.kind = VolumeFormat::Kind::Exfat;
    } else if ((format.ntfs = ntfsVolumeOf(mount, vfs))) {
        format.kind = VolumeFormat::Kind::Ntfs;
    } else if ((format.ext = extVolumeOf(mount, vfs))) {
        format.kind = VolumeFormat::Kind::Ext;
    } else if ((format.btrfs = btrfsSpaceOf(mount, vfs))) {
        format.kind = VolumeFormat::Kind::Btrfs;
    } else if ((format.f2fs = f2fsVolumeOf(mount, vfs))) {
        format.kind = VolumeFormat::Kind::F2fs;
    } else if (isFatType(mount.fsType)) {
        // The boot sector cannot be read: the type follows from the cluster
        // count, and a FAT12/16 root's size is not known.
        format.kind = count(vfs.f_blocks) >= Fat32MinimumClusters ? VolumeFormat::Kind::Fat32 : VolumeFormat::Kind::Fat16;
    }
    return format;
}

// The mount a drive address names: a mount point of the table as it is now.
// Nothing for a drive that has been unmounted, whose folder now lies on
// another file system.
std::optional<MountEntry> mountOf(const std::string& root)
{
    const auto boundaries = MountBoundaries::current();
    const MountEntry* mount = mountHolding(boundaries->table(), root);
    if (!mount || mount->mountPoint != root)
        return std::nullopt;
    return *mount;
}

// Asks a volume within the bound of answerInTime; nothing when it fails or
// does not answer in time.
template <class T>
std::optional<T> askInTime(const MountEntry& mount, std::optional<T> (*ask)(const MountEntry&))
{
    return answerInTime<std::optional<T>>(mount.mountPoint, [mount, ask] { return ask(mount); }).value_or(std::nullopt);
}

std::optional<Figures> figuresInTime(const std::string& root)
{
    const auto mount = mountOf(root);
    return mount ? askInTime<Figures>(*mount, volumeFigures) : std::nullopt;
}

bool toBytes(std::int64_t clusters, std::int64_t clusterBytes, std::int64_t& bytes)
{
    return !__builtin_mul_overflow(clusters, clusterBytes, &bytes);
}

class SystemVolumes final : public VolumeQueries {
public:
    bool diskFreeSpace(const std::string& root, FreeSpace& out) override
    {
        const auto f = figuresInTime(root);
        if (!f)
            return false;
        out.sectorsPerCluster = f->sectorsPerCluster;
        out.bytesPerSector = f->bytesPerSector;
        out.freeClusters = f->availableClusters;
        out.totalClusters = f->totalClusters;
        out.freeInodes = f->freeInodes;
        return true;
    }

    bool diskFreeSpaceEx(const std::string& root, FreeSpaceEx& out) override
    {
        const auto f = figuresInTime(root);
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
        const auto mount = mountOf(root);
        const auto name = mount ? askInTime<QString>(*mount, fileSystemNameOf) : std::nullopt;
        if (!name)
            return false;
        out = *name;
        return true;
    }

    std::optional<VolumeFormat> volumeFormat(const std::string& root) override
    {
        const auto mount = mountOf(root);
        return mount ? askInTime<VolumeFormat>(*mount, volumeFormatOf) : std::nullopt;
    }
};

}  // namespace

VolumeQueries& systemVolumes()
{
    static SystemVolumes volumes;
    return volumes;
}

}  // namespace dorvelix
