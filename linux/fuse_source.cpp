#include "fuse_source.h"

#include <QDir>
#include <QFile>
#include <filesystem>
#include <sys/stat.h>
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

bool isVolumeFile(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && (S_ISREG(st.st_mode) || S_ISBLK(st.st_mode));
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

// The volume argument as the driver opened it: the open file of the process
// whose path ends in the argument (the driver keeps its volume open), else
// the argument taken from the driver's working folder.
std::string openedVolume(const QString& pid, const std::string& cwd, const std::string& argument)
{
    if (argument.front() != '/') {
        const std::string tail = '/' + absoluteIn("/", argument).substr(1);
        const QString fds = QStringLiteral("/proc/%1/fd").arg(pid);
        for (const QString& fd : QDir(fds).entryList(QDir::Files | QDir::System)) {
            const std::string target = QFile::symLinkTarget(fds + u'/' + fd).toStdString();
            if (target.ends_with(tail) && isVolumeFile(target))
                return target;
        }
    }
    return absoluteIn(cwd, argument);
}

}  // namespace

std::string fuseDriverSource(const std::string& mountPoint)
{
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& pid : pids) {
        if (pid.isEmpty() || !pid.front().isDigit())
            continue;
        QFile file(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const std::vector<std::string> plain = plainArguments(file.readAll());
        if (plain.size() < 2)
            continue;
        // Reading the link does not enter the folder it names.
        const std::string cwd = QFile::symLinkTarget(QStringLiteral("/proc/%1/cwd").arg(pid)).toStdString();
        if (cwd.empty() || !namesMountPoint(cwd, plain.back(), mountPoint))
            continue;
        const std::string volume = openedVolume(pid, cwd, plain[plain.size() - 2]);
        if (isVolumeFile(volume))
            return volume;
    }
    return {};
}

}  // namespace dorvelix
