#include "folder_scan.h"

#include "answer_in_time.h"
#include "runtime_error.h"
#include "paths.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
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

void FolderScan::Free::operator()(void* p) const
{
    std::free(p);
}

// Reads every entry of the open folder with getdents64 (no second descriptor,
// one large buffer), classifying each without following links. Subfolders go
// to folders_, every other entry to files_. Entries named in mountPoints are
// left out before anything asks about them: any folder of another file system
// is one of them, so a folder needs no stat to tell where it lies.
bool FolderScan::readEntries(const MountBoundaries::Names* mountPoints)
{
    struct LinuxDirent64 {
        ino64_t d_ino;
        off64_t d_off;
        unsigned short d_reclen;
        unsigned char d_type;
        char d_name[];
    };
    constexpr size_t BufferSize = 64 * 1024;  // so that a name's offset in its buffer fits 16 bits
    alignas(8) static thread_local char buffer[BufferSize];
    // The names of one call are gathered here, then kept in a buffer of
    // their exact size.
    static thread_local char gathered[BufferSize];
    // Likewise the entries of the whole folder, so that each list is made
    // once at its size.
    static thread_local std::vector<FolderEntry> folders;
    static thread_local std::vector<FolderEntry> files;
    folders.clear();
    files.clear();
    created_.clear();
    for (;;) {
        const long n = ::syscall(SYS_getdents64, fd_, buffer, BufferSize);
        listingsRead_.fetch_add(1, std::memory_order_relaxed);
        if (n == 0) {
            // A large list is taken over rather than copied, so that it is
            // not held twice.
            // A list that grew far past its size is made exact: a folder of
            // 300,000 files would keep room for 524,288.
            const auto keep = [](std::vector<FolderEntry>& from, std::vector<FolderEntry>& to) {
                if (from.size() > 4096) {
                    to.swap(from);
                    if (to.capacity() - to.size() > to.size() / 8)
                        to.shrink_to_fit();
                } else {
                    to.assign(from.begin(), from.end());
                }
            };
            keep(folders, folders_);
            keep(files, files_);
            return true;
        }
        if (n < 0)
            return false;
        // The names of a call take less room than the call's records.
        if (names_.size() > 0xFFFF)
            throw std::bad_alloc();
        const auto chunkIndex = static_cast<std::uint32_t>(names_.size()) << 16;
        std::uint32_t used = 0;
        for (long pos = 0; pos < n;) {
            const auto* d = reinterpret_cast<const LinuxDirent64*>(buffer + pos);
            pos += d->d_reclen;
            const char* name = d->d_name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
                continue;
            if (mountPoints && mountPoints->contains(std::string_view(name)))
                continue;
            EntryKind kind;
            switch (d->d_type) {
            case DT_DIR: kind = EntryKind::Folder; break;
            case DT_REG: kind = EntryKind::Regular; break;
            case DT_LNK: kind = EntryKind::Link; break;
            case DT_CHR: case DT_BLK: case DT_FIFO: case DT_SOCK: kind = EntryKind::Special; break;
            default: {
                // The listing does not give the kind: ask the entry itself.
                struct stat st;
                kind = ::fstatat(fd_, name, &st, AT_SYMLINK_NOFOLLOW) != 0 ? EntryKind::Regular
                    : S_ISDIR(st.st_mode)                                  ? EntryKind::Folder
                    : S_ISREG(st.st_mode)                                  ? EntryKind::Regular
                    : S_ISLNK(st.st_mode)                                  ? EntryKind::Link
                                                                           : EntryKind::Special;
            }
            }
            const size_t size = std::strlen(name);
            std::memcpy(gathered + used, name, size + 1);
            const FolderEntry entry{chunkIndex | used, static_cast<std::uint16_t>(size), kind};
            used += static_cast<std::uint32_t>(size + 1);
            std::vector<FolderEntry>& list = kind == EntryKind::Folder ? folders : files;
            if (keepsCreationOrder_)
                created_.push_back({d->d_ino, static_cast<std::uint32_t>(list.size()) | (kind == EntryKind::Folder ? FolderBit : 0)});
            list.push_back(entry);
        }
        if (used == 0)
            continue;
        std::unique_ptr<char, Free> chunk(static_cast<char*>(std::malloc(used)));
        if (!chunk)
            throw std::bad_alloc();
        std::memcpy(chunk.get(), gathered, used);
        nameBytes_ += used;
        names_.push_back(std::move(chunk));
    }
}

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

