// The read-ahead's threads: the listing thread reads the subtree the walk
// is in, depth first, into the queue (through the reader on a drive that may
// stop answering), and both threads read the lengths of the queued folders'
// files, the measuring thread nearest to the walk first.
#include "read_ahead_state.h"

#include "mount_boundaries.h"
#include "mount_table.h"

#include <algorithm>
#include <cerrno>
#include <new>

namespace dorvelix {

namespace {
// Files whose lengths one claim reads.
constexpr std::uint32_t Chunk = 16;
}  // namespace

void ReadAhead::State::threadEnded()
{
    const std::lock_guard lock(mutex_);
    --running_;
    walkWakes_.notify_all();
}

// Reads the lengths of one chunk of the folder's files; false when none is left.
bool ReadAhead::State::readChunk(Folder& folder)
{
    const auto count = static_cast<std::uint32_t>(folder.scan->files().size());
    if (reader_) {
        // The reader measures a folder whole (the walk's first folder; it
        // measured every other as it listed it).
        if (folder.claimed.exchange(count, std::memory_order_relaxed) >= count)
            return false;
        try {
            if (!reader_->measure(*folder.scan, [this] { return readerStops(); }, [this] { readerAlive(); }))
                return false;
        } catch (const RuntimeError& e) {
            // Every length is the folder's failure: a reader that has gone
            // is a drive that has gone.
            const int cause = e.number() == err::DiskNotReady || e.cause() == 0 ? ENOTCONN : e.cause();
            std::string failed;
            appendLengths(failed, std::vector<long long>(count, -cause), {});
            folder.scan->takeLengths(failed);
        }
        measuredWhole(folder);
        return true;
    }
    const std::uint32_t from = folder.claimed.fetch_add(Chunk, std::memory_order_relaxed);
    if (from >= count)
        return false;
    const std::uint32_t to = std::min(count, from + Chunk);
    folder.scan->queryLengths(from, to, folder.hiddenAndSystem);
    progress_.fetch_add(1, std::memory_order_relaxed);
    if (folder.done.fetch_add(to - from, std::memory_order_acq_rel) + (to - from) == count) {
        // The last chunk's thread sorts the files too, where the walk wants them sorted.
        if (folder.sortFiles && count > 1)
            folder.scan->filesInListOrder();
        const std::lock_guard lock(mutex_);
        walkWakes_.notify_all();
    }
    return true;
}

// The queued folder farthest from the walk whose lengths are not all claimed
// (the walk reads from the near end), else the folder the walk is reading;
// null when there is none. The lock is held.
std::shared_ptr<ReadAhead::Folder> ReadAhead::State::lengthsToRead() const
{
    const auto unclaimed = [](const std::shared_ptr<Folder>& f) {
        return f && f->scan && f->claimed.load(std::memory_order_relaxed) < f->scan->files().size();
    };
    for (auto it = queue_.rbegin(); it != queue_.rend(); ++it) {
        if (unclaimed(*it))
            return *it;
    }
    return unclaimed(taken_) ? taken_ : nullptr;
}

// The folder nearest to the walk whose lengths are not all claimed: the one
// the walk has taken, else the first of the queue; null when there is none.
// The lock is held.
std::shared_ptr<ReadAhead::Folder> ReadAhead::State::nearestLengthsToRead() const
{
    const auto unclaimed = [](const std::shared_ptr<Folder>& f) {
        return f && f->scan && f->claimed.load(std::memory_order_relaxed) < f->scan->files().size();
    };
    if (unclaimed(taken_))
        return taken_;
    for (const std::shared_ptr<Folder>& folder : queue_) {
        if (unclaimed(folder))
            return folder;
    }
    return nullptr;
}

void ReadAhead::State::decideCallers(const FolderScan& walked)
{
    if (oneCaller_)
        return;
    // The mount table is read from /proc, never from the walked drive.
    const auto mounts = MountBoundaries::current();
    const MountEntry* mount = mountHolding(mounts->table(), walked.path());
    oneCaller_ = mount && mayStopAnswering(mount->fsType);
    if (*oneCaller_)
        reader_ = ReaderProcess::start();
    measurerWakes_.notify_all();
}

// Every length of the folder has been read (or could not be): the walk may take it.
void ReadAhead::State::measuredWhole(Folder& folder)
{
    const auto count = static_cast<std::uint32_t>(folder.scan->files().size());
    folder.claimed.store(count, std::memory_order_relaxed);
    progress_.fetch_add(1, std::memory_order_relaxed);
    if (folder.sortFiles && count > 1)
        folder.scan->filesInListOrder();
    folder.done.store(count, std::memory_order_release);
    const std::lock_guard lock(mutex_);
    walkWakes_.notify_all();
}

// The measuring thread: reads lengths nearest to the walk first.
void ReadAhead::State::measureNearest()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        std::shared_ptr<Folder> folder = nearestLengthsToRead();
        if (!folder && !stopping_) {
            // The next folder is most often listed within moments: a few
            // yields cost less than a sleep and a wake-up.
            const std::uint64_t seen = progress_.load(std::memory_order_relaxed);
            lock.unlock();
            for (int i = 0; i < 64 && progress_.load(std::memory_order_relaxed) == seen; ++i)
                std::this_thread::yield();
            lock.lock();
        }
        measurerWakes_.wait(lock, [&] { return stopping_ || oneCaller_.value_or(false) || (folder = nearestLengthsToRead()); });
        if (stopping_ || oneCaller_.value_or(false))
            return;
        lock.unlock();
        while (!stopping_.load(std::memory_order_relaxed) && readChunk(*folder)) {
        }
        lock.lock();
    }
}

