// Calls that may hang on a mount (a stale network mount, a FUSE driver that
// stands still) run on a worker thread and are waited for at most
// AnswerLimit. A call that does not answer by then is abandoned: the worker
// is detached, never waited for, and ends whenever the mount answers. Until
// it has, every further call for that mount gets no answer at once, so a hung
// mount never holds more than one worker. Volume queries and the first touch
// of a folder not read yet share this bound. A caller may have something
// run while it waits (a window repaints there); the bound stays the same.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dorvelix {

inline constexpr std::chrono::seconds AnswerLimit{2};
// How often whileWaiting runs during a wait.
inline constexpr std::chrono::milliseconds WaitSlice{25};

// Runs call (which must not throw) for the mount at mountPoint; true when it
// answered in time. While the caller waits, whileWaiting (when given) runs
// every WaitSlice; the limit counts from the start of the wait, so the wait
// ends at most one run of whileWaiting after AnswerLimit.
bool runInTime(const std::string& mountPoint, std::function<void()> call,
               const std::function<void()>& whileWaiting = {});

// The answer of ask, run for the mount at mountPoint; nothing when it did
// not answer in time or the mount still holds an abandoned call.
template <class T>
std::optional<T> answerInTime(const std::string& mountPoint, std::function<T()> ask,
                              const std::function<void()>& whileWaiting = {})
{
    // Shared with the worker, which may outlive the caller's wait.
    auto answer = std::make_shared<std::optional<T>>();
    if (!runInTime(mountPoint, [answer, ask = std::move(ask)] { *answer = ask(); }, whileWaiting))
        return std::nullopt;
    return std::move(*answer);
}

// The first of candidates that is a folder whose drive answers in time (each
// asked with the bound above; empty ones skipped), else the home folder when
// it answers, else "/". A dialog that lists folders starts there, so that it
// never waits on a drive that has stopped answering.
std::string firstAnsweringFolder(const std::vector<std::string>& candidates);
// Whether path is a folder whose drive answers in time.
bool folderAnswers(const std::string& path);

}  // namespace dorvelix
