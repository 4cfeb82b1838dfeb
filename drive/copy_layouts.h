// The layout a copy to a target drive is counted by: NTFS, ext2/3/4, btrfs
// and f2fs by their own, read from the volume where it can be read, and any
// other file system by a bound (FAT and exFAT have their folder tables'
// rules, TargetTables).
#pragma once

#include "copy_layout.h"
#include "target_drive.h"

#include <memory>

namespace dorvelix {

struct TargetLayout {
    std::unique_ptr<CopyLayout> layout;
    LayoutRule rule;
};

// sourceOrder: the order in which a copy creates the entries of the folders
// to copy, by the file system they lie on.
TargetLayout copyLayoutFor(const TargetDrive& drive, FolderScan::CopyOrder sourceOrder);

}  // namespace dorvelix
