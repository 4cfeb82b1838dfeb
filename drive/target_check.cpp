#include "target_check.h"

#include "messages.h"
#include "runtime_error.h"

namespace dorvelix {

TargetCheck checkTarget(const std::string& folder, const std::string& targetFolder, VolumeQueries& volumes,
                        WalkProgress& progress)
{
    TargetCheck check;
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
    if (check.drive->clusterLength <= 0) {
        check.outcome = TargetCheck::Outcome::NoClusterLength;
        return check;
    }

    std::optional<FatCopyCheck> fat;
    if (isFatFamily(check.drive->fileSystem))
        fat.emplace(refusesLargeFiles(check.drive->fileSystem));
    // Only the converted count is read: the walk counts at the target's
    // cluster length on both sides.
    const long long length = check.drive->clusterLength;
    CompleteWalk walk(length, length, [&](const QString& m) { check.messages << m; }, fat ? &*fat : nullptr);
    walk.setProgress(&progress);
    // A copy makes one file of each link.
    walk.setEveryLinkConverted(true);
    try {
        check.search = walk.run(folder);
    } catch (const RuntimeError& e) {
        check.outcome = e.number() == err::DiskNotReady ? TargetCheck::Outcome::DriveStopped
                                                        : TargetCheck::Outcome::FolderUnreadable;
        check.error = errorDescription(e);
        return check;
    }
    if (check.search.stopped) {
        check.outcome = TargetCheck::Outcome::Cancelled;
        return check;
    }
    // What was counted before the drive stopped is no answer for the copy.
    if (walk.driveGone()) {
        check.outcome = TargetCheck::Outcome::DriveStopped;
        return check;
    }
    check.outcome = TargetCheck::Outcome::Answered;
    check.neededBytes = neededBytes(check.search);
    if (fat)
        check.blocked = fat->blocked();
    return check;
}

}  // namespace dorvelix
