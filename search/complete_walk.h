// The complete count of a tree: every level below the chosen folder, hidden
// and special files at every depth, with the window search's cluster rules in
// 64-bit totals. It books what the one folder walk enters, the same walk as
// the window's search with one level that repeats: it never crosses a mount
// point, never follows a symbolic link, reads ahead on the read-ahead's
// threads and gives a drive that stops answering up after stallLimit without
// progress (error 71, once), without holding up the thread that runs it. It
// holds one open folder per level besides the read-ahead's bounded queue, so
// its memory grows with the depth of the tree, not its size.
#pragma once

#include "booked_files.h"
#include "cluster_accounting.h"
#include "counted_tree.h"
#include "folder_scan.h"
#include "folder_walk.h"
#include "results.h"
#include "runtime_error.h"

#include <QString>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace dorvelix {

// Told about every folder the walk reads and every file it books, for checks
// of one's own (what will not copy to a target drive).
class WalkObserver {
public:
    virtual ~WalkObserver() = default;
    // A folder's entries, before its files are booked; path is relative to
    // the chosen folder ("" for the chosen folder itself).
    virtual void folderRead(const std::string& path, const FolderScan& folder) = 0;
    // An entry that is not a folder, with its own length.
    virtual void fileBooked(const std::string& path, const FolderEntry& entry, long long length) = 0;
};

// Shared with a walk running on another thread: the counts it has reached,
// for a progress display, and a flag that ends it at its next folder.
struct WalkProgress {
    std::atomic<long long> folders{0};
    std::atomic<long long> files{0};
    std::atomic<bool> cancel{false};
};

class CompleteWalk : private WalkSink {
public:
    // report receives a message for each folder or file that cannot be read.
    CompleteWalk(long long clusterLength, long long convertLength, std::function<void(const QString&)> report,
                 WalkObserver* observer = nullptr);

    // A file with more than one link books its cluster units once, under the
    // name reached first. With this on, every link books them at the
    // conversion length, as a copy makes one file of each.
    void setEveryLinkConverted(bool on) { everyLinkConverted_ = on; }

    // Walks folder; RuntimeError 76 when the folder itself cannot be opened,
    // 71 when its drive does not answer in time. top, when given, is the
    // folder already read. A cancelled walk returns what it had counted,
    // with stopped set.
    SearchResult run(const std::string& folder, std::shared_ptr<const FolderScan> top = nullptr);
    // Counts into progress as the walk goes and watches its cancel flag,
    // also while it waits for a drive that does not answer.
    void setProgress(WalkProgress* progress) { progress_ = progress; }
    // Whether the last walk found its drive gone or not answering (error 71).
    bool driveGone() const { return driveGoneReported_; }
    // Whether every folder read keeps the order in which a copy creates its
    // entries (FolderScan::entriesInCopyOrder), for an observer that counts
    // by it. A given top folder that does not keep it is read again.
    void setKeepCreationOrder(bool on) { keepCreationOrder_ = on; }
    // Whether the folders are read ahead on other threads (on by default);
    // off, each is read when the walk enters it, by the walk's own thread.
    void setReadAhead(bool on) { readAheadOn_ = on; }
    // Whether the result keeps every folder with its figures (its tree), as
    // the window's search does; off by default, as the tree costs memory.
    void setKeepTree(bool on) { keepTree_ = on; }
    // How long the walk waits for a read-ahead that makes no progress at all
    // before it takes the drive for gone.
    std::chrono::milliseconds stallLimit{10000};

private:
    // What the walk tells.
    bool goOn() override { return !cancelled(); }
    void subtreeStarted(std::uint32_t index) override;
    void subtreeEnded(std::uint32_t index, bool stoppedInside) override;
    void folderEntered(int depth, const FolderScan& parent, std::uint32_t index,
                       const std::shared_ptr<const FolderScan>& folder) override;
    void folderFailed(int parentDepth, const FolderScan& parent, std::uint32_t index,
                      const RuntimeError& error) override;

    // Counts a folder's subfolders and files, books the files and returns
    // the entry count of its table.
    long long bookFolder(const std::string& path, const FolderScan& folder, FolderRow& t);
    void bookTable(long long entries, FolderRow& t) const;
    void failed(const RuntimeError& e, const std::string& path, long long& count);
    // What the walk has booked so far, folders as listed, without the first
    // table clusters that a subtree's row adds at its end: what the tree's
    // builder takes.
    FolderRow runningTotals() const;
    bool cancelled() const { return progress_ && progress_->cancel.load(std::memory_order_relaxed); }

    TwoLengths lengths_;
    std::function<void(const QString&)> report_;
    WalkObserver* observer_;
    WalkProgress* progress_ = nullptr;
    WalkLimits limits_;
    bool driveGoneReported_ = false;
    BookedFiles booked_;
    bool everyLinkConverted_ = false;
    bool readAheadOn_ = true;
    bool keepCreationOrder_ = false;
    bool keepTree_ = false;
    CountedTreeBuilder tree_;
    // During a walk: the result, the chosen folder, the row of the top-level subfolder being
    // walked, and the path of each level's folder relative to the chosen one.
    SearchResult* result_ = nullptr;
    const FolderScan* top_ = nullptr;
    FolderRow totals_;
    FolderRow subtreeRow_;
    std::vector<std::string> relativePaths_;
};

}  // namespace dorvelix
