// How a search on a worker thread reaches the window's thread: each call runs
// there, behind the window's pending events, while the worker waits for it,
// so that nothing the window reads changes while it runs. Once abandoned (the
// window is closing), a waiting call returns without having run and later
// calls do nothing, so the worker can end while no event loop turns.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace dorvelix {

class WindowCalls {
public:
    WindowCalls();
    ~WindowCalls();
    WindowCalls(const WindowCalls&) = delete;
    WindowCalls& operator=(const WindowCalls&) = delete;

    // Runs task on the window's thread and returns once it has run (at once
    // when called there), raising what the task raised. Without a window
    // thread (no application object), runs it on the caller's.
    void call(const std::function<void()>& task);
    // Starts task on the window's thread with a function to run once it is
    // done, and waits for that (or for the calls to be abandoned). What task
    // leaves running must not refer to the caller's data.
    void callUntilDone(const std::function<void(std::function<void()> done)>& task);
    // Runs task on the window's thread later, without waiting for it; it does
    // not run once this object has gone.
    void post(std::function<void()> task);
    // Every waiting call returns, and later calls do nothing, until reset().
    void abandon();
    void reset();
    bool onWindowThread() const;

private:
    struct Waiting;
    std::shared_ptr<Waiting> state_;
};

}  // namespace dorvelix
