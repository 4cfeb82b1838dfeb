#include "target_drive.h"

#include "answer_in_time.h"
#include "drive_info.h"
#include "drives.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <array>

namespace dorvelix {

namespace {

bool named(const QString& fileSystem, std::initializer_list<const char*> names)
{
    return std::any_of(names.begin(), names.end(), [&](const char* n) {
        return fileSystem.compare(QString::fromUtf8(n), Qt::CaseInsensitive) == 0;
    });
}

struct CaveatRow {
    std::initializer_list<const char*> fileSystems;  // empty: every other one
    CountCaveat caveat;
};

const std::array<CaveatRow, 4> Caveats{{
    {{"exfat"}, CountCaveat::LongFolderEntries},
    {{"btrfs", "zfs", "bcachefs", "squashfs", "erofs"}, CountCaveat::SharedExtents},
    {{"ntfs", "ntfs3", "fuseblk"}, CountCaveat::FilesInFileTable},
    {{}, CountCaveat::OwnAllocationRules},
}};

}  // namespace

std::optional<TargetDrive> queryTarget(const std::string& folder, VolumeQueries& volumes)
{
    const QString text = driveTextOf(folder);
    const std::string root = driveAddress(text);
    VolumeQueries::FreeSpace space;
    if (!volumes.diskFreeSpace(root, space))
        return std::nullopt;
    QString name;
    volumes.fileSystemName(root, name);
    const long long clusterLength = space.bytesPerSector * space.sectorsPerCluster;
    return TargetDrive{text, panelFileSystemName(name), clusterLength, space.freeClusters * clusterLength};
}

long long neededBytes(const SearchResult& r)
{
    const long long counted = r.subtree ? r.subtree->convertClusters : 0;
    return r.convertBytes(counted + r.ownTableConvertClusters.value_or(1));
}

bool isFatFamily(const QString& fileSystem)
{
    return refusesLargeFiles(fileSystem) || named(fileSystem, {"exfat"});
}

bool refusesLargeFiles(const QString& fileSystem)
{
    return named(fileSystem, {"FAT", "FAT12", "FAT16", "FAT32", "vfat", "msdos"});
}

std::optional<CountCaveat> countCaveat(const QString& fileSystem)
{
    if (refusesLargeFiles(fileSystem))
        return std::nullopt;
    for (const CaveatRow& row : Caveats) {
        if (row.fileSystems.size() == 0 || named(fileSystem, row.fileSystems))
            return row.caveat;
    }
    return std::nullopt;
}

std::optional<int> targetFolderCause(const std::string& folder)
{
    return answerInTime<int>(driveOf(folder), [folder] {
        struct stat st {};
        return ::stat(folder.c_str(), &st) != 0 ? errno : S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    });
}

}  // namespace dorvelix
