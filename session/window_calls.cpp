#include "window_calls.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <exception>

namespace dorvelix {

// Shared between this object and the tasks it has posted, which may run
// after it has gone: they then find `alive` false and do nothing.
struct WindowCalls::Waiting {
    std::mutex mutex;
    std::condition_variable changed;
    bool alive = true;
    bool abandoned = false;
};

namespace {

// One call's progress on the window's thread.
struct Call {
    bool started = false;
    bool done = false;
    bool cancelled = false;  // the worker no longer waits: never run it
    bool returned = false;   // a task that answers later has returned
    std::exception_ptr failure;  // what the task raised, raised again on the worker
};

}  // namespace

WindowCalls::WindowCalls() : state_(std::make_shared<Waiting>()) {}

WindowCalls::~WindowCalls()
{
    const std::lock_guard lock(state_->mutex);
    state_->alive = false;
    state_->abandoned = true;
    state_->changed.notify_all();
}

bool WindowCalls::onWindowThread() const
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app == nullptr || QThread::currentThread() == app->thread();
}

void WindowCalls::call(const std::function<void()>& task)
{
    if (onWindowThread()) {
        task();
        return;
    }
    const std::shared_ptr<Waiting> state = state_;
    const auto call = std::make_shared<Call>();
    {
        const std::lock_guard lock(state->mutex);
        if (state->abandoned)
            return;
    }
    // The task is referred to, not copied: the worker waits until it has run
    // or will never run.
    const std::function<void()>* shared = &task;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [state, call, shared] {
            {
                const std::lock_guard lock(state->mutex);
                if (state->abandoned || call->cancelled)
                    return;
                call->started = true;
            }
            // What the task raises goes back to the worker that asked for
            // it, as a call on its own thread would raise it; it must not
            // leave through the event loop, nor leave the worker waiting.
            std::exception_ptr failure;
            try {
                (*shared)();
            } catch (...) {
                failure = std::current_exception();
            }
            const std::lock_guard lock(state->mutex);
            call->failure = failure;
            call->done = true;
            state->changed.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(state->mutex);
    // A call the window has begun runs to its end (it may be a box the user
    // answers, which the closing window dismisses).
    state->changed.wait(lock, [&] { return call->done || (state->abandoned && !call->started); });
    call->cancelled = !call->done;
    if (call->failure)
        std::rethrow_exception(call->failure);
}

void WindowCalls::callUntilDone(const std::function<void(std::function<void()> done)>& task)
{
    const std::shared_ptr<Waiting> state = state_;
    const auto call = std::make_shared<Call>();
    const auto done = [state, call] {
        const std::lock_guard lock(state->mutex);
        call->done = true;
        state->changed.notify_all();
    };
    if (onWindowThread()) {
        // Without a window's thread to wait on, the task answers at once.
        task(done);
        return;
    }
    {
        const std::lock_guard lock(state->mutex);
        if (state->abandoned)
            return;
    }
    const auto* shared = &task;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [state, call, shared, done] {
            {
                const std::lock_guard lock(state->mutex);
                if (state->abandoned || call->cancelled)
                    return;
                call->started = true;
            }
            (*shared)(done);
            // The task itself has returned: it no longer refers to the caller.
            const std::lock_guard lock(state->mutex);
            call->returned = true;
            state->changed.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(state->mutex);
    // Abandoned, the wait for the answer ends, once the task has returned.
    state->changed.wait(lock, [&] { return (call->done || state->abandoned) && (call->returned || !call->started); });
    call->cancelled = !call->started;
}

void WindowCalls::post(std::function<void()> task)
{
    const std::shared_ptr<Waiting> state = state_;
    if (QCoreApplication::instance() == nullptr) {
        task();
        return;
    }
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [state, task = std::move(task)] {
            {
                const std::lock_guard lock(state->mutex);
                if (!state->alive)
                    return;
            }
            task();
        },
        Qt::QueuedConnection);
}

void WindowCalls::abandon()
{
    const std::lock_guard lock(state_->mutex);
    state_->abandoned = true;
    state_->changed.notify_all();
}

void WindowCalls::reset()
{
    const std::lock_guard lock(state_->mutex);
    state_->abandoned = false;
}

}  // namespace dorvelix
