// The kernel's mount table (/proc/self/mountinfo), read as it is: every mount
// with its mount point, source, type and device number.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dorvelix {

struct MountEntry {
    std::string mountPoint;  // exact bytes, escapes decoded
    std::string source;      // the mounted source as the table gives it ("/dev/vda", "tmpfs")
    std::string fsType;      // "ext4", "vfat", "fuse.fusefat" ...
    unsigned major = 0;      // the mount's device number
    unsigned minor = 0;
    std::string superOptions;  // the file system's own options ("ro,user_id=1000" ...)
    unsigned id = 0;         // the mount's ID, and that of the mount it lies on
    unsigned parentId = 0;
};

// The mounts of a mountinfo text, in table order (later mounts last).
// Lines that cannot be parsed are skipped.
std::vector<MountEntry> parseMountInfo(std::string_view text);

// The mounts that a path still reaches, in table order: a mount covered by a
// later mount on the same place or on a folder above it (one that is not its
// own ancestor) is left out, with every mount that lies on it.
std::vector<MountEntry> visibleMounts(std::vector<MountEntry> table);

// The mounts of the running process's mount namespace; empty when the table
// cannot be read.
std::vector<MountEntry> readMountTable();

// File systems that hold no user files (proc, sysfs, cgroup ...).
bool isPseudoFileSystem(std::string_view fsType);

// File systems served by a process or over a network (FUSE, NFS, SMB ...),
// whose driver can stop answering and leave every call waiting.
bool mayStopAnswering(std::string_view fsType);

// Whether path lies at or below mountPoint, compared by whole path components.
bool isUnder(std::string_view path, std::string_view mountPoint);

// The mount that holds path: the visible (last) mount on the longest mount
// point that path lies under. nullptr when none does.
const MountEntry* mountHolding(const std::vector<MountEntry>& table, std::string_view path);

// The mount table held open for its change mark: the kernel marks
// /proc/self/mountinfo with POLLPRI at every mount and unmount, so an event
// loop can wait on the descriptor for it. The descriptor is -1 when the
// table cannot be opened.
class MountTableChanges {
public:
    MountTableChanges();
    ~MountTableChanges();
    MountTableChanges(const MountTableChanges&) = delete;
    MountTableChanges& operator=(const MountTableChanges&) = delete;
    int descriptor() const { return fd_; }

private:
    int fd_ = -1;
};

}  // namespace dorvelix
