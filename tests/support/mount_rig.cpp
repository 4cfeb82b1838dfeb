#include "mount_rig.h"

#include "fat_volume.h"
#include "mount_table.h"
#include "temp_tree.h"

#include <cerrno>
#include <cstdint>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <poll.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace dorvelix::testing {

namespace {

// A new folder to mount on: parent/name when a parent is given, else a fresh
// temporary one; "" when it cannot be made. A parent without a name is
// mounted on as it is.
std::string mountFolder(const std::string& parent, const std::string& name)
{
    if (!parent.empty() && name.empty())
        return parent;
    if (!parent.empty()) {
        const std::string path = parent + "/" + name;
        return ::mkdir(path.c_str(), 0755) == 0 ? path : std::string();
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "dorvelix-mnt-XXXXXX").native();
    return ::mkdtemp(pattern.data()) ? pattern : std::string();
}

}  // namespace

bool isMountPoint(const std::string& path)
{
    for (const MountEntry& m : readMountTable()) {
        if (m.mountPoint == path)
            return true;
    }
    return false;
}

std::unique_ptr<TestMount> wideFatMount(const TempTree& tree, std::string& why)
{
    const std::string image = wideFatImage(tree, why);
    return image.empty() ? nullptr : TestMount::fusefat(image, why);
}

std::string wideFatImage(const TempTree& tree, std::string& why)
{
    const std::string image = tree.path("wide.img");
    tree.fileWith("src/A/a", "a");
    const std::vector<std::string> folders{"A", "B", "C", "D", "E", "F", "G", "H", "I"};
    for (size_t f = 1; f < folders.size(); ++f) {
        for (int i = 0; i < 500; ++i)
            tree.fileWith("src/" + folders[f] + "/file" + std::to_string(i) + ".txt", "x");
    }
    if (runTool({"mkfs.fat", "-F", "16", "-C", image, "32768"}).status != 0) {
        why = "mkfs.fat (Debian package dosfstools) is missing";
        return {};
    }
    std::vector<std::string> copy{"mcopy", "-s", "-i", image};
    for (const std::string& folder : folders)
        copy.push_back(tree.path("src/" + folder));
    copy.push_back("::/");
    if (runTool(copy).status != 0) {
        why = "mcopy (Debian package mtools) is missing";
        return {};
    }
    return image;
}

std::unique_ptr<TestMount> TestMount::tmpfs(const std::string& options, std::string& why, const std::string& source,
                                            const std::string& parent, const std::string& name)
{
    std::unique_ptr<TestMount> m(new TestMount);
    m->path_ = mountFolder(parent, name);
    m->ownFolder_ = parent.empty() || !name.empty();
    if (m->path_.empty()) {
        why = "cannot make a mount folder";
        return nullptr;
    }
    // Words that are mount flags rather than tmpfs options ("strictatime")
    // go to the flags.
    unsigned long flags = 0;
    std::string data;
    for (size_t at = 0; at <= options.size();) {
        const size_t comma = std::min(options.find(',', at), options.size());
        const std::string word = options.substr(at, comma - at);
        if (word == "strictatime")
            flags |= MS_STRICTATIME;
        else if (!word.empty())
            data += (data.empty() ? "" : ",") + word;
        at = comma + 1;
    }
    if (::mount(source.c_str(), m->path_.c_str(), "tmpfs", flags, data.c_str()) != 0) {
        why = std::string("cannot mount a tmpfs here (needs root in a mount namespace that allows it): ")
            + std::strerror(errno);
        return nullptr;  // the destructor removes the folder
    }
    m->layers_ = 1;
    return m;
}

bool TestMount::stackTmpfs(const std::string& source)
{
    if (::mount(source.c_str(), path_.c_str(), "tmpfs", 0, "size=1m") != 0)
        return false;
    ++layers_;
    return true;
}

