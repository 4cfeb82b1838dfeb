#include "answer_in_time.h"

#include "drives.h"

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <future>
#include <mutex>
#include <set>
#include <thread>

namespace dorvelix {

bool runInTime(const std::string& mountPoint, std::function<void()> call, const std::function<void()>& whileWaiting)
{
    const auto deadline = std::chrono::steady_clock::now() + AnswerLimit;
    struct Waiting {
        std::mutex mutex;
        std::set<std::string> mountPoints;
    };
    static auto* waiting = new Waiting;  // never destroyed: abandoned workers may outlive main
    {
        const std::lock_guard lock(waiting->mutex);
        if (!waiting->mountPoints.insert(mountPoint).second)
            return false;
    }
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> answered = done->get_future();
    std::thread([mountPoint, call = std::move(call), done] {
        call();
        {
            const std::lock_guard lock(waiting->mutex);
            waiting->mountPoints.erase(mountPoint);
        }
        done->set_value();
    }).detach();
    if (!whileWaiting)
        return answered.wait_until(deadline) == std::future_status::ready;
    for (;;) {
        const auto sliceEnd = std::min(deadline, std::chrono::steady_clock::now() + WaitSlice);
        if (answered.wait_until(sliceEnd) == std::future_status::ready)
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        whileWaiting();
    }
}

bool folderAnswers(const std::string& path)
{
    if (path.empty() || path.front() != '/')
        return false;
    // A FUSE driver's kernel answers stat from its cache even after the
    // driver has stopped; access() and opening the folder always reach it,
    // and are what a file dialog does first.
    const auto isFolder = answerInTime<bool>(driveOf(path), [path] {
        if (::access(path.c_str(), F_OK) != 0)
            return false;
        const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return false;
        ::close(fd);
        return true;
    });
    return isFolder.value_or(false);
}

std::string firstAnsweringFolder(const std::vector<std::string>& candidates)
{
    for (const std::string& folder : candidates) {
        if (folderAnswers(folder))
            return folder;
    }
    const char* home = std::getenv("HOME");
    if (home && folderAnswers(home))
        return home;
    return "/";
}

}  // namespace dorvelix
