#include "target_drive.h"

#include "answer_in_time.h"
#include "drive_info.h"
#include "drives.h"
#include "file_query.h"

#include <algorithm>
#include <array>
#include <string_view>

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

// The value of one option in a mount's option list ("rw,shortname=winnt").
std::optional<std::string> mountOption(const std::string& options, std::string_view name)
{
    size_t start = 0;
    while (start <= options.size()) {
        const size_t end = std::min(options.find(',', start), options.size());
        const std::string_view option(options.data() + start, end - start);
        if (option.size() > name.size() && option.starts_with(name) && option[name.size()] == '=')
            return std::string(option.substr(name.size() + 1));
        start = end + 1;
    }
    return std::nullopt;
}

// vfat's shortname= values and the rule each creates names by; the kernel
// takes mixed when the option is absent.
struct ShortNameRow {
    const char* value;
    CountRule rule;
    LongNames longNames;
};

const std::array<ShortNameRow, 4> ShortNameRules{{
    {"mixed", CountRule::VfatUpperCaseShortNames, LongNames::UnlessUpperCaseShortName},
    {"win95", CountRule::VfatUpperCaseShortNames, LongNames::UnlessUpperCaseShortName},
    {"lower", CountRule::VfatUpperCaseShortNames, LongNames::UnlessUpperCaseShortName},
    {"winnt", CountRule::VfatOneCaseShortNames, LongNames::UnlessOneCaseShortName},
}};
constexpr const char* DefaultShortName = "mixed";

}  // namespace

std::optional<TargetRule> targetRule(const VolumeFormat& format)
{
    using Kind = VolumeFormat::Kind;
    if (format.kind == Kind::Exfat) {
        // The kernel's exfat and mount.exfat-fuse (fuseblk) both grow a
        // folder by whole clusters as its entry sets need them.
        const bool known = format.driver == "exfat" || format.driver == "fuseblk";
        return TargetRule{CountRule::Exfat, {TableFormat::Exfat, LongNames::ForEveryName}, format.driver, known};
    }
    if (format.kind != Kind::Fat12 && format.kind != Kind::Fat16 && format.kind != Kind::Fat32)
        return std::nullopt;
    const TableRule everyLongName{TableFormat::Fat, LongNames::ForEveryName};
    if (format.driver == "vfat") {
        const std::string value = mountOption(format.options, "shortname").value_or(DefaultShortName);
        for (const ShortNameRow& row : ShortNameRules) {
            if (value == row.value)
                return TargetRule{row.rule, {TableFormat::Fat, row.longNames}, value, true};
        }
        return TargetRule{CountRule::UnknownFatDriver, everyLongName, "vfat shortname=" + value, false};
    }
    // fusefat writes a long name, with a numbered 8.3 name ("~1"), for
    // every name it creates, 8.3 names in upper case included.
    if (format.driver == "fuse.fusefat")
        return TargetRule{CountRule::FusefatLongNames, everyLongName, format.driver, true};
    return TargetRule{CountRule::UnknownFatDriver, everyLongName, format.driver, false};
}

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
    return TargetDrive{text,
                       panelFileSystemName(name),
                       clusterLength,
                       space.freeClusters * clusterLength,
                       volumes.volumeFormat(root),
                       root,
                       space.freeInodes >= 0 ? std::optional<long long>(space.freeInodes) : std::nullopt};
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
    return answerInTime<int>(driveOf(folder), [folder] { return folderCause(folder); });
}

}  // namespace dorvelix
