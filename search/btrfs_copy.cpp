#include "btrfs_copy.h"

#include <algorithm>
#include <climits>
#include <unistd.h>

namespace dorvelix {

namespace {

using Wide = __int128;

constexpr long long MiB = 1LL << 20;
constexpr long long GiB = 1LL << 30;

// Tree items, with their 25-byte headers in the leaf: every entry has an
// inode item (160), an inode ref (10 + name) and a dir item and dir index
// in its folder (30 + name each).
constexpr long long ItemHeader = 25;
constexpr long long EntryItems = 4 * ItemHeader + 160 + 10 + 2 * 30;
constexpr long long NameCopies = 3;
// An inline file extent holds 21 bytes besides the data (a link's target).
constexpr long long InlineExtent = ItemHeader + 21;
// Per data extent: the file extent item, the extent tree's item and the
// checksum item's header.
constexpr long long DataExtentItems = (ItemHeader + 53) + (ItemHeader + 53) + ItemHeader;
// The longest data extent: 128 MiB, or 128 KiB where data is compressed.
constexpr long long LongestExtent = 128 * MiB;
constexpr long long LongestCompressedExtent = 128 << 10;
// A tree block's header, a key pointer in a node, the extent item every
// new tree block has, and the smallest tree block.
constexpr long long BlockHeader = 101;
constexpr long long KeyPointer = 33;
constexpr long long TreeBlockItem = ItemHeader + 33;
constexpr long long SmallestNode = 4096;
// The tree blocks every commit touches besides those the items fill.
constexpr long long BlocksOfEveryCommit = 8;
// In tree blocks: room the reservations of operations in flight may claim,
// and the same on a volume of mixed block groups.
constexpr long long BlocksInFlight = 512;
constexpr long long MixedBlocksInFlight = 1024;
// Chunk sizes are rounded to this; chunks are placed in 64 KiB steps.
constexpr long long ChunkRounding = 16 * MiB;
constexpr long long ChunkStep = 64 << 10;
// Reservations may run ahead of the metadata chunks by an eighth of what
// is left unallocated.
constexpr long long OvercommitShare = 8;
// Without the volume's allocation: as many copies of each metadata chunk
// as any profile makes, of the largest size.
constexpr long long MostCopies = 4;

long long held(Wide v)
{
    return v > LLONG_MAX ? LLONG_MAX : v < 0 ? 0 : static_cast<long long>(v);
}

long long sum(long long a, Wide b)
{
    return held(Wide{a} + b);
}

Wide ceilDivWide(Wide a, Wide b)
{
    return (a + b - 1) / b;
}

Wide roundUpWide(Wide a, Wide b)
{
    return ceilDivWide(a, b) * b;
}

// The name a copy gives the copied folder: its path's last part.
std::string_view copiedName(std::string_view path)
{
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    return lastName(path);
}

}  // namespace

BtrfsCopy::BtrfsCopy(const BtrfsSpace& volume, FolderScan::CopyOrder)
    : volume_(volume),
      inlineLimit_(inlineLimit()),
      extentBytes_(volume.compressed ? LongestCompressedExtent : LongestExtent)
{
}

long long BtrfsCopy::inlineLimit() const
{
    // Files are kept inline only where a sector is a memory page; they must
    // fit in a leaf beside its header and their item's.
    if (volume_.sectorBytes != ::sysconf(_SC_PAGESIZE))
        return 0;
    // Where the node size could not be read, the smallest node keeps least.
    const long long node = volume_.allocationRead ? volume_.nodeBytes : SmallestNode;
    const long long leafRoom = node - BlockHeader - InlineExtent;
    return std::max<long long>(0, std::min<long long>({volume_.maxInline, volume_.sectorBytes - 1, leafRoom}));
}

void BtrfsCopy::folderRead(const std::string& path, const FolderScan& folder)
{
    std::string_view name = lastName(path);
    if (path.empty()) {
        name = copiedName(folder.path());
        sourceOnTarget_ = !volume_.fsid.empty() && btrfsFsidOf(folder.path()) == volume_.fsid;
    }
    ++entries_;
    itemBytes_ = sum(itemBytes_, EntryItems + NameCopies * static_cast<long long>(name.size()));
}

void BtrfsCopy::fileBooked(const std::string&, const FolderEntry& entry, long long length)
{
    ++entries_;
    Wide items = EntryItems + NameCopies * Wide{entry.nameSize};
    if (entry.kind == EntryKind::Link) {
        items += InlineExtent + length;
    } else if (entry.kind == EntryKind::Regular && length > 0) {
        if (length <= inlineLimit_) {
            items += InlineExtent + length;
            inlineFiles_ = true;
        } else {
            const long long sectors = ceilDiv(length, volume_.sectorBytes);
            dataBytes_ = sum(dataBytes_, Wide{sectors} * volume_.sectorBytes);
            items += Wide{ceilDiv(length, extentBytes_)} * DataExtentItems + Wide{sectors} * volume_.checksumBytes;
        }
    }
    itemBytes_ = sum(itemBytes_, items);
}

long long BtrfsCopy::metadataBound() const
{
    // Leaves and nodes are at least half full; every new tree block adds
    // its own extent item.
    const Wide node = volume_.nodeBytes;
    const Wide halfLeaf = (node - BlockHeader) / 2;
    const Wide halfNode = std::max<Wide>(2, (node - BlockHeader) / KeyPointer / 2);
    const Wide leaves = ceilDivWide(std::max<Wide>(itemBytes_, 1), halfLeaf);
    Wide blocks = leaves;
    for (Wide level = leaves; level > 1;) {
        level = ceilDivWide(level, halfNode);
        blocks += level;
    }
    blocks += ceilDivWide(TreeBlockItem * blocks, halfLeaf);
    return held((blocks + BlocksOfEveryCommit) * node);
}

BtrfsCopy::Room BtrfsCopy::room() const
{
    const Wide data = Wide{dataBytes_} + inlineSector();
    const Wide metadata = metadataBound();
    const Wide node = volume_.nodeBytes, reserve = volume_.globalReserveBytes;
    const Wide inFlight = BlocksInFlight * node;
    if (!volume_.allocationRead) {
        // Every byte of metadata in new chunks of the largest size, in as
        // many copies as any profile makes, and a data chunk's tail.
        const Wide chunks = MostCopies * (roundUpWide(metadata + reserve + inFlight, ChunkStep) + GiB);
        return {Regime::Unknown, held(data + chunks + GiB)};
    }
    if (volume_.mixed)
        return {Regime::Mixed, held(data + metadata + reserve + MixedBlocksInFlight * node)};

    const BtrfsChunks& d = volume_.data;
    const BtrfsChunks& m = volume_.metadata;
    const Wide metadataCopies = m.copies;
    // RAID5/6 data: f_bavail divides by no copies.
    const Wide dataCopies = d.striped ? 1 : d.copies;
    const Wide used = Wide{m.usedBytes} + m.heldBytes;
    const Wide tenth = roundUpWide(volume_.deviceBytes / 10, ChunkRounding);
    const Wide metadataChunk = std::min<Wide>(m.chunkBytes, tenth);
    const Wide dataChunk = std::min<Wide>({GiB, d.chunkBytes, tenth});
    // New data chunks, where the copy's data passes the free data space,
    // take unallocated space before metadata can.
    const Wide dataFree = Wide{d.totalBytes} - d.usedBytes;
    const bool dataGrows = data > dataFree;
    const Wide unallocatedAfter = std::max<Wide>(
        0, Wide{volume_.unallocatedBytes} - (dataGrows ? Wide{d.copies} * (data - dataFree + dataChunk) : 0));
    const Wide overcommit = d.striped || m.striped
                                ? 0
                                : std::max<Wide>(0, unallocatedAfter / metadataCopies - dataChunk) / OvercommitShare;
    const Wide total = m.totalBytes;
    if (used + metadata + inFlight <= total && used + metadata + reserve + inFlight <= total + overcommit)
        return {Regime::InChunks, held(data)};
    // The last chunk is added while the metadata in use, the reserve and
    // what is in flight pass the chunks: at most one chunk beyond that.
    const Wide need = used + metadata + reserve + inFlight - total;
    const Wide chunks = ceilDivWide(metadataCopies * (roundUpWide(need, ChunkStep) + metadataChunk), dataCopies);
    return {Regime::NewChunks, held(data + chunks + (dataGrows ? dataChunk : 0))};
}

BtrfsCopy::Regime BtrfsCopy::regime() const
{
    return room().regime;
}

CopyNeeds BtrfsCopy::needs() const
{
    return {room().bytes, dataBytes_, entries_};
}

bool BtrfsCopy::exact() const
{
    // Exact where the copy takes its data and no more: not where a file kept
    // inline needs a sector free that it does not keep, nor where data is
    // compressed or cloned from the same volume.
    return regime() == Regime::InChunks && !inlineFiles_ && !volume_.compressed && !sourceOnTarget_;
}

}  // namespace dorvelix
