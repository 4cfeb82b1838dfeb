#include "read_ahead.h"

#include <algorithm>
#include <new>

namespace dorvelix {

namespace {
// Files whose lengths one claim reads.
constexpr std::uint32_t Chunk = 16;
}  // namespace

// One folder read ahead. The lengths of its files are read in chunks claimed
// through `claimed`, by the walk once it takes the folder and by the thread
// while it has nothing to list, so that both threads stay busy.
struct ReadAhead::Folder {
    std::shared_ptr<const FolderScan> parent;
    std::uint32_t index = 0;
    bool hiddenAndSystem = false;
    std::shared_ptr<FolderScan> scan;  // null when the folder could not be read
    std::optional<RuntimeError> error;
    size_t bytes = 0;
    std::atomic<std::uint32_t> claimed{0};
    std::atomic<std::uint32_t> done{0};
};

ReadAhead::ReadAhead(std::vector<Level> levels) : levels_(std::move(levels))
{
    thread_ = std::thread([this] { run(); });
}

ReadAhead::~ReadAhead()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        ++session_;
    }
    readerWakes_.notify_all();
    thread_.join();
}

void ReadAhead::start(std::shared_ptr<const FolderScan> parent, std::uint32_t index)
{
    {
        const std::lock_guard lock(mutex_);
        ++session_;
        queue_.clear();
        queuedBytes_ = 0;
        pending_ = Start{std::move(parent), index};
    }
    readerWakes_.notify_all();
}

std::shared_ptr<const FolderScan> ReadAhead::take(const FolderScan* parent, std::uint32_t index)
{
    std::shared_ptr<Folder> folder;
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            if (!queue_.empty()) {
                folder = std::move(queue_.front());
                queue_.pop_front();
                if (folder->parent.get() == parent && folder->index == index) {
                    queuedBytes_ -= folder->bytes;
                    taken_ = folder;
                    break;
                }
                // Not the walk's order: nothing read ahead of this subtree is used.
                ++session_;
                queue_.clear();
                queuedBytes_ = 0;
                readerWakes_.notify_all();
                return nullptr;
            }
            if (!reading_ && !pending_)
                return nullptr;
            walkWakes_.wait(lock);
        }
    }
    readerWakes_.notify_all();
    if (folder->error)
        throw *folder->error;
    while (readChunk(*folder)) {
    }
    const auto count = static_cast<std::uint32_t>(folder->scan->files().size());
    for (std::uint32_t done; (done = folder->done.load(std::memory_order_acquire)) < count;)
        folder->done.wait(done, std::memory_order_acquire);
    return folder->scan;
}

bool ReadAhead::nextReady()
{
    std::lock_guard lock(mutex_);
    return !queue_.empty() || (!reading_ && !pending_);
}

// Reads the lengths of one chunk of the folder's files; false when none is left.
bool ReadAhead::readChunk(Folder& folder)
{
    const auto count = static_cast<std::uint32_t>(folder.scan->files().size());
    const std::uint32_t from = folder.claimed.fetch_add(Chunk, std::memory_order_relaxed);
    if (from >= count)
        return false;
    const std::uint32_t to = std::min(count, from + Chunk);
    folder.scan->queryLengths(from, to, folder.hiddenAndSystem);
    if (folder.done.fetch_add(to - from, std::memory_order_acq_rel) + (to - from) == count)
        folder.done.notify_all();
    return true;
}

// The queued folder farthest from the walk whose lengths are not all claimed
// (the walk reads from the near end), else the folder the walk is reading;
// null when there is none. The lock is held.
std::shared_ptr<ReadAhead::Folder> ReadAhead::lengthsToRead() const
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

// Waits until the queue has room for one more folder, reading lengths in the
// meantime. False when the subtree is dropped.
bool ReadAhead::waitForRoom(unsigned session)
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
void ReadAhead::readLengthsBehind(unsigned session)
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

void ReadAhead::run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        readerWakes_.wait(lock, [&] { return stopping_ || pending_; });
        if (stopping_)
            return;
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

void ReadAhead::readSubtree(std::shared_ptr<const FolderScan> parent, std::uint32_t index, unsigned session)
{
    // The folders whose subfolders are still to be read, with the next one.
    struct Frame {
        std::shared_ptr<const FolderScan> scan;
        std::uint32_t next;
        size_t level;
    };
    std::vector<Frame> stack;
    std::shared_ptr<FolderScan> scan;
    const auto descend = [&](size_t level) {
        if (scan && levels_[level].entersNext && level + 1 < levels_.size() && !scan->folders().empty())
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

bool ReadAhead::readFolder(const std::shared_ptr<const FolderScan>& parent, std::uint32_t index, size_t level,
                           unsigned session, std::shared_ptr<FolderScan>& scan)
{
    if (!waitForRoom(session))
        return false;
    auto folder = std::make_shared<Folder>();
    folder->parent = parent;
    folder->index = index;
    folder->hiddenAndSystem = levels_[level].hiddenAndSystem;
    try {
        folder->scan = FolderScan::read(parent->childPath(parent->name(parent->folders()[index])), parent.get());
        folder->bytes = folder->scan->footprint();
    } catch (const RuntimeError& e) {
        folder->error = e;
    } catch (const std::bad_alloc&) {
        folder->error = RuntimeError(err::OutOfMemory);
    }
    scan = folder->scan;
    {
        const std::lock_guard lock(mutex_);
        if (session != session_)
            return false;
        queuedBytes_ += folder->bytes;
        queue_.push_back(std::move(folder));
    }
    walkWakes_.notify_all();
    return true;
}

}  // namespace dorvelix
