#include "folder_scan.h"

#include "runtime_error.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <dirent.h>
#include <sys/syscall.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dorvelix {

int openReadOnly(int dirFd, const char* path, int extraFlags)
{
    const int flags = O_RDONLY | O_CLOEXEC | extraFlags;
    int fd = ::openat(dirFd, path, flags | O_NOATIME);
    if (fd < 0 && errno == EPERM)  // O_NOATIME is only for the owner
        fd = ::openat(dirFd, path, flags);
    return fd;
}

namespace {

// Errors by which the system says the drive itself is no longer there.
bool driveHasGone(int errnoValue)
{
    switch (errnoValue) {
    case ENOTCONN: case ENODEV: case ENXIO: case ENOMEDIUM: case ESTALE: case ESHUTDOWN:
        return true;
    default:
        return false;
    }
}

}  // namespace

int lengthErrorNumber(int errnoValue)
{
    if (driveHasGone(errnoValue))
        return err::DiskNotReady;
    return (errnoValue == ENOENT || errnoValue == ENOTDIR) ? err::FileNotFound : err::BadFileName;
}

int folderErrorNumber(int errnoValue)
{
    return driveHasGone(errnoValue) ? err::DiskNotReady : err::PathNotFound;
}

bool listOrderLess(std::string_view a, std::string_view b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char ca = static_cast<unsigned char>(a[i]);
        unsigned char cb = static_cast<unsigned char>(b[i]);
        if (ca >= 'A' && ca <= 'Z') ca += 'a' - 'A';
        if (cb >= 'A' && cb <= 'Z') cb += 'a' - 'A';
        if (ca != cb)
            return ca < cb;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

namespace {

EntryKind kindFromMode(mode_t mode)
{
    if (S_ISDIR(mode))
        return EntryKind::Folder;
    if (S_ISREG(mode))
        return EntryKind::Regular;
    if (S_ISLNK(mode))
        return EntryKind::Link;
    return EntryKind::Special;
}

// Sorts entries as listOrderLess does. Each name's case-folded key is made
// once, and its first eight bytes are packed into a number, so that most
// comparisons are one integer comparison; the entries are moved once. This
// matters for folders of many thousands.
void sortInListOrder(std::vector<FolderEntry>& entries)
{
    struct Key {
        std::uint64_t head;  // the first eight folded bytes, big-endian, zero-padded
        std::uint32_t index;
    };
    const size_t n = entries.size();
    std::vector<std::string> folded(n);
    std::vector<Key> keys(n);
    for (size_t i = 0; i < n; ++i) {
        std::string& f = folded[i];
        f = entries[i].name;
        std::uint64_t head = 0;
        for (size_t k = 0; k < f.size(); ++k) {
            char& c = f[k];
            if (c >= 'A' && c <= 'Z')
                c += 'a' - 'A';
            if (k < 8)
                head |= static_cast<std::uint64_t>(static_cast<unsigned char>(c)) << (56 - 8 * k);
        }
        keys[i] = {head, static_cast<std::uint32_t>(i)};
    }
    // Names hold no NUL byte, so the zero padding puts a shorter name first.
    std::sort(keys.begin(), keys.end(), [&](const Key& a, const Key& b) {
        if (a.head != b.head)
            return a.head < b.head;
        const int byKey = folded[a.index].compare(folded[b.index]);
        return byKey != 0 ? byKey < 0 : entries[a.index].name < entries[b.index].name;
    });
    std::vector<FolderEntry> sorted;
    sorted.reserve(n);
    for (const Key& k : keys)
        sorted.push_back(std::move(entries[k.index]));
    entries = std::move(sorted);
}

}  // namespace

namespace {

// Reads every entry of the open folder fd with getdents64 (no second
// descriptor, one large buffer), classifying each without following links.
// Entries named in mountPoints are left out before anything asks about them:
// any folder of another file system is one of them, so a folder needs no
// stat to tell where it lies.
bool readEntries(int fd, const MountBoundaries::Names* mountPoints, std::vector<FolderEntry>& out)
{
    struct LinuxDirent64 {
        ino64_t d_ino;
        off64_t d_off;
        unsigned short d_reclen;
        unsigned char d_type;
        char d_name[];
    };
    alignas(8) static thread_local char buffer[64 * 1024];
    for (;;) {
        const long n = ::syscall(SYS_getdents64, fd, buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0)
            return false;
        for (long pos = 0; pos < n;) {
            const auto* d = reinterpret_cast<const LinuxDirent64*>(buffer + pos);
            pos += d->d_reclen;
            const char* name = d->d_name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
                continue;
            if (mountPoints && mountPoints->contains(std::string_view(name)))
                continue;
            EntryKind kind;
            struct stat st {};
            switch (d->d_type) {
            case DT_DIR: kind = EntryKind::Folder; break;
            case DT_REG: kind = EntryKind::Regular; break;
            case DT_LNK: kind = EntryKind::Link; break;
            case DT_CHR: case DT_BLK: case DT_FIFO: case DT_SOCK: kind = EntryKind::Special; break;
            default:
                // The listing does not give the kind: ask the entry itself.
                kind = ::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) == 0 ? kindFromMode(st.st_mode)
                                                                          : EntryKind::Regular;
            }
            out.push_back({name, kind});
        }
    }
}

}  // namespace

