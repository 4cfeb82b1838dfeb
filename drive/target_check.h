// Whether a folder fits on the drive of another folder, and what will not
// copy there: the complete walk with the target drive's cluster length as the
// conversion length, the copied folder's own table and, on a FAT-family
// target, the entries FAT refuses. The same figures as dorvelix-report's
// --target; made to run on a worker thread (no widgets, progress and cancel
// through WalkProgress).
#pragma once

#include "complete_walk.h"
#include "copy_check.h"
#include "target_drive.h"
#include "volume_queries.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

namespace dorvelix {

struct TargetCheck {
    enum class Outcome {
        Answered,
        Cancelled,
        FolderUnreadable,  // the folder to copy cannot be opened (error holds why)
        TargetUnreadable,  // the target folder is missing or not a folder
        NoMedium,          // the target drive does not answer
        NoClusterLength,   // the target drive reports no cluster length
        DriveStopped,      // the folder's drive stopped answering (or went) during the walk
    };
    Outcome outcome = Outcome::Cancelled;
    std::optional<TargetDrive> drive;
    SearchResult search;
    long long neededBytes = 0;
    std::vector<BlockedEntry> blocked;
    QStringList messages;  // folders and files the walk could not read
    QString error;         // the system's description for the unreadable outcomes

    bool fits() const { return drive && neededBytes <= drive->freeBytes; }
};

// Checks folder against the drive that holds targetFolder (both absolute).
TargetCheck checkTarget(const std::string& folder, const std::string& targetFolder, VolumeQueries& volumes,
                        WalkProgress& progress);

}  // namespace dorvelix
