// Whether a folder fits on the drive of another folder, and what will not
// copy there: the complete walk with the target drive's cluster length as the
// conversion length, the copied folder's own table and, on a FAT-family
// target, the entries FAT refuses. The same figures as dorvelix-report's
// --target; made to run on a worker thread (no widgets, progress and cancel
// through WalkProgress).
#pragma once

#include "complete_walk.h"
#include "copy_check.h"
#include "copy_layout.h"
#include "target_drive.h"
#include "target_tables.h"
#include "volume_queries.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dorvelix {

// How the needed bytes were counted and how far they can be trusted: by the
// target driver's rule on FAT and exFAT, by the target's own layout on the
// file systems known here, else by a bound.
struct TargetEstimate {
    std::optional<TargetRule> rule;
    std::optional<LayoutRule> layout;
    std::optional<CountCaveat> caveat;
    bool exact = false;
    bool targetEntryCounted = false;  // the entry the copy adds to the folder it goes into
};

// What a copy to one target needs, counted alongside a complete walk: the
// target's own tables and files where its rule is known, what will not copy
// there. The copy check and dorvelix-report --target both count through it.
class TargetCount {
public:
    // sourceOrder: the order in which a copy creates the entries of the
    // folders to copy (GNU cp's, by the file system they lie on).
    explicit TargetCount(const TargetDrive& drive, FolderScan::CopyOrder sourceOrder = FolderScan::CopyOrder::ByInode);
    TargetCount(const TargetCount&) = delete;
    TargetCount& operator=(const TargetCount&) = delete;

    // The observer to give the walk.
    WalkObserver* observer() { return &all_; }

    // After the walk of folder, to be copied into targetFolder (both
    // absolute): the bytes needed, the files, folders and links made, what
    // will not copy, and the estimate.
    long long neededBytes(const SearchResult& walked) const;
    long long neededEntries() const;
    // Reads the folder the copy goes into (bounded: it may have stopped
    // answering) for a layout that counts the copy's entry there.
    void readTargetFolder(const std::string& targetFolder, std::string_view copiedName);
    // Whether the walk must keep each folder's creation order for the count.
    bool wantsCreationOrder() const { return layout_ && layout_->wantsCreationOrder(); }
    // Whether the target runs out of inodes as of bytes (ext2/3/4 and the
    // like; not NTFS, whose records take bytes, nor FAT).
    bool countsInodes() const;
    std::vector<BlockedEntry> blocked(const std::string& folder, const std::string& targetFolder) const;
    TargetEstimate estimate() const;

private:
    TargetDrive drive_;
    std::optional<TargetRule> rule_;
    std::optional<FatCopyCheck> names_;
    std::optional<TargetTables> tables_;
    std::unique_ptr<CopyLayout> layout_;
    std::optional<LayoutRule> layoutRule_;
    CopyCensus census_;
    ObserverList all_;
};

// A limit of the target that a copy passes, with what the copy needs and
// what the target has left or allows.
enum class CopyLimit {
    Bytes,          // the free bytes
    Inodes,         // the free inodes
    FolderEntries,  // a folder's entries (FAT: 65,536) or subfolders (ext2/3)
    RootTable,      // the free slots of the fixed FAT12/16 root table
    FileSize,       // the longest file the target takes
};

struct LimitReached {
    CopyLimit limit;
    long long needed = 0;
    long long available = 0;
    std::string path;    // the folder or file concerned, for the limits of one entry
    long long count = 1;  // the entries that pass it
};

struct TargetCheck {
    enum class Outcome {
        Answered,
        Cancelled,
        FolderUnreadable,  // the folder to copy cannot be opened (error holds why)
        TargetUnreadable,  // the target folder is missing or not a folder
        NoMedium,          // the target drive does not answer
        NotADrive,         // the target lies on a pseudo file system (proc, sysfs ...): error names its type
        NoClusterLength,   // the target drive reports no cluster length
        DriveStopped,      // the folder's drive stopped answering (or went) during the walk
    };
    Outcome outcome = Outcome::Cancelled;
    std::optional<TargetDrive> drive;
    SearchResult search;
    long long neededBytes = 0;
    long long neededEntries = 0;   // the files, folders and links the copy makes (f2fs: its node blocks)
    bool countsInodes = false;     // whether they are compared with the drive's free inodes
    std::vector<BlockedEntry> blocked;
    TargetEstimate estimate;
    QStringList messages;  // folders and files the walk could not read
    QString error;         // the system's description for the unreadable outcomes

    // The limits the copy passes, bytes first; none when it fits.
    std::vector<LimitReached> limitsReached() const;
    bool fits() const { return drive && limitsReached().empty(); }
};

// How the walk of a copy check runs. By default it counts at the target's
// cluster length on both sides and keeps the messages in the check; the
// report counts the source side at its own drive's length, prints each
// message as it comes and starts from the folder it has already read.
struct CopyWalkSettings {
    long long searchClusterLength = 0;  // 0: the target's cluster length
    std::function<void(const QString&)> onMessage;
    std::shared_ptr<const FolderScan> start;
    bool readAhead = true;
    // How long the drive may go without answering before it counts as gone.
    std::chrono::milliseconds stallLimit{10000};
};

// The target's half of a check: asks the drive that holds targetFolder
// (absolute) once. Outcome Answered when the copy can be counted, else why
// not (NoMedium, TargetUnreadable, NoClusterLength).
TargetCheck queryCopyTarget(const std::string& targetFolder, VolumeQueries& volumes);

// The copy's half: walks folder (absolute) into a check that queryCopyTarget
// answered. The figures are filled whenever the walk ran, also when the drive
// stopped answering (outcome DriveStopped) so that a caller can show what was
// counted. A folder that cannot be opened gives FolderUnreadable.
void countCopy(TargetCheck& check, const std::string& folder, const std::string& targetFolder,
               WalkProgress* progress, const CopyWalkSettings& settings = {});

// Both halves: checks folder against the drive that holds targetFolder.
TargetCheck checkTarget(const std::string& folder, const std::string& targetFolder, VolumeQueries& volumes,
                        WalkProgress& progress);

}  // namespace dorvelix
