#include "target_check.h"

#include "answer_in_time.h"
#include "copy_layouts.h"
#include "drives.h"
#include "messages.h"
#include "mount_table.h"
#include "paths.h"
#include "runtime_error.h"

#include <algorithm>
#include <sys/stat.h>

namespace dorvelix {

namespace {

// A volume label sits in the root table without showing in its listing.
constexpr long long VolumeLabelEntries = 1;

// GNU cp creates a folder's entries in the order of their inode numbers,
// except on tmpfs and NFS, where it keeps the listing's order.
FolderScan::CopyOrder sourceCopyOrder(const std::string& folder)
{
    const std::string type = mountTypeAt(folder);
    const bool listed = type == "tmpfs" || type == "nfs" || type == "nfs4";
    return listed ? FolderScan::CopyOrder::AsListed : FolderScan::CopyOrder::ByInode;
}

}  // namespace

TargetCount::TargetCount(const TargetDrive& drive, FolderScan::CopyOrder sourceOrder) : drive_(drive)
{
    if (drive_.format)
        rule_ = targetRule(*drive_.format);
    if (isFatFamily(drive_.fileSystem) || rule_)
        names_.emplace(refusesLargeFiles(drive_.fileSystem) || (rule_ && rule_->tables.format == TableFormat::Fat),
                       rule_ && rule_->rule == CountRule::FusefatLongNames);
    if (rule_) {
        tables_.emplace(rule_->tables, drive_.clusterLength);
    } else if (!isFatFamily(drive_.fileSystem)) {
        TargetLayout chosen = copyLayoutFor(drive_, sourceOrder);
        layout_ = std::move(chosen.layout);
        layoutRule_ = chosen.rule;
    }
    all_.add(&census_);
    all_.add(names_ ? &*names_ : nullptr);
    all_.add(tables_ ? &*tables_ : nullptr);
    all_.add(layout_.get());
}

long long TargetCount::neededBytes(const SearchResult& walked) const
{
    if (tables_)
        return tables_->clusters() * drive_.clusterLength;
    if (layout_)
        return layout_->needs().bytes;
    return dorvelix::neededBytes(walked);
}

long long TargetCount::neededEntries() const
{
    // A layout that counts the free inodes otherwise (f2fs: node blocks)
    // says what the copy takes of them.
    const auto inodes = layout_ ? layout_->inodesNeeded() : std::nullopt;
    return inodes ? *inodes : census_.entries();
}

void TargetCount::readTargetFolder(const std::string& targetFolder, std::string_view copiedName)
{
    if (!layout_ || !layout_->wantsTargetFolder())
        return;
    std::optional<TargetFolder> read;
    try {
        const auto listing = FolderScan::readInTime(targetFolder);
        const auto size = answerInTime<long long>(driveOf(targetFolder), [targetFolder] {
            struct stat st {};
            return ::lstat(targetFolder.c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : -1LL;
        });
        if (size && *size >= 0)
            read = TargetFolder{listing, *size};
    } catch (const RuntimeError&) {
        // Not read in time: the layout counts the most the entry can take.
    }
    layout_->targetFolderRead(read, copiedName);
}

bool TargetCount::countsInodes() const
{
    return drive_.freeInodes && layoutRule_ && *layoutRule_ != LayoutRule::Ntfs && *layoutRule_ != LayoutRule::Btrfs;
}

std::vector<BlockedEntry> TargetCount::blocked(const std::string& folder, const std::string& targetFolder) const
{
    std::vector<BlockedEntry> all = names_ ? names_->blocked() : std::vector<BlockedEntry>{};
    if (layout_) {
        const auto own = layout_->blocked();
        all.insert(all.end(), own.begin(), own.end());
    }
    if (!tables_)
        return all;
    all.insert(all.end(), tables_->blocked().begin(), tables_->blocked().end());
    // FAT12/16 keep the root folder's table in a fixed area: a copy into
    // the root needs a place there for the copied folder's entries.
    const VolumeFormat& format = *drive_.format;
    const bool fixedRoot = format.kind == VolumeFormat::Kind::Fat12 || format.kind == VolumeFormat::Kind::Fat16;
    if (!fixedRoot || format.rootEntries <= 0 || withoutTrailingSlashes(drive_.root) != targetFolder)
        return all;
    bool unsure = false;
    const long long entries = nameEntries(lastName(folder), rule_->tables, unsure);
    // Read from the volume: the copied folder's entries need that many free
    // slots side by side.
    if (format.rootFreeRun) {
        if (entries > *format.rootFreeRun)
            all.push_back({std::string(lastName(folder)), BlockReason::RootTableFull, entries, *format.rootFreeRun});
        return all;
    }
    // Else from the root's listing, with room for a label, which takes a
    // slot without showing there.
    long long used = VolumeLabelEntries + entries;
    try {
        // Bounded: the target may have stopped answering since it was asked.
        const auto root = FolderScan::readInTime(drive_.root);
        for (const auto* list : {&root->folders(), &root->files()}) {
            for (const FolderEntry& e : *list)
                used += nameEntries(root->name(e), rule_->tables, unsure);
        }
    } catch (const RuntimeError&) {
        // A root that cannot be listed is taken as it is: the count above.
    }
    if (used > format.rootEntries)
        all.push_back({std::string(lastName(folder)), BlockReason::RootTableFull, entries,
                       std::max(0LL, format.rootEntries - (used - entries))});
    return all;
}

TargetEstimate TargetCount::estimate() const
{
    if (rule_)
        return {rule_, std::nullopt, std::nullopt, rule_->exact && !(tables_ && tables_->unsure())};
    if (layout_)
        return {std::nullopt, layoutRule_, std::nullopt, layout_->exact(), layout_->countsTargetEntry()};
    const auto caveat = countCaveat(drive_.fileSystem);
    return {std::nullopt, std::nullopt, caveat, !caveat};
}

std::vector<LimitReached> TargetCheck::limitsReached() const
{
    std::vector<LimitReached> reached;
    if (!drive)
        return reached;
    if (neededBytes > drive->freeBytes)
        reached.push_back({CopyLimit::Bytes, neededBytes, drive->freeBytes, {}, 1});
    if (countsInodes && drive->freeInodes && neededEntries > *drive->freeInodes)
        reached.push_back({CopyLimit::Inodes, neededEntries, *drive->freeInodes, {}, 1});
    // The limits of single entries: the first entry that passes each, with
    // how many do.
    for (const BlockedEntry& b : blocked) {
        std::optional<CopyLimit> limit;
        switch (b.reason) {
        case BlockReason::TooManyEntries:
        case BlockReason::TooManySubfolders:
        case BlockReason::FolderIndexFull: limit = CopyLimit::FolderEntries; break;
        case BlockReason::RootTableFull: limit = CopyLimit::RootTable; break;
        case BlockReason::FileTooLarge:
        case BlockReason::FileTooLargeForTarget: limit = CopyLimit::FileSize; break;
        default: break;
        }
        if (!limit)
            continue;
        const auto same = std::find_if(reached.begin(), reached.end(), [&](const LimitReached& r) { return r.limit == *limit; });
        if (same == reached.end())
            reached.push_back({*limit, b.needed, b.allowed, b.path});
        else
            ++same->count;
    }
    return reached;
}

TargetCheck queryCopyTarget(const std::string& targetFolder, VolumeQueries& volumes)
{
    TargetCheck check;
    // A file system of the kernel's own (proc, sysfs, cgroup2 ...) holds no
    // files to copy to; the mount table says so without touching it.
    if (const std::string type = mountTypeAt(targetFolder); isPseudoFileSystem(type)) {
        check.outcome = TargetCheck::Outcome::NotADrive;
        check.error = QString::fromStdString(type);
        return check;
    }
    // The target's drive is touched here for the first time: it may hang.
    const std::optional<int> cause = targetFolderCause(targetFolder);
    if (!cause) {
        check.outcome = TargetCheck::Outcome::NoMedium;
        return check;
    }
    if (*cause != 0) {
        check.outcome = TargetCheck::Outcome::TargetUnreadable;
        check.error = errorDescription(RuntimeError(err::PathNotFound, err::FolderQuery, *cause));
        return check;
    }
    check.drive = queryTarget(targetFolder, volumes);
    if (!check.drive) {
        check.outcome = TargetCheck::Outcome::NoMedium;
        return check;
    }
    check.outcome = check.drive->clusterLength <= 0 ? TargetCheck::Outcome::NoClusterLength
                                                    : TargetCheck::Outcome::Answered;
    return check;
}

void countCopy(TargetCheck& check, const std::string& folder, const std::string& targetFolder,
               WalkProgress* progress, const CopyWalkSettings& settings)
{
    TargetCount count(*check.drive, sourceCopyOrder(folder));
    const long long length = check.drive->clusterLength;
    const long long searchLength = settings.searchClusterLength > 0 ? settings.searchClusterLength : length;
    CompleteWalk walk(
        searchLength, length,
        [&](const QString& m) {
            check.messages << m;
            if (settings.onMessage)
                settings.onMessage(m);
        },
        count.observer());
    walk.setProgress(progress);
    walk.setReadAhead(settings.readAhead);
    walk.stallLimit = settings.stallLimit;
    // A copy makes one file of each link.
    walk.setEveryLinkConverted(true);
    walk.setKeepCreationOrder(count.wantsCreationOrder());
    const std::string copied = withoutTrailingSlashes(folder);
    count.readTargetFolder(targetFolder, lastName(copied));
    try {
        check.search = walk.run(folder, settings.start);
    } catch (const RuntimeError& e) {
        check.outcome = e.number() == err::DiskNotReady ? TargetCheck::Outcome::DriveStopped
                                                        : TargetCheck::Outcome::FolderUnreadable;
        check.error = errorDescription(e);
        return;
    }
    check.neededBytes = count.neededBytes(check.search);
    check.neededEntries = count.neededEntries();
    check.countsInodes = count.countsInodes();
    check.blocked = count.blocked(folder, withoutTrailingSlashes(targetFolder));
    check.estimate = count.estimate();
    if (check.search.stopped)
        check.outcome = TargetCheck::Outcome::Cancelled;
    // What was counted before the drive stopped is no answer for the copy.
    else if (walk.driveGone())
        check.outcome = TargetCheck::Outcome::DriveStopped;
    else
        check.outcome = TargetCheck::Outcome::Answered;
}

TargetCheck checkTarget(const std::string& folder, const std::string& targetFolder, VolumeQueries& volumes,
                        WalkProgress& progress)
{
    TargetCheck check = queryCopyTarget(targetFolder, volumes);
    if (check.outcome == TargetCheck::Outcome::Answered)
        countCopy(check, folder, targetFolder, &progress);
    return check;
}

}  // namespace dorvelix
