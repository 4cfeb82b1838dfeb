// The volume behind a FUSE mount whose table entry names no readable source:
// fusefat and its kind mount with the driver's name as their source, so the
// image or device they serve is known only from the driver's command line.
#pragma once

#include <string>

namespace dorvelix {

// The image file or block device that a running FUSE driver serves on
// mountPoint: the driver's last two plain arguments are the volume and the
// mount point, relative ones taken from the driver's working folder. "" when
// no running process of this user says so. The mount point itself is never
// touched (its driver may hang); it is compared by its path alone.
std::string fuseDriverSource(const std::string& mountPoint);

}  // namespace dorvelix
