// The mount points of the mount table as boundaries of every folder list: a
// mount point is known from the table by its path, so a list never lists it,
// never stats it and never enters it. That keeps a walk on one file system,
// counts the files of a bind mount once (under their own folder), and passes
// by a mount whose driver has died or hangs without touching it.
#pragma once

#include "mount_table.h"

#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace dorvelix {

class MountBoundaries {
public:
    explicit MountBoundaries(std::vector<MountEntry> table);

    // The table as it is now. The snapshot is read once and read again only
    // after the kernel has signalled a change of the table (POLLPRI on
    // /proc/self/mountinfo, asked without waiting), so asking is cheap.
    // Safe to call from any thread.
    static std::shared_ptr<const MountBoundaries> current();

    using Names = std::set<std::string, std::less<>>;
    // The names of the mount points directly inside folder (a path without a
    // trailing "/", or "/"); nullptr when it holds none, as most folders do.
    const Names* mountPointsIn(std::string_view folder) const;
    // Whether path (without a trailing "/", or "/") is a mount point.
    bool isMountPoint(std::string_view path) const;
    // The mounts that a path reaches (see visibleMounts), in table order.
    const std::vector<MountEntry>& table() const { return table_; }

private:
    std::vector<MountEntry> table_;
    std::unordered_map<std::string, Names> byFolder_;
};

}  // namespace dorvelix
