#include "ext_room.h"

#include "copy_layout.h"

#include <algorithm>

namespace dorvelix {

namespace {

// GNU cp writes a file in pieces of 128 KiB, which FUSE passes on as they are.
constexpr long long WritePiece = 128 * 1024;
// The blocks fuse2fs wants free beyond its reserve before it makes a file
// or folder, or a special file.
constexpr long long CreateCheck = 2;
constexpr long long SpecialCheck = 3;

}  // namespace

void ExtRoom::check(long long need)
{
    ahead_ = std::max(ahead_, need);
}

void ExtRoom::take(long long blocks)
{
    then(ExtRoom{blocks, NoCheck});
}

void ExtRoom::then(const ExtRoom& later)
{
    // Saturating: a copy of files of exabytes is still counted as too large.
    ahead_ = std::max(std::max(ahead_, NoCheck + later.taken_) - later.taken_, later.ahead_);
    if (__builtin_add_overflow(taken_, later.taken_, &taken_))
        taken_ = LLONG_MAX;
}

ExtRoom ExtRoom::writes(long long length, long long block)
{
    // Each piece is checked for its whole blocks and one more, then takes
    // its blocks.
    ExtRoom room;
    if (length <= 0)
        return room;
    const long long pieces = length / WritePiece;
    if (pieces > 0) {
        const long long perPiece = WritePiece / block;
        // Of equal pieces the last one's check reaches furthest: one block.
        room.taken_ = pieces * perPiece;
        room.ahead_ = WritePiece % block == 0 ? 1 : perPiece + 1 - ceilDiv(WritePiece, block);
    }
    if (const long long rest = length % WritePiece; rest > 0) {
        room.check(rest / block + 1);
        room.take(ceilDiv(rest, block));
    }
    return room;
}

ExtRoom ExtPendingFolder::finish(const ExtGeometry& g, long long firstBlocks) const
{
    ExtRoom room;
    room.take(firstBlocks);
    long long blocks = firstBlocks > 0 ? 1 : 0, extents = blocks, mapBlocks = 0;
    // Whether the volume's last allocation was this folder's own block, so
    // that its next block continues the same extent.
    bool lastWasOwn = blocks > 0;
    const auto grow = [&](bool grew) {
        if (!grew)
            return;
        if (blocks == 0 || !lastWasOwn)
            ++extents;
        ++blocks;
        room.take(g.blocksPerCluster);
        lastWasOwn = true;
        // Map blocks come as the folder outgrows what its inode maps.
        if (const long long map = g.folderMapBlocks(blocks, extents); map > mapBlocks) {
            room.take(map - mapBlocks);
            mapBlocks = map;
            lastWasOwn = false;
        }
    };
    const ExtRoom emptyFolder = [&] {
        ExtRoom r;
        r.take(g.inlineDataFeature ? 0 : g.blocksPerCluster);
        return r;
    }();
    for (const Step& s : steps) {
        switch (s.kind) {
        case EntryKind::Regular: {
            room.check(CreateCheck);
            grow(s.grew);
            const long long blocksOfFile = g.fileBlocks(s.value);
            if (blocksOfFile > 0) {
                const ExtRoom written = ExtRoom::writes(s.value, g.block);
                room.then(written);
                room.take(blocksOfFile - written.taken());
                lastWasOwn = false;
            }
            break;
        }
        case EntryKind::Folder: {
            room.check(CreateCheck);
            grow(s.grew);
            const auto slot = static_cast<std::size_t>(s.value);
            const ExtRoom& sub = slot < subfolderRooms.size() ? subfolderRooms[slot] : emptyFolder;
            room.then(sub);
            if (sub.taken() > 0)
                lastWasOwn = false;
            break;
        }
        case EntryKind::Link:
            if (const long long b = g.linkBlocks(s.value); b > 0) {
                room.take(b);
                lastWasOwn = false;
            }
            grow(s.grew);
            break;
        case EntryKind::Special:
            room.check(SpecialCheck);
            grow(s.grew);
            break;
        }
    }
    return room;
}

}  // namespace dorvelix
