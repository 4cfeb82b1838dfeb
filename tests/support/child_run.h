// Programs run as children of a test: a tool run to its end with its output
// collected, and the program under test watched for a bounded time, so that
// a child stuck on a mount never holds up the test.
#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

namespace dorvelix::testing {

struct ToolRun {
    int status = -1;  // exit status; -1 when the tool could not be run
    std::string out, err;
};
// Runs a program found on PATH (or in /usr/sbin, /sbin) and collects its output.
ToolRun runTool(const std::vector<std::string>& argv);
// The arguments as an exec call takes them; they must outlive the result.
std::vector<char*> argvOf(std::vector<std::string>& args);

class ChildRun {
public:
    // Runs the program with this process's environment.
    explicit ChildRun(const std::vector<std::string>& argv);
    ~ChildRun();  // kills the child if it still runs and reaps it
    ChildRun(const ChildRun&) = delete;
    ChildRun& operator=(const ChildRun&) = delete;

    pid_t pid() const { return pid_; }
    // Whether the child, or a process it started, holds a folder open whose
    // path begins with prefix.
    bool holdsOpen(const std::string& prefix) const;
    // Collects output until both streams end or limit has passed; true when
    // they ended. A process may end its output before its last thread is
    // gone (one the kernel holds in a call to a stopped driver).
    bool outputEnds(std::chrono::milliseconds limit);
    // Whether the child has exited and been reaped within limit (its output
    // collected then); status() then tells its exit status.
    bool exitsWithin(std::chrono::milliseconds limit);
    // Waits for the child to end (killed first unless outputEnds or
    // exitsWithin answered true) and returns its exit status, -1 when it did
    // not exit by itself.
    int status();
    std::string out, err;

private:
    pid_t pid_ = -1;
    int outFd_ = -1, errFd_ = -1;
    bool ended_ = false;
    int status_ = -1;
    bool reaped_ = false;
};

}  // namespace dorvelix::testing
