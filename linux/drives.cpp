#include "drives.h"

#include "mount_boundaries.h"
#include "text.h"

#include <algorithm>
#include <filesystem>
#include <map>

namespace dorvelix {

namespace {

// The name a drive text shows for a mount's source: the last component of a
// path ("/dev/vda" → "vda", "/srv/fat.img" → "fat.img"), any other source
// ("tmpfs", "server:/export") as it is.
std::string sourceName(const std::string& source)
{
    if (source.size() > 1 && source.front() == '/') {
        std::string s = source;
        while (s.size() > 1 && s.back() == '/')
            s.pop_back();
        return s.substr(s.rfind('/') + 1);
    }
    return source;
}

// A drive's root folder as every folder list gives it: with a trailing "/".
std::string rootFolder(const std::string& mountPoint)
{
    return mountPoint == "/" ? mountPoint : mountPoint + '/';
}

std::string withoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

}  // namespace

QString DriveEntry::text() const
{
    return displayText(mountPoint) + QStringLiteral(" [") + displayText(source) + u']';
}

std::vector<DriveEntry> listDrives()
{
    // A later mount on the same place hides the earlier one: keep the last.
    std::map<std::string, DriveEntry> byMountPoint;
    for (const MountEntry& m : MountBoundaries::current()->table()) {
        if (isPseudoFileSystem(m.fsType)) {
            byMountPoint.erase(m.mountPoint);
            continue;
        }
        byMountPoint[m.mountPoint] = DriveEntry{m.mountPoint, sourceName(m.source), m.fsType};
    }
    std::vector<DriveEntry> drives;
    drives.reserve(byMountPoint.size());
    for (auto& [mountPoint, entry] : byMountPoint)
        drives.push_back(std::move(entry));
    return drives;  // std::map keeps them in the byte order of their mount points
}

std::string driveAddress(const QString& driveText)
{
    // The drive list's own entries give back their mount point's exact bytes,
    // also where they are not valid UTF-8.
    for (const DriveEntry& d : listDrives()) {
        if (d.text() == driveText)
            return d.mountPoint;
    }
    const qsizetype bracket = driveText.indexOf(QStringLiteral(" ["));
    const QString address = bracket < 0 ? driveText : driveText.left(bracket);
    return withoutTrailingSlash(address.toStdString());
}

std::string driveOf(const std::string& path)
{
    std::string best = "/";
    for (const DriveEntry& d : listDrives()) {
        if (isUnder(path, d.mountPoint) && d.mountPoint.size() > best.size())
            best = d.mountPoint;
    }
    return best;
}

std::string mountTypeAt(const std::string& path)
{
    const auto boundaries = MountBoundaries::current();
    const MountEntry* mount = mountHolding(boundaries->table(), path);
    return mount ? mount->fsType : std::string();
}

QString driveTextOf(const std::string& path)
{
    const std::string mountPoint = driveOf(path);
    for (const DriveEntry& d : listDrives()) {
        if (d.mountPoint == mountPoint)
            return d.text();
    }
    return displayText(mountPoint);
}

DriveFolders::DriveFolders()
{
    std::error_code ec;
    const std::string cwd = std::filesystem::current_path(ec).native();
    if (!ec && !cwd.empty())
        setCurrentFolder(cwd);
}

void DriveFolders::setCurrentFolder(const std::string& folder)
{
    const std::string clean = withoutTrailingSlash(folder);
    const std::string mountPoint = driveOf(clean);
    const std::string current = clean == mountPoint ? rootFolder(mountPoint) : clean;
    const auto it = std::find_if(folders_.begin(), folders_.end(), [&](const auto& f) { return f.first == mountPoint; });
    if (it != folders_.end())
        it->second = current;
    else
        folders_.emplace_back(mountPoint, current);
}

std::string DriveFolders::currentFolder(const QString& driveText) const
{
    const std::string mountPoint = driveAddress(driveText);
    for (const auto& [drive, folder] : folders_) {
        if (drive == mountPoint)
            return folder;
    }
    return rootFolder(mountPoint);
}

}  // namespace dorvelix
