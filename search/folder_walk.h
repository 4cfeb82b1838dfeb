// The one walk below a chosen folder that every count of a tree runs: the
// window's search, the report in each of its modes, the copy check and the
// comparison of cluster lengths. It enters the folders depth first,
// subfolders in the order their parent lists them, and reads them ahead on
// the read-ahead's threads, so that the thread that runs the walk makes no
// call on the walked drive: a drive that stops answering is taken for gone
// after stallLimit without progress (RuntimeError 71 for each folder after
// it), and a stop asked for while the walk waits ends the wait at once.
//
// The walk books nothing itself. It tells its sink, in the order of a walk
// that reads each folder as it enters it, what it entered, what it could
// not read and what lies beyond its last level; the sink counts, reports
// and shows. The walk's limits are its levels: the window's fifteen, each
// saying whether its file lists show hidden files and whether the walk goes
// deeper, or one level that repeats for a complete walk.
#pragma once

#include "folder_scan.h"
#include "read_ahead.h"
#include "runtime_error.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

namespace dorvelix {

class WalkSink {
public:
    virtual ~WalkSink() = default;
    // Asked before each subfolder the walk enters: false ends the walk.
    virtual bool goOn() = 0;
    // Called about every waitSlice while the walk waits for the drive: false
    // ends the wait and the walk at once.
    virtual bool whileWaiting() { return goOn(); }
    // Called before the walk takes a folder that is not read yet and may wait.
    virtual void beforeWait() {}
    // Subfolder index of the chosen folder and the tree below it are about
    // to be walked, or have been. stoppedInside: the walk was stopped while
    // it waited inside that tree, which it left unfinished.
    virtual void subtreeStarted(std::uint32_t /*index*/) {}
    virtual void subtreeEnded(std::uint32_t /*index*/, bool /*stoppedInside*/) {}
    // Subfolder index of parent was entered, with the lengths of the files
    // its level lists read; depth 1 is a subfolder of the chosen folder.
    virtual void folderEntered(int depth, const FolderScan& parent, std::uint32_t index,
                               const std::shared_ptr<const FolderScan>& folder) = 0;
    // Subfolder index of parent, which lies at parentDepth (0: the chosen
    // folder), could not be read.
    virtual void folderFailed(int parentDepth, const FolderScan& parent, std::uint32_t index,
                              const RuntimeError& error) = 0;
    // Subfolder index of parent lies below the walk's last level: not entered.
    virtual void folderBeyondLevels(const FolderScan& /*parent*/, std::uint32_t /*index*/) {}
};

class FolderWalk {
public:
    using Level = WalkLevels::Level;
    // levels[0] describes the chosen folder's subfolders, levels[1] theirs,
    // and so on; when the last level enters the next, it describes every
    // level below it too.
    FolderWalk(WalkLevels levels, WalkSink& sink);
    ~FolderWalk();
    FolderWalk(const FolderWalk&) = delete;
    FolderWalk& operator=(const FolderWalk&) = delete;

    // Whether the folders are read ahead on other threads (on by default);
    // off, each is read by the walk's own thread when it enters it.
    void setReadAhead(bool on) { readAheadOn_ = on; }
    // Whether the threads also sort each folder's files in list order, for
    // a sink that books or shows them in that order.
    void setSortFiles(bool on) { sortFiles_ = on; }
    std::chrono::milliseconds stallLimit{10000};
    std::chrono::milliseconds waitSlice{50};

    // Reads the lengths of the chosen folder's own files on the read-ahead's
    // threads, before the caller books them. RuntimeError 71 when the drive
    // stops answering first; Abandoned when the sink stops the walk while it
    // waits. Without read-ahead it does nothing: the files are measured as
    // they are booked.
    void measure(std::shared_ptr<const FolderScan> top);
    // Walks every subfolder of top and the trees below them, in order.
    void walkBelow(std::shared_ptr<const FolderScan> top);
    using Abandoned = ReadAhead::Abandoned;

private:
    void startReadAhead();
    const Level& levelAt(int depth) const;
    void enterAndWalk(int depth, const std::shared_ptr<const FolderScan>& parent, std::uint32_t index);
    std::shared_ptr<const FolderScan> enter(const std::shared_ptr<const FolderScan>& parent, std::uint32_t index);

    WalkLevels levels_;
    WalkSink& sink_;
    bool readAheadOn_ = true;
    bool sortFiles_ = false;
    std::unique_ptr<ReadAhead> readAhead_;  // from measure() to the end of walkBelow()
};

}  // namespace dorvelix