namespace {

// The path the kernel knows an open folder by: without symbolic links, as
// the mount table names mount points. "" when it cannot tell.
std::string realPathOf(int fd)
{
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    std::string target(4096, '\0');
    const ssize_t n = ::readlink(link, target.data(), target.size());
    if (n <= 0 || static_cast<size_t>(n) >= target.size() || target.front() != '/')
        return {};
    target.resize(static_cast<size_t>(n));
    return target;
}

}  // namespace

std::shared_ptr<const FolderScan> FolderScan::read(std::string_view path, const FolderScan* parent,
                                                   std::shared_ptr<const MountBoundaries> boundaries)
{
    std::string clean(path);
    while (clean.size() > 1 && clean.back() == '/')
        clean.pop_back();
    if (clean.empty() || clean.front() != '/')
        throw RuntimeError(err::PathNotFound, err::FolderQuery, ENOENT);

    std::shared_ptr<FolderScan> scan(new FolderScan);
    // Inside a walk a subfolder is opened relative to its parent's open
    // folder: no path is resolved again, and long paths do not matter.
    const bool childOfParent = parent && clean.size() > parent->path_.size()
        && clean.compare(0, parent->path_.size(), parent->path_) == 0
        && (parent->isRoot_ || clean[parent->path_.size()] == '/')
        && clean.find('/', parent->path_.size() + (parent->isRoot_ ? 0 : 1)) == std::string::npos;
    const size_t nameStart = childOfParent ? parent->path_.size() + (parent->isRoot_ ? 0 : 1) : 0;
    if (childOfParent)
        scan->fd_ = openReadOnly(parent->fd_, clean.c_str() + nameStart, O_DIRECTORY | O_NOFOLLOW);
    else
        scan->fd_ = openReadOnly(AT_FDCWD, clean.c_str(), O_DIRECTORY | O_NOFOLLOW);
    if (scan->fd_ < 0)
        throw RuntimeError(folderErrorNumber(errno), err::FolderQuery, errno);

    scan->boundaries_ = boundaries          ? std::move(boundaries)
                        : childOfParent && parent->boundaries_ ? parent->boundaries_
                                                               : MountBoundaries::current();
    if (childOfParent && !parent->realPath_.empty())
        scan->realPath_ = (parent->realPath_ == "/" ? "/" : parent->realPath_ + '/') + (clean.c_str() + nameStart);
    else
        scan->realPath_ = realPathOf(scan->fd_);
    const std::string& known = scan->realPath_.empty() ? clean : scan->realPath_;

    // A drive's root folder is a mount point.
    scan->isRoot_ = scan->boundaries_->isMountPoint(known);
    scan->path_ = scan->isRoot_ && clean != "/" ? clean + '/' : clean;

    if (!readEntries(scan->fd_, scan->boundaries_->mountPointsIn(known), scan->entries_))
        throw RuntimeError(folderErrorNumber(errno), err::FolderQuery, errno);
    sortInListOrder(scan->entries_);
    return scan;
}

FolderScan::~FolderScan()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::string FolderScan::childPath(std::string_view name) const
{
    std::string full = path_;
    if (!isRoot_)
        full += '/';
    full += name;
    return full;
}

long long FolderScan::entryLength(const std::string& name) const
{
    struct stat st {};
    if (::fstatat(fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        throw RuntimeError(lengthErrorNumber(errno), err::LengthQuery);
    return static_cast<long long>(st.st_size);
}

}  // namespace dorvelix