std::shared_ptr<FolderScan> FolderScan::read(std::string_view path, const FolderScan* parent,
                                             std::shared_ptr<const MountBoundaries> boundaries,
                                             bool keepCreationOrder)
{
    const std::string clean = withoutTrailingSlashes(std::string(path));
    if (clean.empty() || clean.front() != '/')
        throw RuntimeError(err::PathNotFound, err::FolderQuery, ENOENT);

    std::shared_ptr<FolderScan> scan(new FolderScan);
    scan->keepsCreationOrder_ = keepCreationOrder || (parent && parent->keepsCreationOrder_);
    // Inside a walk a subfolder is opened relative to its parent's open
    // folder: no path is resolved again, and long paths do not matter.
    // A scan the reader made holds no open folder: its subfolders are
    // opened by their paths.
    const bool childOfParent = parent && parent->fd_ >= 0 && clean.size() > parent->path_.size()
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
    if (childOfParent && !parent->realPath_.empty()) {
        std::string& real = scan->realPath_;
        real.reserve(parent->realPath_.size() + 1 + (clean.size() - nameStart));
        real = parent->realPath_;
        if (real != "/")
            real += '/';
        real.append(clean, nameStart);
    } else
        scan->realPath_ = realPathOf(scan->fd_);
    const std::string& known = scan->realPath_.empty() ? clean : scan->realPath_;

    // A drive's root folder is a mount point.
    scan->isRoot_ = scan->boundaries_->isMountPoint(known);
    scan->path_ = scan->isRoot_ && clean != "/" ? clean + '/' : clean;

    if (!scan->readEntries(scan->boundaries_->mountPointsIn(known)))
        throw RuntimeError(folderErrorNumber(errno), err::FolderQuery, errno);
    // Subfolders are always wanted in list order: the walk visits them so.
    // Files are sorted only by the lists whose order is seen.
    if (scan->folders_.size() > 1) {
        std::vector<std::uint32_t> order(scan->folders_.size());
        for (std::uint32_t i = 0; i < order.size(); ++i)
            order[i] = i;
        scan->sortInListOrder(order, scan->folders_);
        std::vector<FolderEntry> sorted;
        sorted.reserve(order.size());
        for (const std::uint32_t i : order)
            sorted.push_back(scan->folders_[i]);
        scan->folders_ = std::move(sorted);
        if (scan->keepsCreationOrder_) {
            std::vector<std::uint32_t> sortedAt(order.size());
            for (std::uint32_t at = 0; at < order.size(); ++at)
                sortedAt[order[at]] = at;
            for (Created& c : scan->created_) {
                if (c.entry & FolderBit)
                    c.entry = sortedAt[c.entry & ~FolderBit] | FolderBit;
            }
        }
    }
    if (!scan->files_.empty()) {
        scan->lengths_ = std::make_unique_for_overwrite<long long[]>(scan->files_.size());
        std::fill_n(scan->lengths_.get(), scan->files_.size(), NotQueried);
    }
    return scan;
}

std::shared_ptr<FolderScan> FolderScan::readInTime(std::string_view path, const std::function<void()>& whileWaiting,
                                                   bool keepCreationOrder)
{
    const std::string folder(path);
    const auto boundaries = MountBoundaries::current();
    const MountEntry* mount = mountHolding(boundaries->table(), folder);
    struct Answer {
        std::shared_ptr<FolderScan> scan;
        std::optional<RuntimeError> error;
    };
    const std::optional<Answer> answer
        = answerInTime<Answer>(mount ? mount->mountPoint : std::string("/"), [folder, boundaries, keepCreationOrder]() -> Answer {
              try {
                  return {read(folder, nullptr, boundaries, keepCreationOrder), std::nullopt};
              } catch (const RuntimeError& e) {
                  return {nullptr, e};
              } catch (const std::bad_alloc&) {
                  return {nullptr, RuntimeError(err::OutOfMemory)};
              }
          },
          whileWaiting);
    if (!answer)
        throw RuntimeError(err::DiskNotReady, err::FolderQuery, ETIMEDOUT);
    if (answer->error)
        throw *answer->error;
    return answer->scan;
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

int FolderScan::entryStatus(const FolderEntry& entry, struct ::stat& status) const
{
    if (fd_ < 0)
        return ENOTCONN;
    return ::fstatat(fd_, cName(entry), &status, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
}

long long FolderScan::queryLength(std::uint32_t file) const
{
    // A scan the reader made has every length already; should one be
    // missing, it is not asked of the drive here, where a driver that stopped
    // answering would hold up the caller.
    if (fd_ < 0)
        return lengths_[file] = -ENOTCONN;
    struct stat st;
    const long long length = ::fstatat(fd_, cName(files_[file]), &st, AT_SYMLINK_NOFOLLOW) == 0
        ? static_cast<long long>(st.st_size) : -errno;
    if (length >= 0 && st.st_nlink > 1) {
        const std::lock_guard lock(linksMutex_);
        links_.push_back({file, FileIdentity{st.st_dev, st.st_ino}});
        linksSorted_ = links_.size() < 2 || (linksSorted_ && links_[links_.size() - 2].first < file);
        hasLinks_.store(true, std::memory_order_release);
    }
    lengths_[file] = length;
    return length;
}

std::optional<FileIdentity> FolderScan::sharedIdentity(std::uint32_t file) const
{
    if (!hasLinks_.load(std::memory_order_acquire))
        return std::nullopt;
    const std::lock_guard lock(linksMutex_);
    if (!linksSorted_) {
        std::sort(links_.begin(), links_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        linksSorted_ = true;
    }
    const auto it = std::lower_bound(links_.begin(), links_.end(), file,
                                     [](const auto& link, std::uint32_t f) { return link.first < f; });
    return it != links_.end() && it->first == file ? std::optional(it->second) : std::nullopt;
}

long long FolderScan::fileLength(std::uint32_t file) const
{
    const long long length = lengthOrError(file);
    if (length < 0)
        throw RuntimeError(lengthErrorNumber(static_cast<int>(-length)), err::LengthQuery);
    return length;
}

void FolderScan::queryLengths(std::uint32_t from, std::uint32_t to, bool hiddenAndSystem) const
{
    for (std::uint32_t i = from; i < to; ++i) {
        const FolderEntry& e = files_[i];
        if (listed(name(e), e.kind, hiddenAndSystem, hiddenAndSystem))
            queryLength(i);
    }
}

size_t FolderScan::footprint() const
{
    return sizeof(FolderScan) + nameBytes_ + (folders_.capacity() + files_.capacity()) * sizeof(FolderEntry)
        + created_.capacity() * sizeof(Created)
        + files_.size() * sizeof(long long) + links_.capacity() * sizeof(links_[0]);
}

}  // namespace dorvelix
