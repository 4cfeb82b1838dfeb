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
#include <vector>

namespace dorvelix {

struct NtfsVolume {
    std::int64_t clusterBytes = 4096;
    std::int64_t recordBytes = 1024;      // an MFT record
    std::int64_t indexBlockBytes = 4096;  // a folder index block
    std::int64_t totalClusters = 0;       // the volume's clusters
    std::int64_t mftOffset = 0;           // where the MFT's first record lies, in bytes from the start
    // Where only the mount's figures were read, a second record length they
    // also allow: the copy is counted with both and the larger count kept.
    std::optional<std::int64_t> otherRecordBytes = std::nullopt;
    // The MFT as it is now: its data's allocated bytes, the records numbered
    // 64 and up free inside them (of them those after the last record in
    // use, which ntfs-3g always finds before it grows the MFT; the others,
    // left by deleted files, it may pass by), its bitmap's allocated bytes.
    // Nothing where it could not be read (the copy is then counted as onto a
    // volume just made, whose MFT is full).
    struct Mft {
        std::int64_t allocatedBytes = 0;
        std::int64_t freeRecords = 0;
        std::int64_t freeRecordsAtEnd = 0;
        std::int64_t bitmapAllocatedBytes = 0;
    };
    std::optional<Mft> mft;
    // Who writes the copy: ntfs-3g with its default security (each new file
    // gets its own security descriptor in its record, no short names), whose
    // allocation is known to the cluster; or a writer whose records are not
    // known here (the kernel's ntfs3, ntfs-3g checking permissions), counted
    // by a wider bound.
    enum class Writer { Ntfs3g, Unmeasured };
    Writer writer = Writer::Ntfs3g;
    // The kernel's ntfs3 mounted with prealloc: a file may keep clusters
    // beyond its length.
    bool preallocates = false;
};

// The geometry of an NTFS boot sector; nothing when the sector is not NTFS's.
std::optional<NtfsVolume> parseNtfsBootSector(const unsigned char* sector, std::size_t size);

// The MFT's allocation and free records, read through its first record
// (record 0, the MFT's own) at volume.mftOffset; nothing when it cannot be
// read or makes no sense.
std::optional<NtfsVolume::Mft> readNtfsMft(const VolumeFile& file, const NtfsVolume& volume);

// The MFT record lengths that ntfs-3g's figures for a volume of these
// clusters allow (its inode counts follow from the free clusters, the
// record length and the MFT bitmap's allocation); empty when none does.
std::vector<std::int64_t> ntfsRecordBytesFromFigures(const struct statvfs& vfs);

// The NTFS volume a mount serves (the kernel's ntfs3 or ntfs, or a FUSE
// mount such as ntfs-3g's fuseblk), or nothing when it serves another.
std::optional<NtfsVolume> ntfsVolumeOf(const MountEntry& mount, const struct statvfs& vfs);

}  // namespace dorvelix