std::unique_ptr<TestMount> TestMount::bind(const std::string& source, std::string& why, const std::string& parent,
                                           const std::string& name)
{
    std::unique_ptr<TestMount> m(new TestMount);
    m->path_ = mountFolder(parent, name);
    if (m->path_.empty()) {
        why = "cannot make a mount folder";
        return nullptr;
    }
    if (::mount(source.c_str(), m->path_.c_str(), nullptr, MS_BIND, nullptr) != 0) {
        why = std::string("cannot bind-mount here (needs root): ") + std::strerror(errno);
        return nullptr;
    }
    m->layers_ = 1;
    return m;
}

std::unique_ptr<TestMount> TestMount::fusefat(const std::string& image, std::string& why, const std::string& parent,
                                              const std::string& name)
{
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        why = "no usable /dev/fuse here, so no FUSE volume can be mounted";
        return nullptr;
    }
    std::unique_ptr<TestMount> m(new TestMount);
    m->path_ = mountFolder(parent, name);
    if (m->path_.empty()) {
        why = "cannot make a mount folder";
        return nullptr;
    }
    // Mounted as a user does it, the image named from its own folder: the
    // mount table then gives "fusefat" as the source, not the image.
    const size_t slash = image.rfind('/');
    std::vector<std::string> args{"fusefat", "-f", "-o", "ro", image.substr(slash + 1), m->path_};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, image.substr(0, slash).c_str());
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const int rc = ::posix_spawnp(&m->driver_, "fusefat", &actions, nullptr, argvOf(args).data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        m->driver_ = -1;
        why = std::string("fusefat cannot be run (Debian package fusefat): ") + std::strerror(rc);
        return nullptr;
    }
    m->layers_ = 1;  // from here on the destructor detaches whatever got mounted
    using namespace std::chrono;
    for (const auto until = steady_clock::now() + seconds(10); steady_clock::now() < until;) {
        if (isMountPoint(m->path_))
            return m;
        int status = 0;
        if (::waitpid(m->driver_, &status, WNOHANG) == m->driver_) {
            m->driver_ = -1;
            why = "fusefat ended without mounting the image";
            return nullptr;
        }
        std::this_thread::sleep_for(milliseconds(20));
    }
    why = "fusefat did not mount the image within 10 s";
    return nullptr;
}

std::unique_ptr<TestMount> TestMount::onLoopDevice(const std::string& image, std::string& why)
{
    const ToolRun loop = runTool({"losetup", "--find", "--show", image});
    if (loop.status != 0 || loop.out.empty()) {
        why = "no loop device for the image (needs root and loop devices): " + loop.err;
        return nullptr;
    }
    std::unique_ptr<TestMount> m(new TestMount);
    m->loopDevice_ = loop.out.substr(0, loop.out.find('\n'));
    m->path_ = mountFolder({}, {});
    if (m->path_.empty()) {
        why = "cannot make a mount folder";
        return nullptr;
    }
    return m;
}

bool TestMount::runMounter(std::vector<std::string> args, std::string& why)
{
    // The mounter goes to the background once the volume is mounted; its
    // driver keeps the output it was given, so it gets none to hold.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const std::string path = ::getenv("PATH") ? ::getenv("PATH") : "/usr/bin:/bin";
    ::setenv("PATH", (path + ":/usr/sbin:/sbin").c_str(), 1);
    pid_t launcher = -1;
    const int rc = ::posix_spawnp(&launcher, args[0].c_str(), &actions, nullptr, argvOf(args).data(), environ);
    ::setenv("PATH", path.c_str(), 1);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (rc != 0 || ::waitpid(launcher, &status, 0) != launcher || !WIFEXITED(status) || WEXITSTATUS(status) != 0
        || !isMountPoint(path_)) {
        why = args[0] + " did not mount the image";
        return false;
    }
    layers_ = 1;
    return true;
}

std::unique_ptr<TestMount> TestMount::exfatFuse(const std::string& image, std::string& why)
{
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        why = "no usable /dev/fuse here, so no FUSE volume can be mounted";
        return nullptr;
    }
    auto m = onLoopDevice(image, why);
    if (!m || !m->runMounter({"mount.exfat-fuse", m->loopDevice_, m->path_}, why)) {
        why += " (Debian package exfat-fuse)";
        return nullptr;
    }
    return m;
}

