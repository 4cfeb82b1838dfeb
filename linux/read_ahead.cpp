#include "read_ahead_state.h"

#include <algorithm>
#include <cerrno>

namespace dorvelix {

ReadAhead::ReadAhead(WalkLevels levels, std::chrono::milliseconds stallLimit)
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

}  // namespace dorvelix
