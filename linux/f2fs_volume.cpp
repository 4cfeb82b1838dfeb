#include "f2fs_volume.h"

namespace dorvelix {

std::optional<F2fsVolume> f2fsVolumeOf(const MountEntry&, const struct statvfs&)
{
    return std::nullopt;
}

}  // namespace dorvelix
