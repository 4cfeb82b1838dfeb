#include "read_ahead.h"

#include "mount_boundaries.h"
#include "mount_table.h"
#include "reader_process.h"

#include <algorithm>
#include <cerrno>
#include <new>

namespace dorvelix {

namespace {
// Files whose lengths one claim reads.
constexpr std::uint32_t Chunk = 16;
}  // namespace

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
    explicit State(std::vector<Level> levels) : levels_(std::move(levels)) {}
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
    const Level& levelAt(size_t level) const { return levels_[std::min(level, levels_.size() - 1)]; }
    void readSubtree(std::shared_ptr<const FolderScan> parent, std::uint32_t index, unsigned session);
    bool readFolder(const std::shared_ptr<const FolderScan>& parent, std::uint32_t index, size_t level,
                    unsigned session, std::shared_ptr<const FolderScan>& scan);
    bool waitForRoom(unsigned session);
    void readLengthsBehind(unsigned session);
    std::shared_ptr<Folder> lengthsToRead() const;
    std::shared_ptr<Folder> nearestLengthsToRead() const;
    bool readChunk(Folder& folder);

    const std::vector<Level> levels_;
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

ReadAhead::ReadAhead(std::vector<Level> levels, std::chrono::milliseconds stallLimit)
    : state_(std::make_shared<State>(std::move(levels))), stallLimit_(stallLimit)
{
    lister_ = std::thread([state = state_] {
        state->run();
        state->threadEnded();
    });
    measurer_ = std::thread([state = state_] {
        state->measureNearest();
        state->threadEnded();
    });
}

void ReadAhead::State::threadEnded()
{
    const std::lock_guard lock(mutex_);
    --running_;
    walkWakes_.notify_all();
}

ReadAhead::~ReadAhead()
{
    State& s = *state_;
    std::unique_lock lock(s.mutex_);
    s.stopping_ = true;
    ++s.session_;
    s.readerWakes_.notify_all();
    s.measurerWakes_.notify_all();
    // Threads that stand in a call the drive does not answer are left
    // behind: they hold the state they need and end when the call returns.
    // Nothing runs the walk's events here: the walk is over.
    whileWaiting = nullptr;
    if (!stalled_) {
        try {
            waitUntil(lock, [&] { return s.running_ == 0; });
        } catch (const RuntimeError&) {
        }
    }
    const bool ended = s.running_ == 0;
    lock.unlock();
    for (std::thread* thread : {&lister_, &measurer_}) {
        if (ended)
            thread->join();
        else
            thread->detach();
    }
}

// Waits for ready while the threads make progress, running whileWaiting
// every waitSlice; RuntimeError 71 when they have made none for stallLimit_.
// Progress is looked at every slice, so that the limit counts from the last
// progress rather than from the start of the wait.
void ReadAhead::waitUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready)
{
    using std::chrono::steady_clock;
    State& s = *state_;
    const auto progress = [&] { return s.progress_.load(std::memory_order_relaxed) + FolderScan::listingsRead(); };
    std::uint64_t seen = progress();
    if (!ready()) {
        // The threads are most often a moment away from what the walk waits
        // for: a few yields until they get on cost less than a sleep and a
        // wake-up.
        lock.unlock();
        for (int i = 0; i < 64 && progress() == seen; ++i)
            std::this_thread::yield();
        lock.lock();
    }
    auto deadline = steady_clock::now() + stallLimit_;
    auto nextSlice = steady_clock::now() + waitSlice;
    while (!ready()) {
        s.walkWakes_.wait_until(lock, std::min(deadline, nextSlice));
        if (ready())
            return;
        const auto now = steady_clock::now();
        if (now < nextSlice && now < deadline)
            continue;
        nextSlice = now + waitSlice;
        if (const std::uint64_t p = progress(); p != seen) {
            seen = p;
            deadline = now + stallLimit_;
        } else if (now >= deadline) {
            giveUp();
            throw RuntimeError(err::DiskNotReady, err::FolderQuery, ETIMEDOUT);
        }
        if (whileWaiting) {
            lock.unlock();
            const bool goOn = whileWaiting();
            lock.lock();
            if (!goOn) {
                giveUp();
                throw Abandoned{};
            }
        }
    }
}

