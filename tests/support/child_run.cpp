// Programs run as children of a test: tools run to their end, and the
// program under test watched for a bounded time.
#include "child_run.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace dorvelix::testing {

namespace {

std::string readAll(int fd)
{
    std::string text;
    char buf[4096];
    ssize_t n = 0;
    while ((n = ::read(fd, buf, sizeof buf)) > 0)
        text.append(buf, static_cast<size_t>(n));
    ::close(fd);
    return text;
}

}  // namespace

std::vector<char*> argvOf(std::vector<std::string>& args)
{
    std::vector<char*> v;
    for (std::string& a : args)
        v.push_back(a.data());
    v.push_back(nullptr);
    return v;
}

ToolRun runTool(const std::vector<std::string>& argv)
{
    ToolRun run;
    std::vector<std::string> args = argv;
    // Root's tools live in sbin, which a test's PATH may lack.
    std::string path = ::getenv("PATH") ? ::getenv("PATH") : "/usr/bin:/bin";
    ::setenv("PATH", (path + ":/usr/sbin:/sbin").c_str(), 1);
    int out[2], err[2];
    if (::pipe(out) != 0 || ::pipe(err) != 0)
        return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    pid_t pid = -1;
    const int rc = ::posix_spawnp(&pid, args[0].c_str(), &actions, nullptr, argvOf(args).data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::setenv("PATH", path.c_str(), 1);
    ::close(out[1]);
    ::close(err[1]);
    if (rc != 0) {
        ::close(out[0]);
        ::close(err[0]);
        run.err = args[0] + ": " + std::strerror(rc);
        return run;
    }
    // Drain stderr in a thread so that neither pipe can fill up and stall the tool.
    std::thread errReader([&] { run.err = readAll(err[0]); });
    run.out = readAll(out[0]);
    errReader.join();
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

ChildRun::ChildRun(const std::vector<std::string>& argv)
{
    std::vector<std::string> args = argv;
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        return;
    if (::pipe2(err, O_CLOEXEC) != 0) {
        ::close(out[0]);
        ::close(out[1]);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    if (::posix_spawn(&pid_, args[0].c_str(), &actions, nullptr, argvOf(args).data(), environ) != 0)
        pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    outFd_ = out[0];
    errFd_ = err[0];
}

ChildRun::~ChildRun()
{
    status();
    for (const int fd : {outFd_, errFd_}) {
        if (fd >= 0)
            ::close(fd);
    }
}

bool ChildRun::holdsOpen(const std::string& prefix) const
{
    // The child itself, or a process it started (the reader that lists a
    // drive which may stop answering).
    std::vector<std::string> pids{std::to_string(pid_)};
    std::error_code ec;
    for (const auto& task : std::filesystem::directory_iterator("/proc/" + pids.front() + "/task", ec)) {
        std::ifstream children(task.path() / "children");
        for (std::string pid; children >> pid;)
            pids.push_back(pid);
    }
    for (const std::string& pid : pids) {
        for (const auto& fd : std::filesystem::directory_iterator("/proc/" + pid + "/fd", ec)) {
            const std::string target = std::filesystem::read_symlink(fd.path(), ec).native();
            if (!ec && target.starts_with(prefix))
                return true;
        }
    }
    return false;
}

bool ChildRun::outputEnds(std::chrono::milliseconds limit)
{
    using namespace std::chrono;
    const auto until = steady_clock::now() + limit;
    while (outFd_ >= 0 || errFd_ >= 0) {
        const auto left = duration_cast<milliseconds>(until - steady_clock::now()).count();
        if (left <= 0)
            return false;
        pollfd fds[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
        if (::poll(fds, 2, static_cast<int>(left)) < 0 && errno != EINTR)
            return false;
        for (int k = 0; k < 2; ++k) {
            int& fd = k == 0 ? outFd_ : errFd_;
            if (fd < 0 || fds[k].revents == 0)
                continue;
            char buf[4096];
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n > 0) {
                (k == 0 ? out : err).append(buf, static_cast<size_t>(n));
            } else {
                ::close(fd);
                fd = -1;
            }
        }
    }
    ended_ = true;
    return true;
}

int ChildRun::status()
{
    if (pid_ <= 0 || reaped_)
        return status_;
    if (!ended_)
        ::kill(pid_, SIGKILL);
    int status = 0;
    if (::waitpid(pid_, &status, 0) == pid_)
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    reaped_ = true;
    return status_;
}

bool ChildRun::exitsWithin(std::chrono::milliseconds limit)
{
    using namespace std::chrono;
    if (pid_ <= 0)
        return false;
    const auto until = steady_clock::now() + limit;
    while (!reaped_) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            reaped_ = true;
            ended_ = true;
            break;
        }
        if (steady_clock::now() >= until)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    // What it wrote last is still in the pipes.
    outputEnds(1s);
    return true;
}

}  // namespace dorvelix::testing
