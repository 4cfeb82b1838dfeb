// An NTFS volume as a copy to it needs it: its geometry from the boot sector
// ("NTFS    " at byte 3), and the MFT records free inside the MFT as it is
// now. Read from the mount's source where it can be read, else inferred from
// what the mount reports. Only ever reads.
#pragma once

#include "fat_volume.h"
#include "mount_table.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <sys/statvfs.h>

namespace dorvelix {

struct NtfsVolume {
    std::int64_t clusterBytes = 4096;
    std::int64_t recordBytes = 1024;      // an MFT record
    std::int64_t indexBlockBytes = 4096;  // a folder index block
    // The MFT as it is now: its data's allocated bytes, the records numbered
    // 64 and up free inside them, its bitmap's allocated bytes. Nothing
    // where it could not be read (the copy is then counted as onto a volume
    // just made, whose MFT is full).
    struct Mft {
        std::int64_t allocatedBytes = 0;
        std::int64_t freeRecords = 0;
        std::int64_t bitmapAllocatedBytes = 0;
    };
    std::optional<Mft> mft;
};

// The geometry of an NTFS boot sector; nothing when the sector is not NTFS's.
std::optional<NtfsVolume> parseNtfsBootSector(const unsigned char* sector, std::size_t size);

// The NTFS volume a mount serves (the kernel's ntfs3 or ntfs, or a FUSE
// mount such as ntfs-3g's fuseblk), or nothing when it serves another.
std::optional<NtfsVolume> ntfsVolumeOf(const MountEntry& mount, const struct statvfs& vfs);

}  // namespace dorvelix