std::unique_ptr<TestMount> TestMount::ntfs3g(const std::string& image, std::string& why)
{
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        why = "no usable /dev/fuse here, so no FUSE volume can be mounted";
        return nullptr;
    }
    auto m = onLoopDevice(image, why);
    if (!m || !m->runMounter({"ntfs-3g", m->loopDevice_, m->path_}, why)) {
        why += " (Debian package ntfs-3g)";
        return nullptr;
    }
    return m;
}

std::unique_ptr<TestMount> TestMount::kernel(const std::string& image, const std::string& type, std::string& why,
                                             const std::string& options)
{
    auto m = onLoopDevice(image, why);
    if (!m)
        return nullptr;
    if (::mount(m->loopDevice_.c_str(), m->path_.c_str(), type.c_str(), 0, options.empty() ? nullptr : options.c_str())
        != 0) {
        why = "the kernel does not mount " + type + " here: " + std::strerror(errno);
        return nullptr;
    }
    m->layers_ = 1;
    return m;
}

std::unique_ptr<TestMount> TestMount::fuse2fs(const std::string& image, std::string& why)
{
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        why = "no usable /dev/fuse here, so no FUSE volume can be mounted";
        return nullptr;
    }
    std::unique_ptr<TestMount> m(new TestMount);
    m->path_ = mountFolder({}, {});
    if (m->path_.empty()) {
        why = "cannot make a mount folder";
        return nullptr;
    }
    m->writesBack_ = true;
    if (!m->runMounter({"fuse2fs", image, m->path_}, why)) {
        why += " (Debian package fuse2fs)";
        return nullptr;
    }
    return m;
}

void TestMount::killDriver()
{
    if (driver_ > 0) {
        ::kill(driver_, SIGKILL);
        ::waitpid(driver_, nullptr, 0);
        driver_ = -1;
    }
}

void TestMount::stopDriver(std::chrono::seconds resumeAfter)
{
    if (driver_ <= 0)
        return;
    ::kill(driver_, SIGSTOP);
    // The signal takes a moment: wait until every thread of the driver stands.
    using namespace std::chrono;
    for (const auto until = steady_clock::now() + seconds(5); steady_clock::now() < until;) {
        siginfo_t info {};
        if (::waitid(P_PID, static_cast<id_t>(driver_), &info, WSTOPPED | WNOHANG | WNOWAIT) == 0 && info.si_pid == driver_)
            break;
        std::this_thread::sleep_for(milliseconds(5));
    }
    resumer_ = std::jthread([driver = driver_, resumeAfter](std::stop_token stop) {
        std::mutex m;
        std::unique_lock lock(m);
        std::condition_variable_any().wait_for(lock, stop, resumeAfter, [] { return false; });
        ::kill(driver, SIGCONT);
    });
}

void TestMount::resumeDriver()
{
    resumer_ = {};
}

TestMount::~TestMount()
{
    resumer_ = {};  // resumes a stopped driver at once
    // A loop device's driver writes everything back when unmounted in
    // earnest; the device is let go once its driver has closed it.
    if ((!loopDevice_.empty() || writesBack_) && layers_ > 0 && ::umount(path_.c_str()) == 0)
        --layers_;
    // Detach lazily: a mount whose driver is gone cannot be unmounted otherwise.
    for (; layers_ > 0; --layers_)
        ::umount2(path_.c_str(), MNT_DETACH);
    if (!loopDevice_.empty()) {
        using namespace std::chrono;
        for (const auto until = steady_clock::now() + seconds(10); steady_clock::now() < until;) {
            if (runTool({"losetup", "--detach", loopDevice_}).status == 0)
                break;
            std::this_thread::sleep_for(milliseconds(50));
        }
    }
    if (driver_ > 0) {
        ::kill(driver_, SIGTERM);
        ::waitpid(driver_, nullptr, 0);
    }
    if (!path_.empty() && ownFolder_)
        ::rmdir(path_.c_str());
}

}  // namespace dorvelix::testing
