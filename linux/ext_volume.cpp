#include "ext_volume.h"

namespace dorvelix {

std::optional<ExtVolume> parseExtSuperblock(const unsigned char*, std::size_t)
{
    return std::nullopt;
}

std::optional<ExtVolume> extVolumeOf(const MountEntry&, const struct statvfs&)
{
    return std::nullopt;
}

}  // namespace dorvelix
