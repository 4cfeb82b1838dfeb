#include "file_query.h"

#include "folder_scan.h"
#include "runtime_error.h"
#include "paths.h"

#include <QDateTime>
#include <cerrno>
#include <fcntl.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace dorvelix {

namespace {

struct stat statOrThrow(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        throw RuntimeError(lengthErrorNumber(errno), err::LengthQuery);
    return st;
}

// The FAT attribute byte of a file on a FAT volume, or -1 where it cannot
// be read (other file systems, FUSE drivers, special files).
int fatAttributes(const std::string& path, const struct stat& st)
{
    constexpr long MsdosMagic = 0x4d44;
    struct statfs fs {};
    if (!(S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)) || ::statfs(path.c_str(), &fs) != 0
        || fs.f_type != MsdosMagic)
        return -1;
    const int fd = openReadOnly(AT_FDCWD, path.c_str(), O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return -1;
    __u32 bits = 0;
    const int rc = ::ioctl(fd, FAT_IOCTL_GET_ATTRIBUTES, &bits);
    ::close(fd);
    return rc == 0 ? static_cast<int>(bits & 0x37) : -1;  // without the volume-label bit
}

std::string baseName(const std::string& path)
{
    const std::string p = withoutTrailingSlashes(path);
    const auto slash = p.rfind('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

}  // namespace

long long fileLength(const std::string& path)
{
    return static_cast<long long>(statOrThrow(path).st_size);
}

int fileAttributes(const std::string& path)
{
    const struct stat st = statOrThrow(path);
    if (const int fat = fatAttributes(path, st); fat >= 0)
        return fat;
    int bits = 0;
    if (!(st.st_mode & S_IWUSR))
        bits |= attr::ReadOnly;
    if (baseName(path).starts_with('.'))
        bits |= attr::Hidden;
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) || S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode))
        bits |= attr::System;
    if (S_ISDIR(st.st_mode))
        bits |= attr::Directory;
    if (S_ISREG(st.st_mode))
        bits |= attr::Archive;
    return bits;
}

QString fileDateTime(const std::string& path)
{
    const struct stat st = statOrThrow(path);
    return dateTimeText(static_cast<long long>(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000);
}

QString dateTimeText(long long millisecondsSinceEpoch)
{
    return QDateTime::fromMSecsSinceEpoch(millisecondsSinceEpoch).toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
}

int folderCause(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return errno;
    return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

}  // namespace dorvelix
