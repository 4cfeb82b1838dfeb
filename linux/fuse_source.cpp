#include "fuse_source.h"

#include <QDir>
#include <QFile>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace dorvelix {

namespace {

// The arguments of a process that are neither options nor option values.
std::vector<std::string> plainArguments(const QByteArray& cmdline)
{
    std::vector<std::string> plain;
    const QList<QByteArray> args = cmdline.split('\0');
    bool optionValue = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QByteArray& a = args[i];
        if (a.isEmpty())
            continue;
        if (optionValue) {
            optionValue = false;
        } else if (a == "-o") {
            optionValue = true;  // "-o ro,uid=1000"; "-oro" carries its value
        } else if (!a.startsWith('-')) {
            plain.emplace_back(a.constData(), static_cast<size_t>(a.size()));
        }
    }
    return plain;
}

std::string absoluteIn(const std::string& folder, const std::string& path)
{
    std::filesystem::path p(path);
    if (p.is_relative())
        p = std::filesystem::path(folder) / p;
    std::string s = p.lexically_normal().native();
    while (s.size() > 1 && s.back() == '/')
        s.pop_back();
    return s;
}

// A link's target as its bytes; "" when it cannot be read.
std::string linkTarget(const std::string& link)
{
    std::string target(4096, '\0');
    const ssize_t n = ::readlink(link.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<size_t>(n) >= target.size())
        return {};
    target.resize(static_cast<size_t>(n));
    return target;
}

// The FAT drivers whose images are read: the driver's executable name, which
// is also the subtype of the mounts it makes ("fuse.fusefat").
bool isFatDriver(const std::string& name)
{
    return name == "fusefat";
}

// The user a FUSE mount belongs to, from its "user_id=" option.
std::optional<uid_t> mountOwner(const MountEntry& mount)
{
    for (const QByteArray& option : QByteArray::fromStdString(mount.superOptions).split(',')) {
        if (option.startsWith("user_id=")) {
            bool ok = false;
            const uint id = option.mid(8).toUInt(&ok);
            if (ok)
                return static_cast<uid_t>(id);
        }
    }
    return std::nullopt;
}

// The real user of a process; nothing when it cannot be read.
std::optional<uid_t> processUser(const QString& pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return std::nullopt;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("Uid:")) {
            bool ok = false;
            const uint id = line.mid(4).simplified().split(' ').value(0).toUInt(&ok);
            return ok ? std::optional(static_cast<uid_t>(id)) : std::nullopt;
        }
    }
    return std::nullopt;
}

// Whether a driver's mount-point argument names mountPoint. A driver that
// went to the background has changed to "/", so a relative argument is also
// taken for the mount point that ends in it.
bool namesMountPoint(const std::string& cwd, const std::string& argument, const std::string& mountPoint)
{
    if (absoluteIn(cwd, argument) == mountPoint)
        return true;
    if (argument.front() == '/')
        return false;
    const std::string tail = '/' + absoluteIn("/", argument).substr(1);
    return mountPoint.size() > tail.size() && mountPoint.ends_with(tail);
}

// The image named by argument that the process holds open, opened anew:
// the open file of the process whose path is the argument taken from the
// driver's working folder, or, for a relative argument, ends in it (a driver
// that went to the background has changed to "/"). It must be that very file
// once opened.
VolumeFile openedImage(const QString& pid, const std::string& cwd, const std::string& argument)
{
    const std::string absolute = absoluteIn(cwd, argument);
    const std::string tail = argument.front() == '/' ? std::string() : '/' + absoluteIn("/", argument).substr(1);
    const QString fds = QStringLiteral("/proc/%1/fd").arg(pid);
    for (const QString& fd : QDir(fds).entryList(QDir::Files | QDir::System)) {
        const std::string held = (fds + u'/' + fd).toStdString();
        const std::string target = linkTarget(held);
        if (target != absolute && (tail.empty() || !target.ends_with(tail)))
            continue;
        VolumeFile file(target, true);
        struct stat heldStat {}, openStat {};
        if (file && ::stat(held.c_str(), &heldStat) == 0 && ::fstat(file.fd(), &openStat) == 0
            && heldStat.st_dev == openStat.st_dev && heldStat.st_ino == openStat.st_ino)
            return file;
    }
    return {};
}

}  // namespace

namespace {

// The image held by a process of the mount's owner whose executable passes
// isDriver.
template <class IsDriver>
VolumeFile openImageOfDriver(const MountEntry& mount, const IsDriver& isDriver)
{
    const std::optional<uid_t> owner = mountOwner(mount);
    if (!owner)
        return {};
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& pid : pids) {
        if (pid.isEmpty() || !pid.front().isDigit())
            continue;
        const std::optional<uid_t> user = processUser(pid);
        if (!user || (*user != *owner && *user != 0))
            continue;
        const std::string executable = std::filesystem::path(linkTarget("/proc/" + pid.toStdString() + "/exe")).filename();
        if (!isDriver(executable))
            continue;
        QFile file(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const std::vector<std::string> plain = plainArguments(file.readAll());
        if (plain.size() < 2)
            continue;
        // Reading the link does not enter the folder it names.
        const std::string cwd = linkTarget("/proc/" + pid.toStdString() + "/cwd");
        if (cwd.empty() || !namesMountPoint(cwd, plain.back(), mount.mountPoint))
            continue;
        if (VolumeFile image = openedImage(pid, cwd, plain[plain.size() - 2]))
            return image;
    }
    return {};
}

}  // namespace

VolumeFile openFuseDriverImage(const MountEntry& mount)
{
    const std::string subtype = mount.fsType.starts_with("fuse.") ? mount.fsType.substr(5) : std::string();
    return openImageOfDriver(mount, [&](const std::string& executable) {
        return isFatDriver(executable) && (subtype.empty() || subtype == executable);
    });
}

VolumeFile openFuseDriverImage(const MountEntry& mount, const std::string& driver)
{
    return openImageOfDriver(mount, [&](const std::string& executable) { return executable == driver; });
}

}  // namespace dorvelix
