#include "fuzz_targets.h"

#include "fat_volume.h"
#include "mount_boundaries.h"
#include "mount_table.h"

#include <string_view>

namespace dorvelix::fuzz {

int bootSector(const std::uint8_t* data, std::size_t size)
{
    const auto layout = parseFatBootSector(data, size);
    if (layout) {
        // What a layout promises the FAT reader: a cluster length and a FAT
        // that holds an entry for every cluster.
        if (layout->bytesPerSector <= 0 || layout->sectorsPerCluster <= 0 || layout->clusters <= 0
            || layout->fatOffset <= 0 || (layout->bits != 12 && layout->bits != 16 && layout->bits != 32))
            __builtin_trap();
    }
    return 0;
}

int mountInfo(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<MountEntry> table = parseMountInfo(text);
    // Everything built on the table: the mounts a path reaches, the
    // boundaries of folder lists and the mount holding a path.
    const MountBoundaries boundaries(table);
    for (const MountEntry& m : boundaries.table()) {
        boundaries.isMountPoint(m.mountPoint);
        boundaries.mountPointsIn(m.mountPoint);
        mountHolding(table, m.mountPoint + "/x");
    }
    return 0;
}

}  // namespace dorvelix::fuzz
