// A complete walk that a tool window runs on a worker thread (the copy check,
// the cluster length comparison). The thread holds the job, never the window:
// the answer goes back through the application's event queue and reaches the
// window only while it still waits for it (the job's delivery is set and
// cleared on the window thread alone). A stop cancels the walk at its next
// folder and drops its answer; nothing ever waits for the thread.
#pragma once

#include "complete_walk.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMetaObject>
#include <functional>
#include <memory>
#include <thread>

namespace dorvelix {

template <class Answer>
class BackgroundWalk {
public:
    // Runs work on a worker thread; delivered gets its answer on the window
    // thread unless the walk was stopped first.
    void start(std::function<Answer(WalkProgress&)> work, std::function<void(const Answer&)> delivered)
    {
        job_ = std::make_shared<Job>();
        job_->deliver = std::move(delivered);
        elapsed_.start();
        std::thread([job = job_, work = std::move(work)] {
            auto answer = std::make_shared<Answer>(work(job->progress));
            QMetaObject::invokeMethod(
                qApp, [job, answer] {
                    if (job->deliver)
                        job->deliver(*answer);
                },
                Qt::QueuedConnection);
        }).detach();
    }

    // Cancels the walk; its answer, should it still come, goes nowhere.
    void stop()
    {
        if (!job_)
            return;
        job_->progress.cancel = true;
        job_->deliver = nullptr;
    }

    // Forgets the job once its answer came or it was stopped.
    void finish() { job_.reset(); }

    bool running() const { return job_ != nullptr; }
    // The counts so far; null when no walk runs.
    const WalkProgress* progress() const { return job_ ? &job_->progress : nullptr; }
    long long elapsedMilliseconds() const { return elapsed_.elapsed(); }

private:
    struct Job {
        WalkProgress progress;
        std::function<void(const Answer&)> deliver;
    };
    std::shared_ptr<Job> job_;
    QElapsedTimer elapsed_;
};

}  // namespace dorvelix
