// The volume behind a FUSE mount whose table entry names no readable source:
// fusefat and its kind mount with the driver's name as their source, so the
// image they serve is known only from the driver's process.
#pragma once

#include "fat_volume.h"
#include "mount_table.h"

namespace dorvelix {

// The image file that the FAT driver serving mount holds open, opened for
// reading. Only the driver is believed: a process of the mount's owner (or
// root), whose executable is the FAT driver the mount is typed for, whose
// last two plain arguments name an image and the mount point (relative ones
// taken from its working folder), and which has that image open. The image
// is opened without blocking and must be a regular file, the very file the
// driver holds. Not open when no process answers all of that. The mount
// point itself is never touched (its driver may hang); it is compared by its
// path alone.
VolumeFile openFuseDriverImage(const MountEntry& mount);
// The same for a driver whose mounts are typed otherwise than its own name
// (fuse2fs mounts "fuse.ext4"): the process must run driver.
VolumeFile openFuseDriverImage(const MountEntry& mount, const std::string& driver);

}  // namespace dorvelix
