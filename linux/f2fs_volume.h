// An f2fs volume as a copy to it needs it: the room an inode has for
// addresses and inline data and whether folders start inline, from its
// features and mount options. The features come from the superblock where
// the mount's source can be read, else from /sys/fs/f2fs/<disk>/features,
// else the layout that leaves an inode the least room is assumed. Only
// ever reads.
#pragma once

#include "mount_table.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <sys/statvfs.h>

namespace dorvelix {

struct F2fsVolume {
    std::int64_t addressesInInode = 873;        // data block addresses a file's or link's inode holds
    std::int64_t folderAddressesInInode = 873;  // the same for a folder's inode
    std::int64_t inlineDataBytes = 3488;        // the largest file kept in its inode (0: none)
    bool inlineDentries = true;                 // new folders start inside their inode
    bool featuresRead = true;                   // whether the features are the volume's own
    bool compression = false;                   // the volume may compress files
};

// The on-disk features the layout of an inode depends on.
struct F2fsFeatures {
    bool extraAttributes = false;      // a 36-byte extension of every new inode
    bool flexibleInlineXattr = false;  // inline_xattr_size= sets the inline xattr room
    bool compression = false;
};

// The features of a superblock (the first 4,096 bytes of the volume:
// magic 0xF2F52010 at byte 1,024); nothing when it is not f2fs's.
std::optional<F2fsFeatures> parseF2fsSuperblock(const unsigned char* block, std::size_t size);
// The features named in /sys/fs/f2fs/<disk>/features ("extra_attr,
// flexible_inline_xattr, ...").
F2fsFeatures parseF2fsFeatureList(std::string_view text);

// The inode layout the kernel gives new files and folders on a volume of
// these features, mounted with these options ("inline_data,noinline_dentry,...").
F2fsVolume f2fsLayout(const F2fsFeatures& features, std::string_view options);

// The f2fs volume a mount serves, or nothing when it serves another.
std::optional<F2fsVolume> f2fsVolumeOf(const MountEntry& mount, const struct statvfs& vfs);

}  // namespace dorvelix
