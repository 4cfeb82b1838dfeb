#include "temp_tree.h"

#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace dorvelix::testing {

TempTree::TempTree()
{
    std::string pattern = (fs::temp_directory_path() / "dorvelix-test-XXXXXX").native();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    // Open to everyone, so that a case run as an unprivileged user can enter it.
    ::chmod(pattern.c_str(), 0755);
    root_ = pattern;
}

TempTree::~TempTree()
{
    // Give back permissions a test took away, so everything can be removed.
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root_, fs::directory_options::skip_permission_denied, ec);
         it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec))
            ::chmod(it->path().c_str(), 0755);
    }
    ::chmod(root_.c_str(), 0755);
    fs::remove_all(root_, ec);
}

std::string TempTree::path(std::string_view relative) const
{
    return root_ + "/" + std::string(relative);
}

std::string TempTree::folder(std::string_view relative) const
{
    const std::string p = path(relative);
    fs::create_directories(p);
    ::chmod(p.c_str(), 0755);
    return p;
}

std::string TempTree::file(std::string_view relative, long long length) const
{
    const std::string p = path(relative);
    fs::create_directories(fs::path(p).parent_path());
    const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::ftruncate(fd, length) != 0)
        throw std::runtime_error("cannot create " + p);
    ::close(fd);
    return p;
}

std::string TempTree::fileWith(std::string_view relative, std::string_view content) const
{
    const std::string p = file(relative, 0);
    const int fd = ::open(p.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0 || ::write(fd, content.data(), content.size()) != static_cast<ssize_t>(content.size()))
        throw std::runtime_error("cannot write " + p);
    ::close(fd);
    return p;
}

int runUnprivileged(const std::function<int()>& body)
{
    const passwd* nobody = ::getpwnam("nobody");
    if (!nobody)
        return -1;
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        if (::getuid() == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)
                ::_exit(125);
        }
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 126;
}

std::string captureUnprivileged(const std::function<std::string()>& body)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return "no pipe";
    const int status = runUnprivileged([&] {
        ::close(fds[0]);
        const std::string text = body();
        const bool written = ::write(fds[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
        ::close(fds[1]);
        return written ? 0 : 1;
    });
    ::close(fds[1]);
    std::string out;
    char buf[4096];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
        out.append(buf, static_cast<size_t>(n));
    ::close(fds[0]);
    if (status == -1)
        return "no unprivileged user";
    if (status != 0)
        out += "\n(child exit status " + std::to_string(status) + ")";
    return out;
}

}  // namespace dorvelix::testing
