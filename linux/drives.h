// The drive list of Linux: the mounted file systems that hold files, each
// addressed by its mount point, and the current folder each drive keeps for
// the run.
#pragma once

#include <QString>
#include <string>
#include <vector>

namespace dorvelix {

struct DriveEntry {
    std::string mountPoint;  // exact bytes; "/" or without a trailing "/"
    std::string source;      // the mounted source's name, e.g. "vda", "sdb1"
    std::string fsType;      // the mount's type as the kernel names it
    // The drive text: the mount point, a space and the source in square
    // brackets, e.g. "/ [vda]" or "/media/usb [sdb1]".
    QString text() const;
};

// The drives of /proc/self/mountinfo without pseudo file systems, a mount
// point hidden under a later mount on the same place listed once, in the
// order of their mount points.
std::vector<DriveEntry> listDrives();

// The address of a drive text: everything before the first " [".
std::string driveAddress(const QString& driveText);

// The drive (mount point) that holds path: the longest mount point that is
// a prefix of it. "/" when nothing else matches.
std::string driveOf(const std::string& path);

// The type of the mount that holds path as the mount table has it ("ext4",
// "proc" ...), pseudo file systems included; "" when no mount holds it.
std::string mountTypeAt(const std::string& path);

// The drive text of the drive that holds path (driveOf's entry of the drive
// list); the bare mount point when the list does not have it.
QString driveTextOf(const std::string& path);

// Each drive's current folder for the run: at start-up the drive holding the
// process's working folder has that folder, every other drive its root.
class DriveFolders {
public:
    DriveFolders();
    // Makes folder its drive's current folder.
    void setCurrentFolder(const std::string& folder);
    // The current folder of the drive addressed by driveText (its root folder,
    // with a trailing "/", when none has been set).
    std::string currentFolder(const QString& driveText) const;

private:
    std::vector<std::pair<std::string, std::string>> folders_;  // mount point, folder
};

}  // namespace dorvelix
