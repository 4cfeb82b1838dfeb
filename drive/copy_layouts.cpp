#include "copy_layouts.h"

#include "bound_copy.h"
#include "btrfs_copy.h"
#include "ext_copy.h"
#include "f2fs_copy.h"
#include "ntfs_copy.h"

namespace dorvelix {

TargetLayout copyLayoutFor(const TargetDrive& drive, FolderScan::CopyOrder sourceOrder)
{
    using Kind = VolumeFormat::Kind;
    if (drive.format) {
        const VolumeFormat& f = *drive.format;
        if (f.kind == Kind::Ntfs && f.ntfs)
            return {std::make_unique<NtfsCopy>(*f.ntfs, sourceOrder), LayoutRule::Ntfs};
        if (f.kind == Kind::Ext && f.ext)
            return {std::make_unique<ExtCopy>(*f.ext, sourceOrder), LayoutRule::Ext};
        if (f.kind == Kind::Btrfs && f.btrfs)
            return {std::make_unique<BtrfsCopy>(*f.btrfs, sourceOrder), LayoutRule::Btrfs};
        if (f.kind == Kind::F2fs && f.f2fs)
            return {std::make_unique<F2fsCopy>(*f.f2fs, sourceOrder), LayoutRule::F2fs};
    }
    return {std::make_unique<BoundCopy>(drive.clusterLength), LayoutRule::Bound};
}

}  // namespace dorvelix
