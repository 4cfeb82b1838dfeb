// What the read-ahead's threads share with the walk that takes their
// folders (read_ahead.h): the queue of folders read ahead, and the work of
// the listing and measuring threads.
#pragma once

#include "read_ahead.h"
#include "reader_process.h"

namespace dorvelix {

// One folder read ahead. The lengths of its files are read in chunks claimed
// through `claimed`, by the measuring thread from the walk's end of the queue
// and by the listing thread, while it has nothing to list, from the far end,
// so that both threads stay busy.
struct ReadAhead::Folder {
    std::shared_ptr<const FolderScan> parent;
    std::uint32_t index = 0;
    bool hiddenAndSystem = false;
    bool sortFiles = false;  // its files are sorted once their lengths are read
    std::shared_ptr<const FolderScan> scan;  // null when the folder could not be read
    std::optional<RuntimeError> error;
    size_t bytes = 0;
    std::atomic<std::uint32_t> claimed{0};
    std::atomic<std::uint32_t> done{0};
};

struct ReadAhead::State {
    explicit State(WalkLevels levels) : levels_(std::move(levels)) {}
    std::atomic<bool> sortFiles_{false};
    // Whether the threads sort this folder's files: only a wide folder's,
    // which the walk could not sort without being held up; a narrow one it
    // sorts itself in less time than handing it over would take.
    bool sortsAhead(const FolderScan& scan) const
    {
        return sortFiles_.load(std::memory_order_relaxed) && scan.files().size() >= SortAheadFrom;
    }
    void run();
    void measureNearest();
    void threadEnded();
    const Level& levelAt(size_t level) const { return levels_.at(level); }
    void readSubtree(std::shared_ptr<const FolderScan> parent, std::uint32_t index, unsigned session);
    bool readFolder(const std::shared_ptr<const FolderScan>& parent, std::uint32_t index, size_t level,
                    unsigned session, std::shared_ptr<const FolderScan>& scan);
    bool waitForRoom(unsigned session);
    void readLengthsBehind(unsigned session);
    std::shared_ptr<Folder> lengthsToRead() const;
    std::shared_ptr<Folder> nearestLengthsToRead() const;
    bool readChunk(Folder& folder);

    const WalkLevels levels_;
    std::mutex mutex_;
    std::condition_variable readerWakes_;
    std::condition_variable walkWakes_;
    std::condition_variable measurerWakes_;
    std::deque<std::shared_ptr<Folder>> queue_;
    std::shared_ptr<Folder> taken_;  // the folder the walk took last
    size_t queuedBytes_ = 0;
    std::atomic<bool> stopping_{false};
    // Whether the walked drive's driver can stop answering (FUSE, a network
    // file system): then the listing thread alone calls on it, measuring
    // each folder as it lists it, so that a driver that stops holds up one
    // thread only. Decided at the walk's first folder, under the lock.
    std::optional<bool> oneCaller_;
    void decideCallers(const FolderScan& walked);
    // On such a drive the listing thread asks the reader, a process of its
    // own, to list and measure: a driver that stops then holds up that
    // process alone, never one of this one's threads. Null where the reader
    // cannot be started: the listing thread calls on the drive itself.
    std::unique_ptr<ReaderProcess> reader_;
    bool readerStops() const { return stopping_.load(std::memory_order_relaxed); }
    void readerAlive() { progress_.fetch_add(1, std::memory_order_relaxed); }
    void measuredWhole(Folder& folder);
    bool reading_ = false;  // the thread is inside a subtree
    int running_ = 2;       // threads that have not ended
    unsigned session_ = 0;  // raised to drop the subtree being read
    // Raised by every folder read and every chunk of lengths measured.
    std::atomic<std::uint64_t> progress_{0};
    struct Start {
        std::shared_ptr<const FolderScan> parent;
        std::uint32_t index;
    };
    std::optional<Start> pending_;
};

}  // namespace dorvelix
