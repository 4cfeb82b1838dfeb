#include "answer_in_time.h"

#include <future>
#include <mutex>
#include <set>
#include <thread>

namespace dorvelix {

bool runInTime(const std::string& mountPoint, std::function<void()> call)
{
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
    return answered.wait_for(AnswerLimit) == std::future_status::ready;
}

}  // namespace dorvelix
