// Runs a procedure's steps one by one so that a step that raises a run-time
// error is abandoned, the error handed to a reporter, and the next step runs.
#pragma once

#include "runtime_error.h"

#include <functional>
#include <new>
#include <utility>

namespace dorvelix {

class StepRunner {
public:
    using Reporter = std::function<void(const RuntimeError&)>;

    // A runner whose failures go to report; with no reporter they are dropped.
    explicit StepRunner(Reporter report = {}) : report_(std::move(report)) {}

    // Runs one step; returns false when it failed (and was reported).
    template <class Step>
    bool operator()(Step&& step)
    {
        try {
            std::forward<Step>(step)();
            return true;
        } catch (const RuntimeError& e) {
            fail(e);
        } catch (const std::bad_alloc&) {
            fail(RuntimeError(err::OutOfMemory));
        }
        return false;
    }

private:
    void fail(const RuntimeError& e)
    {
        if (report_)
            report_(e);
    }

    Reporter report_;
};

}  // namespace dorvelix
