#include "folder_scan.h"

#include "runtime_error.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
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

int lengthErrorNumber(int errnoValue)
{
    return (errnoValue == ENOENT || errnoValue == ENOTDIR) ? err::FileNotFound : err::BadFileName;
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

EntryKind kindFromMode(mode_t mode, dev_t entryDev, dev_t folderDev)
{
    if (S_ISDIR(mode))
        return entryDev == folderDev ? EntryKind::Folder : EntryKind::OtherFileSystem;
    if (S_ISREG(mode))
        return EntryKind::Regular;
    if (S_ISLNK(mode))
        return EntryKind::Link;
    return EntryKind::Special;
}

}  // namespace

std::shared_ptr<const FolderScan> FolderScan::read(std::string_view path, const FolderScan* parent)
{
    std::string clean(path);
    while (clean.size() > 1 && clean.back() == '/')
        clean.pop_back();
    if (clean.empty() || clean.front() != '/')
        throw RuntimeError(err::PathNotFound);

    std::shared_ptr<FolderScan> scan(new FolderScan);
    // Inside a walk the folder is opened relative to its parent's open folder.
    const std::string_view parentPath = parent ? std::string_view(parent->path_) : std::string_view();
    if (parent && clean.size() > parentPath.size() && clean.compare(0, parentPath.size(), parentPath) == 0
        && (parent->isRoot_ || clean[parentPath.size()] == '/')) {
        const size_t nameStart = parent->isRoot_ ? parentPath.size() : parentPath.size() + 1;
        const std::string name = clean.substr(nameStart);
        if (name.find('/') == std::string::npos)
            scan->fd_ = openReadOnly(parent->fd_, name.c_str(), O_DIRECTORY | O_NOFOLLOW);
        else
            scan->fd_ = openReadOnly(AT_FDCWD, clean.c_str(), O_DIRECTORY | O_NOFOLLOW);
    } else {
        scan->fd_ = openReadOnly(AT_FDCWD, clean.c_str(), O_DIRECTORY | O_NOFOLLOW);
    }
    if (scan->fd_ < 0)
        throw RuntimeError(err::PathNotFound);

    struct stat self {}, up {};
    if (::fstat(scan->fd_, &self) != 0)
        throw RuntimeError(err::PathNotFound);
    // A folder whose parent lies on another file system, or is itself, is the
    // root folder of its drive.
    scan->isRoot_ = clean == "/"
        || (::fstatat(scan->fd_, "..", &up, 0) == 0 && (up.st_dev != self.st_dev || up.st_ino == self.st_ino));
    scan->path_ = scan->isRoot_ && clean != "/" ? clean + '/' : clean;

    const int listFd = ::dup(scan->fd_);
    DIR* dir = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
    if (!dir) {
        if (listFd >= 0)
            ::close(listFd);
        throw RuntimeError(err::PathNotFound);
    }
    errno = 0;
    while (const dirent* d = ::readdir(dir)) {
        const char* name = d->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        EntryKind kind;
        struct stat st {};
        switch (d->d_type) {
        case DT_REG: kind = EntryKind::Regular; break;
        case DT_LNK: kind = EntryKind::Link; break;
        case DT_CHR: case DT_BLK: case DT_FIFO: case DT_SOCK: kind = EntryKind::Special; break;
        default:
            // Folders (to tell mount points of other file systems) and
            // entries whose kind the listing does not give.
            if (::fstatat(scan->fd_, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
                kind = d->d_type == DT_DIR ? EntryKind::Folder : EntryKind::Regular;
                break;
            }
            kind = kindFromMode(st.st_mode, st.st_dev, self.st_dev);
        }
        scan->entries_.push_back({name, kind});
        errno = 0;
    }
    const bool readFailed = errno != 0;
    ::closedir(dir);
    if (readFailed)
        throw RuntimeError(err::PathNotFound);

    std::sort(scan->entries_.begin(), scan->entries_.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return listOrderLess(a.name, b.name); });
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
        throw RuntimeError(lengthErrorNumber(errno));
    return static_cast<long long>(st.st_size);
}

}  // namespace dorvelix
