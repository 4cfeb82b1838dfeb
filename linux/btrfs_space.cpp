#include "btrfs_space.h"

namespace dorvelix {

std::optional<BtrfsSpace> btrfsSpaceOf(const MountEntry&, const struct statvfs&)
{
    return std::nullopt;
}

}  // namespace dorvelix
