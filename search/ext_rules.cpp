#include "ext_rules.h"

#include "copy_layout.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <sys/utsname.h>

namespace dorvelix {

namespace {

constexpr long long InodeExtents = 4;      // extents held in the inode itself
constexpr long long DirectBlocks = 12;     // block map pointers in the inode
constexpr long long MaxExtentBlocks = 32768;
constexpr long long WritebackChunk = 4LL << 20;
constexpr long long FastLinkBytes = 59;    // link targets kept in the inode's block pointers
constexpr long long InodeBlockBytes = 60;  // the inode's block pointers, room for inline data
constexpr long long BaseInodeBytes = 128;
// What an inode's in-inode attribute area spends before the inline data's
// value: its header, end mark and the entry of "system.data".
constexpr long long InlineDataOverhead = 4 + 4 + 20;

// Kernels from 6.15 split a full folder block by size in every case; older
// ones (before a fix that stable series took in 2025) could split by count.
bool kernelMaySplitByCount()
{
    struct utsname u {};
    int major = 0, minor = 0;
    if (::uname(&u) != 0 || std::sscanf(u.release, "%d.%d", &major, &minor) != 2)
        return true;
    return major < 6 || (major == 6 && minor < 15);
}

long long bitsOf(long long block)
{
    long long bits = 0;
    while ((1LL << bits) < block)
        ++bits;
    return bits;
}

}  // namespace

ExtGeometry::ExtGeometry(const ExtVolume& v)
    : kernel(v.writer == ExtVolume::Writer::Kernel),
      block(v.blockBytes),
      blocksPerCluster(std::max<long long>(1, v.clusterBytes / v.blockBytes)),
      usable(v.blockBytes - (v.metadataChecksums ? 12 : 0)),
      rootLimit((v.blockBytes - 32 - (v.metadataChecksums ? 8 : 0)) / 8),
      nodeLimit((v.blockBytes - 8 - (v.metadataChecksums ? 8 : 0)) / 8),
      treeEntries((v.blockBytes - 12) / 12),
      blocksPerGroup(std::max<long long>(1, v.blocksPerGroup)),
      maxInline(0),
      extents(v.extents),
      dirIndex(v.dirIndex && !v.legacyExt2Driver),
      largeDir(v.largeDir),
      hugeFile(v.hugeFile && !v.legacyExt2Driver),
      inlineDataFeature(v.inlineData),
      inlineFolders(false),
      encryption(v.encryption),
      oldSplitPossible(kernel && kernelMaySplitByCount())
{
    // Inline data: the inode's 60 bytes of block pointers and what its
    // attribute area leaves for the "system.data" value. Encrypted files
    // are not counted inline.
    if (v.inlineData && !v.encryption && v.inodeBytes > BaseInodeBytes) {
        const long long room = v.inodeBytes - BaseInodeBytes - v.extraInodeBytes - InlineDataOverhead;
        maxInline = InodeBlockBytes + (room > 3 ? room & ~3LL : 0);
    }
    inlineFolders = maxInline > InodeBlockBytes;
}

long long ExtGeometry::entryBytes(long long nameBytes) const
{
    // An encrypted name is at least 16 bytes, padded to 32.
    if (encryption)
        nameBytes = std::min(255LL, roundUp(std::max(16LL, nameBytes), 32));
    return (8 + nameBytes + 3) & ~3LL;
}

long long ExtGeometry::fileBlocks(long long length) const
{
    if (length <= 0)
        return 0;
    // fuse2fs never makes a regular file inline.
    if (kernel && length <= maxInline)
        return 0;
    const long long data = dataBlocks(length);
    long long map = 0;
    if (!extents) {
        map = indirectBlocks(data, block);
    } else {
        // A piece per writeback chunk (at most the longest extent), one more
        // for each block group it may cross, and one: the extents a file's
        // data may break into on a volume whose free space lies in pieces
        // of at least that chunk.
        const long long chunk = std::min(MaxExtentBlocks, WritebackChunk / block);
        map = extentTreeBlocks(ceilDiv(data, chunk) + ceilDiv(data, blocksPerGroup) + 1, treeEntries);
    }
    return inClusters(data) + map * blocksPerCluster;
}

bool ExtGeometry::fileBlocksExact(long long length) const
{
    if (!extents || length <= maxInline)
        return true;
    const long long data = dataBlocks(length);
    const long long chunk = std::min(MaxExtentBlocks, WritebackChunk / block);
    return ceilDiv(data, chunk) + ceilDiv(data, blocksPerGroup) + 1 <= InodeExtents;
}

long long ExtGeometry::linkBlocks(long long length) const
{
    // An encrypted target carries a 2-byte length and is padded like a name.
    const long long stored = encryption ? 2 + roundUp(std::max(16LL, length), 32) : length;
    if (stored <= FastLinkBytes)
        return 0;
    if (!kernel && stored <= maxInline)
        return 0;
    return blocksPerCluster;
}

long long ExtGeometry::maxFileBytes() const
{
    const long long bits = bitsOf(block);
    // Without huge_file a file's 512-byte sectors are counted in 32 bits.
    const long long sectorLimit = ((1LL << 32) - 1) >> (bits - 9);
    if (extents) {
        const long long logical = (1LL << 32) - 1;
        return (hugeFile ? logical : std::min(logical, sectorLimit)) << bits;
    }
    // Block maps: what the indirect blocks reach, less the map blocks where
    // the sector count limits the file first.
    const long long p = block / 4;
    long long reach = DirectBlocks + p + p * p + p * p * p;
    const long long upper = hugeFile ? (1LL << 48) - 1 : sectorLimit;
    const long long meta = 1 + (1 + p) + (1 + p + p * p);
    if (reach + meta > upper) {
        long long rest = upper - DirectBlocks - p;
        long long metaBlocks = 1;
        if (rest < p * p) {
            metaBlocks += 1 + ceilDiv(rest, p);
        } else {
            metaBlocks += 1 + p;
            rest -= p * p;
            metaBlocks += 1 + ceilDiv(rest, p) + ceilDiv(rest, p * p);
        }
        reach = upper - metaBlocks;
    }
    return reach > (LLONG_MAX >> bits) ? LLONG_MAX : reach << bits;
}

long long ExtGeometry::folderMapBlocks(long long blocks, long long extentCount) const
{
    return (extents ? extentTreeBlocks(extentCount, treeEntries) : indirectBlocks(blocks, block)) * blocksPerCluster;
}

long long ExtGeometry::inClusters(long long blocks) const
{
    return roundUp(blocks, blocksPerCluster);
}

long long indirectBlocks(long long d, long long block)
{
    const long long p = block / 4;
    long long n = 0;
    if (d > DirectBlocks)
        n += 1;
    if (d > DirectBlocks + p)
        n += 1 + std::min(ceilDiv(d - DirectBlocks - p, p), p);
    if (d > DirectBlocks + p + p * p) {
        const long long rest = d - DirectBlocks - p - p * p;
        n += 1 + ceilDiv(rest, p * p) + ceilDiv(rest, p);
    }
    return n;
}

long long extentTreeBlocks(long long extentCount, long long perBlock)
{
    long long total = 0;
    for (long long level = extentCount; level > InodeExtents;) {
        level = ceilDiv(level, perBlock);
        total += level;
    }
    return total;
}

}  // namespace dorvelix
