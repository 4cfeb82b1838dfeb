// The bound on a call that may hang on a mount, with the caller's work run
// while it waits: it runs until the call answers, and the bound holds
// whatever it does.
#include "answer_in_time.h"

#include <QElapsedTimer>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace dorvelix;
using namespace std::chrono_literals;

TEST(AnswerInTime, TheCallersWorkRunsWhileItWaitsAndTheBoundHolds)
{
    // A call that answers once the caller's work has run three times.
    std::atomic<int> runs{0};
    const auto answer = answerInTime<int>(
        "/dorvelix-test-answers", [&] {
            while (runs.load() < 3)
                std::this_thread::sleep_for(1ms);
            return 42;
        },
        [&] { ++runs; });
    EXPECT_EQ(answer, 42);
    EXPECT_GE(runs.load(), 3);

    // A call that does not answer: given up at the limit, however long the
    // caller's work takes; meanwhile the mount answers no other call.
    auto release = std::make_shared<std::atomic<bool>>(false);
    runs = 0;
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(runInTime(
        "/dorvelix-test-stuck",
        [release] {
            while (!release->load())
                std::this_thread::sleep_for(1ms);
        },
        [&] {
            ++runs;
            std::this_thread::sleep_for(10ms);
        }));
    const qint64 waited = clock.elapsed();
    EXPECT_GE(waited, std::chrono::milliseconds(AnswerLimit).count());
    EXPECT_LT(waited, std::chrono::milliseconds(AnswerLimit).count() + 500);
    EXPECT_GE(runs.load(), 10);
    clock.restart();
    EXPECT_FALSE(runInTime("/dorvelix-test-stuck", [] {}, [&] { ++runs; }));
    EXPECT_LT(clock.elapsed(), 100);

    // Once the stuck call ends, the mount answers again; without work to run
    // the caller simply waits.
    release->store(true);
    bool answered = false;
    for (int i = 0; i < 100 && !answered; ++i) {
        answered = runInTime("/dorvelix-test-stuck", [] {});
        if (!answered)
            std::this_thread::sleep_for(10ms);
    }
    EXPECT_TRUE(answered);
}
