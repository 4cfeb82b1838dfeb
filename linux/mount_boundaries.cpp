#include "mount_boundaries.h"

#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <unistd.h>

namespace dorvelix {

namespace {

// Splits "/a/b" into "/a" and "b", "/a" into "/" and "a".
std::pair<std::string_view, std::string_view> splitLast(std::string_view path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return {{}, path};
    return {slash == 0 ? path.substr(0, 1) : path.substr(0, slash), path.substr(slash + 1)};
}

}  // namespace

MountBoundaries::MountBoundaries(std::vector<MountEntry> table) : table_(visibleMounts(std::move(table)))
{
    for (const MountEntry& m : table_) {
        if (m.mountPoint.size() < 2 || m.mountPoint.front() != '/')
            continue;  // "/" lies inside no folder
        const auto [folder, name] = splitLast(m.mountPoint);
        if (!name.empty())
            byFolder_[std::string(folder)].emplace(name);
    }
}

const MountBoundaries::Names* MountBoundaries::mountPointsIn(std::string_view folder) const
{
    if (byFolder_.empty())
        return nullptr;
    const auto it = byFolder_.find(std::string(folder));
    return it == byFolder_.end() ? nullptr : &it->second;
}

bool MountBoundaries::isMountPoint(std::string_view path) const
{
    if (path == "/")
        return true;
    const auto [folder, name] = splitLast(path);
    const Names* names = mountPointsIn(folder);
    return names && names->contains(name);
}

std::shared_ptr<const MountBoundaries> MountBoundaries::current()
{
    static std::mutex mutex;
    static std::shared_ptr<const MountBoundaries> snapshot;
    // A descriptor of its own: the kernel tells each open table of a change once.
    static const int watch = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);

    const std::lock_guard lock(mutex);
    bool changed = !snapshot;
    if (watch >= 0) {
        pollfd p{watch, POLLPRI, 0};
        if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLPRI | POLLERR)))
            changed = true;
    } else {
        changed = true;  // no way to be told: read it each time
    }
    if (changed)
        snapshot = std::make_shared<const MountBoundaries>(readMountTable());
    return snapshot;
}

}  // namespace dorvelix
