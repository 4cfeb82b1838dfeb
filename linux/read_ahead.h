// Reads the folders of a walk ahead of it on a thread of its own: opens,
// lists and sorts each folder, in the order in which the walk will enter them
// (depth first, subfolders in list order), into a bounded queue. The lengths
// of the folders' files are read by a second thread, nearest to the walk
// first, and by the first one too when the queue is full or the subtree
// listed, from the queue's far end. The walk takes the folders from the queue
// in that order and books them itself, so its results and messages are those
// of a walk that reads every folder when it enters it; it makes no call on
// the walked drive itself, so a drive that stops answering holds up only the
// threads, and the walk gives it up after its stall limit. On a drive whose
// driver can stop answering (FUSE, a network file system) the first thread
// alone calls on it, measuring each folder as it lists it, so that one
// thread at most waits on a driver that stopped; where the reader helper
// can be started (reader_process.h), that thread asks it to list and
// measure, so that no thread of this process waits on such a driver. A
// folder that
// could not be read is handed over as its error, raised when the walk enters
// it. The threads use no Qt and touch nothing but the folders they read.
#pragma once

#include "folder_scan.h"
#include "runtime_error.h"
#include "walk_levels.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace dorvelix {

class ReadAhead {
public:
    using Level = WalkLevels::Level;
    // The walk's own level rule: level 0 holds the folders that start()
    // names. Only the files a level lists have their lengths read, and no
    // folder is read below a level the walk does not enter from.
    // When the thread makes no progress for stallLimit while the walk waits
    // for it (a FUSE driver that stopped answering), the drive counts as gone.
    explicit ReadAhead(WalkLevels levels, std::chrono::milliseconds stallLimit = std::chrono::seconds(10));
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // Starts reading subfolder `index` of parent and its subtree, after any
    // subtree started before (a subtree not taken whole is dropped).
    void start(std::shared_ptr<const FolderScan> parent, std::uint32_t index);
    // The next folder of the walk, which the walk names by its parent and
    // index: its scan with the lengths of the files its level lists already
    // read. Raises the folder's read error, and RuntimeError 71 for this and
    // every later folder once the thread has stalled. Returns null when the
    // read-ahead does not hold that folder (the caller starts it there);
    // then nothing more of the present subtree is read ahead. Waits at most
    // for the folder being read.
    std::shared_ptr<const FolderScan> take(const FolderScan* parent, std::uint32_t index);
    // Whether take would answer without waiting for the thread to read a folder.
    bool nextReady();
    // Reads on the threads the lengths of every file of a folder the walk
    // read itself (its first folder), as take hands them over. Raises
    // RuntimeError 71 when the threads stall first.
    void measure(std::shared_ptr<const FolderScan> scan);
    // Called about every waitSlice while the walk waits for the threads (a
    // window handles its events there), when the threads' progress is looked
    // at; it may not call into the read-ahead.
    // When it answers false the walk stops waiting: the wait throws
    // Abandoned, and nothing more is read.
    std::function<bool()> whileWaiting;
    struct Abandoned {};
    std::chrono::milliseconds waitSlice{50};
    // Whether the threads also sort the files of each folder of at least
    // SortAheadFrom files in list order (FolderScan::filesInListOrder)
    // before handing it over, for a walk that books or shows files in that
    // order: the walk then never sorts a wide folder itself. Set before the
    // first start() or measure().
    void setSortFiles(bool on);
    static constexpr size_t SortAheadFrom = 2048;

    // Bounds of the queue: folders, and bytes of names and entries. A folder
    // larger than the byte bound is still read, alone.
    static constexpr size_t MaxFolders = 256;
    static constexpr size_t MaxBytes = 2 * 1024 * 1024;

private:
    struct Folder;
    // Everything the thread uses: shared with it, so that a thread stuck on
    // a drive that stopped answering can be left behind and end on its own.
    struct State;
    void waitUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready);
    void waitForLengths(const Folder& folder);
    void giveUp();

    std::shared_ptr<State> state_;
    std::chrono::milliseconds stallLimit_;
    bool stalled_ = false;
    std::thread lister_;
    std::thread measurer_;
};

}  // namespace dorvelix