// Waits until the queue has room for one more folder, reading lengths in the
// meantime. False when the subtree is dropped.
bool ReadAhead::State::waitForRoom(unsigned session)
{
    std::unique_lock lock(mutex_);
    for (;;) {
        if (session != session_)
            return false;
        if (queue_.empty() || (queue_.size() < MaxFolders && queuedBytes_ < MaxBytes))
            return true;
        const std::shared_ptr<Folder> folder = lengthsToRead();
        if (!folder) {
            readerWakes_.wait(lock);
            continue;
        }
        lock.unlock();
        readChunk(*folder);
        lock.lock();
    }
}

// With the subtree listed, reads the lengths the walk has not come to yet.
void ReadAhead::State::readLengthsBehind(unsigned session)
{
    for (;;) {
        std::shared_ptr<Folder> folder;
        {
            const std::lock_guard lock(mutex_);
            if (session != session_ || !(folder = lengthsToRead()))
                return;
        }
        readChunk(*folder);
    }
}

void ReadAhead::State::run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        // Between subtrees the thread helps measure the folder the walk holds.
        std::shared_ptr<Folder> lengths;
        readerWakes_.wait(lock, [&] { return stopping_ || pending_ || (lengths = lengthsToRead()); });
        if (stopping_)
            return;
        if (!pending_) {
            lock.unlock();
            readChunk(*lengths);
            lock.lock();
            continue;
        }
        Start next = std::move(*pending_);
        pending_.reset();
        const unsigned session = session_;
        reading_ = true;
        lock.unlock();
        readSubtree(std::move(next.parent), next.index, session);
        readLengthsBehind(session);
        lock.lock();
        reading_ = false;
        walkWakes_.notify_all();
    }
}

void ReadAhead::State::readSubtree(std::shared_ptr<const FolderScan> parent, std::uint32_t index, unsigned session)
{
    // The folders whose subfolders are still to be read, with the next one.
    struct Frame {
        std::shared_ptr<const FolderScan> scan;
        std::uint32_t next;
        size_t level;
    };
    std::vector<Frame> stack;
    std::shared_ptr<const FolderScan> scan;
    const auto descend = [&](size_t level) {
        if (scan && levels_.entersSubfoldersOf(level) && !scan->folders().empty())
            stack.push_back({scan, 0, level});
    };
    if (!readFolder(parent, index, 0, session, scan))
        return;
    descend(0);
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.scan->folders().size()) {
            stack.pop_back();
            continue;
        }
        const std::shared_ptr<const FolderScan> from = top.scan;
        const std::uint32_t at = top.next++;
        const size_t level = top.level + 1;
        if (!readFolder(from, at, level, session, scan))
            return;
        descend(level);
    }
}

bool ReadAhead::State::readFolder(const std::shared_ptr<const FolderScan>& parent, std::uint32_t index, size_t level,
                           unsigned session, std::shared_ptr<const FolderScan>& scan)
{
    if (!waitForRoom(session))
        return false;
    auto folder = std::make_shared<Folder>();
    folder->parent = parent;
    folder->index = index;
    folder->hiddenAndSystem = levelAt(level).hiddenAndSystem;
    try {
        const std::string path = parent->childPath(parent->name(parent->folders()[index]));
        if (reader_) {
            folder->scan = reader_->readFolder(path, parent.get(), parent->keepsCreationOrder(),
                                               [this] { return readerStops(); }, [this] { readerAlive(); });
            if (!folder->scan)
                return false;  // given up: nothing more is read
        } else
            folder->scan = FolderScan::read(path, parent.get());
        folder->bytes = folder->scan->footprint();
        folder->sortFiles = sortsAhead(*folder->scan);
        if (reader_)
            measuredWhole(*folder);
        else if (oneCaller_.value_or(false)) {
            while (!stopping_.load(std::memory_order_relaxed) && readChunk(*folder)) {
            }
        }
    } catch (const RuntimeError& e) {
        folder->error = e;
    } catch (const std::bad_alloc&) {
        folder->error = RuntimeError(err::OutOfMemory);
    }
    progress_.fetch_add(1, std::memory_order_relaxed);
    scan = folder->scan;
    {
        const std::lock_guard lock(mutex_);
        if (session != session_)
            return false;
        queuedBytes_ += folder->bytes;
        queue_.push_back(std::move(folder));
    }
    walkWakes_.notify_all();
    measurerWakes_.notify_all();
    return true;
}

}  // namespace dorvelix
