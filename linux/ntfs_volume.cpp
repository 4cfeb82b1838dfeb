#include "ntfs_volume.h"

namespace dorvelix {

std::optional<NtfsVolume> parseNtfsBootSector(const unsigned char*, std::size_t)
{
    return std::nullopt;
}

std::optional<NtfsVolume> ntfsVolumeOf(const MountEntry&, const struct statvfs&)
{
    return std::nullopt;
}

}  // namespace dorvelix
