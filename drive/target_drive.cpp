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

struct NoteRow {
    std::initializer_list<const char*> fileSystems;  // empty: every other one
    const char* note;
};

const std::array<NoteRow, 4> Notes{{
    {{"exfat"},
     "exFAT keeps three or more 32-byte entries per file in a folder's table, so folder tables are counted low"},
    {{"btrfs", "zfs", "bcachefs", "squashfs", "erofs"},
     "compression, deduplication and shared extents make the space taken differ from the count"},
    {{"ntfs", "ntfs3", "fuseblk"}, "small files live in the file table and compressed files take less"},
    {{},
     "this file system allocates folders, small files and its own records by rules of its own; the count "
     "follows FAT's rules"},
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

std::optional<QString> estimateNote(const QString& fileSystem)
{
    if (refusesLargeFiles(fileSystem))
        return std::nullopt;
    for (const NoteRow& row : Notes) {
        if (row.fileSystems.size() == 0 || named(fileSystem, row.fileSystems))
            return QString::fromUtf8(row.note);
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