// Nothing more is read, and the threads are left to end whenever their
// calls return. The lock is held.
void ReadAhead::giveUp()
{
    State& s = *state_;
    stalled_ = true;
    s.stopping_ = true;
    s.readerWakes_.notify_all();
    s.measurerWakes_.notify_all();
    ++s.session_;
    s.queue_.clear();
    s.queuedBytes_ = 0;
    s.taken_.reset();
}

void ReadAhead::start(std::shared_ptr<const FolderScan> parent, std::uint32_t index)
{
    State& s = *state_;
    if (stalled_)
        return;
    {
        const std::lock_guard lock(s.mutex_);
        s.decideCallers(*parent);
        ++s.session_;
        s.queue_.clear();
        s.queuedBytes_ = 0;
        s.pending_ = State::Start{std::move(parent), index};
    }
    s.readerWakes_.notify_all();
}

std::shared_ptr<const FolderScan> ReadAhead::take(const FolderScan* parent, std::uint32_t index)
{
    if (stalled_)
        throw RuntimeError(err::DiskNotReady, err::FolderQuery, ETIMEDOUT);
    State& s = *state_;
    std::shared_ptr<Folder> folder;
    {
        std::unique_lock lock(s.mutex_);
        waitUntil(lock, [&] { return !s.queue_.empty() || (!s.reading_ && !s.pending_); });
        if (s.queue_.empty())
            return nullptr;
        folder = std::move(s.queue_.front());
        s.queue_.pop_front();
        if (folder->parent.get() != parent || folder->index != index) {
            // Not the walk's order: nothing read ahead of this subtree is used.
            ++s.session_;
            s.queue_.clear();
            s.queuedBytes_ = 0;
            s.readerWakes_.notify_all();
            return nullptr;
        }
        s.queuedBytes_ -= folder->bytes;
        s.taken_ = folder;
    }
    // The measuring thread knew the folder while it was queued.
    s.readerWakes_.notify_all();
    if (folder->error)
        throw *folder->error;
    waitForLengths(*folder);
    return folder->scan;
}

void ReadAhead::waitForLengths(const Folder& folder)
{
    const auto count = static_cast<std::uint32_t>(folder.scan->files().size());
    const auto ready = [&] {
        return folder.done.load(std::memory_order_acquire) >= count
            && (!folder.sortFiles || count < 2 || folder.scan->filesSorted());
    };
    if (!ready()) {
        std::unique_lock lock(state_->mutex_);
        waitUntil(lock, ready);
    }
}

void ReadAhead::setSortFiles(bool on)
{
    state_->sortFiles_.store(on, std::memory_order_relaxed);
}

void ReadAhead::measure(std::shared_ptr<const FolderScan> scan)
{
    if (stalled_)
        throw RuntimeError(err::DiskNotReady, err::FolderQuery, ETIMEDOUT);
    State& s = *state_;
    auto folder = std::make_shared<Folder>();
    folder->scan = std::move(scan);
    folder->hiddenAndSystem = true;
    folder->sortFiles = s.sortsAhead(*folder->scan);
    {
        const std::lock_guard lock(s.mutex_);
        s.decideCallers(*folder->scan);
        s.taken_ = folder;
    }
    s.readerWakes_.notify_all();
    s.measurerWakes_.notify_all();
    waitForLengths(*folder);
}

bool ReadAhead::nextReady()
{
    State& s = *state_;
    std::lock_guard lock(s.mutex_);
    return stalled_ || !s.queue_.empty() || (!s.reading_ && !s.pending_);
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
        if (scan && levelAt(level).entersNext && (level + 1 < levels_.size() || levels_.back().entersNext)
            && !scan->folders().empty())
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
