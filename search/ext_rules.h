// What one entry takes on an ext2/3/4 volume: the volume's geometry as a
// copy's count needs it, and the blocks of files and links with their
// extent trees or block maps.
#pragma once

#include "ext_volume.h"

namespace dorvelix {

struct ExtGeometry {
    explicit ExtGeometry(const ExtVolume& volume);

    bool kernel;                 // written by the kernel's driver, else by fuse2fs
    long long block;             // bytes of a block
    long long blocksPerCluster;  // more than 1 with bigalloc
    long long usable;            // bytes for entries in a folder block (less the checksum tail)
    long long rootLimit;         // entries of a folder index's root
    long long nodeLimit;         // entries of a folder index's other blocks
    long long treeEntries;       // entries of an extent tree block
    long long blocksPerGroup;
    long long maxInline;         // the longest file kept in its inode; 0 without inline data
    bool extents;
    bool dirIndex;               // folders become hashed indexes past one block
    bool largeDir;               // three index levels
    bool hugeFile;               // files past 2 TiB
    bool inlineDataFeature;      // the volume keeps small entries inside their inode
    bool inlineFolders;          // the kernel starts new folders inside their inode
    bool encryption;             // names may be stored encrypted, longer
    // Whether the running kernel may split a full folder block by count
    // where newer kernels split by size (an old kernel's do_split).
    bool oldSplitPossible;

    // The blocks of data of length bytes (no overflow near the largest lengths).
    long long dataBlocks(long long length) const { return length / block + (length % block > 0 ? 1 : 0); }
    // The bytes of a folder entry for a name of nameBytes bytes, as stored.
    long long entryBytes(long long nameBytes) const;
    // The blocks of a regular file of length bytes, with its mapping blocks.
    long long fileBlocks(long long length) const;
    // Whether fileBlocks is what the driver takes rather than a bound (big
    // files may break into more extents than the inode holds).
    bool fileBlocksExact(long long length) const;
    // The blocks of a symbolic link whose target has length bytes.
    long long linkBlocks(long long length) const;
    // The longest file the driver writes; the longest link target.
    long long maxFileBytes() const;
    long long maxLinkBytes() const { return block - 1; }
    // The mapping blocks of a folder of this many blocks and extents.
    long long folderMapBlocks(long long blocks, long long extents) const;
    // Blocks rounded up to whole clusters (bigalloc).
    long long inClusters(long long blocks) const;
};

// ext2/3 block maps: the indirect blocks of a file of dataBlocks blocks.
long long indirectBlocks(long long dataBlocks, long long block);
// The blocks of an extent tree over this many extents (four fit in the inode).
long long extentTreeBlocks(long long extents, long long perBlock);

}  // namespace dorvelix
