#include "ntfs_tally.h"

#include "ntfs_records.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace dorvelix {

namespace {

using ntfs::align8;

constexpr std::int64_t Most = std::numeric_limits<std::int64_t>::max();
// ntfs-3g never gives new files the records below this number.
constexpr std::int64_t FirstUserRecord = 64;
// A volume just made by mkntfs has this many records in its MFT, all in use.
constexpr std::int64_t FreshVolumeRecords = 27;
// The MFT grows by the clusters of this many records at a time.
constexpr std::int64_t MftGrowthRecords = 16;
// The least an index entry takes (a name of one unit).
constexpr std::int64_t SmallestIndexEntry = 88;
// Where another writer than ntfs-3g may add a short name to each entry:
// the largest index entry of a short name.
constexpr std::int64_t ShortNameEntryBytes = 112;
// Room kept for an MFT growth step of unknown length (another writer).
constexpr std::int64_t UnknownMftGrowth = 1 << 20;
// The most ntfs3 preallocates beyond a file's length.
constexpr std::int64_t LargestPreallocation = std::int64_t{64} << 20;

std::int64_t plus(std::int64_t a, std::int64_t b)
{
    std::int64_t sum = 0;
    return __builtin_add_overflow(a, b, &sum) ? Most : sum;
}

std::int64_t times(std::int64_t a, std::int64_t b)
{
    std::int64_t product = 0;
    return __builtin_mul_overflow(a, b, &product) ? Most : product;
}

std::int64_t ceilDivide(std::int64_t a, std::int64_t b)
{
    return a / b + (a % b != 0);
}

}  // namespace

NtfsTally::NtfsTally(const NtfsVolume& volume, std::int64_t recordBytes)
    : r_(recordBytes),
      cs_(std::max<std::int64_t>(volume.clusterBytes, 1)),
      b_(volume.indexBlockBytes),
      a_(ntfs::firstAttributeOffset(recordBytes)),
      measured_(volume.writer == NtfsVolume::Writer::Ntfs3g),
      preallocates_(volume.preallocates),
      totalClusters_(volume.totalClusters),
      mft_(volume.mft)
{
}

void NtfsTally::folder(std::int64_t nameUnits, std::span<const std::string_view> names)
{
    const ntfs::IndexGeometry geometry{r_, cs_, b_, measured_ ? 0 : ShortNameEntryBytes};
    const ntfs::FolderIndexCount index = ntfs::countFolderIndex(geometry, nameUnits, names);
    std::int64_t blocks = index.blocks;
    std::int64_t blockClusters = index.blockClusters;
    records_ = plus(records_, 1 + index.extraRecords);
    if (!index.recordModelled)
        exact_ = false;
    if (!measured_) {
        // Another writer: a block more for an index that has blocks, and a
        // record and two clusters for what it may add to the folder.
        blocks += blocks > 0 ? 1 : 0;
        blockClusters = ceilDivide(blocks * b_, cs_) + 2;
        records_ = plus(records_, 1);
    }
    clusters_ = plus(clusters_, blockClusters + index.otherClusters);
    if (blocks < 2 && index.recordModelled)
        return;
    // Blocks placed between other data: a runlist of a run per block may
    // push the root out of the record (the security descriptor and an
    // attribute list non-resident, an extent record) and spill over into
    // extent records of its own, and the tree may take a block more.
    const std::int64_t most = blocks + 1;
    const std::int64_t runs = cs_ <= b_ ? most : ceilDivide(most * b_, cs_);
    const std::int64_t runExtents = ceilDivide(7 * runs, r_ - a_ - 80);
    const std::int64_t pushedOut = 1 + ceilDivide(216 + 40 * runExtents, cs_) + (most > 64 ? 1 : 0);
    const std::int64_t boundClusters = ceilDivide(most * b_, cs_) + std::max(index.otherClusters, pushedOut);
    const std::int64_t boundRecords = std::max(index.extraRecords, 1 + runExtents);
    safeExtraClusters_ = plus(safeExtraClusters_, boundClusters - ceilDivide(blocks * b_, cs_) - index.otherClusters);
    safeExtraRecords_ = plus(safeExtraRecords_, boundRecords - index.extraRecords);
}

void NtfsTally::file(EntryKind kind, std::int64_t nameUnits, std::int64_t length)
{
    if (kind == EntryKind::Link) {
        link(nameUnits, length);
        return;
    }
    if (kind != EntryKind::Regular) {
        // A FIFO, socket or device: ntfs-3g keeps it in one record; another
        // writer may store it as a reparse point.
        records_ = plus(records_, measured_ ? 1 : 2);
        clusters_ = plus(clusters_, measured_ ? 0 : 2);
        return;
    }
    records_ = plus(records_, 1);
    // Data that fits the record stays there (ntfs-3g: the record, its
    // standard information, security descriptor, name and data header).
    const std::int64_t residentMost = r_ - a_ - 232 - align8(66 + 2 * nameUnits);
    if (length <= 0 || (measured_ && length <= residentMost))
        return;
    const std::int64_t data = clustersOf(length);
    const std::int64_t taken = preallocates_ ? plus(data, LargestPreallocation / cs_ + 1) : data;
    clusters_ = plus(clusters_, taken);
    dataClusters_ = plus(dataClusters_, taken);
    fragmentedRunsMargin(nameUnits, taken);
}

void NtfsTally::fragmentedRunsMargin(std::int64_t nameUnits, std::int64_t clusters)
{
    // Where the free space lies in holes a file may get a run per cluster,
    // of up to 7 bytes each: a runlist longer than its record's room goes
    // to extent records, listed in an attribute list of its own.
    const std::int64_t room = r_ - a_ - 272 - align8(66 + 2 * nameUnits);
    const std::int64_t pairs = plus(times(7, clusters), 1);
    if (pairs <= room)
        return;
    const std::int64_t extents = plus(1, ceilDivide(pairs, r_ - a_ - 72));
    safeExtraRecords_ = plus(safeExtraRecords_, extents);
    safeExtraClusters_ = plus(safeExtraClusters_, ceilDivide(times(32, plus(4, extents)), cs_));
}

void NtfsTally::link(std::int64_t nameUnits, std::int64_t targetBytes)
{
    if (!measured_) {
        // A reparse point may hold the target twice, in UTF-16.
        records_ = plus(records_, 2);
        clusters_ = plus(clusters_, 2 + clustersOf(times(4, targetBytes)));
        return;
    }
    // The target's UTF-16 units lie between a third of its bytes (every
    // character of three bytes) and its bytes (all ASCII).
    const std::int64_t most = std::clamp<std::int64_t>(targetBytes, 0, 4096);
    const auto key = std::make_pair(ntfs::fileNameBytes(nameUnits), most);
    auto known = links_.find(key);
    if (known == links_.end()) {
        const ntfs::LinkRecords longest = ntfs::symbolicLinkRecords(r_, cs_, nameUnits, most);
        LinkCost cost{longest.records, longest.clusters, true};
        // One record holds every shorter target too; beyond it the records
        // and clusters do not grow with the target, so each is tried.
        if (longest.records > 1 || longest.clusters > 0) {
            for (std::int64_t units = (most + 2) / 3; units < most; ++units) {
                const ntfs::LinkRecords r = ntfs::symbolicLinkRecords(r_, cs_, nameUnits, units);
                cost.same = cost.same && r.records == longest.records && r.clusters == longest.clusters;
                cost.records = std::max(cost.records, r.records);
                cost.clusters = std::max(cost.clusters, r.clusters);
            }
        }
        known = links_.emplace(key, cost).first;
    }
    records_ = plus(records_, known->second.records);
    clusters_ = plus(clusters_, known->second.clusters);
    exact_ = exact_ && known->second.same;
}

NtfsTally::MftGrowth NtfsTally::mftGrowth(std::int64_t records, std::int64_t free, bool smallestSteps) const
{
    // Unread: a volume just made, its MFT full.
    const std::int64_t allocated = mft_ ? mft_->allocatedBytes : ceilDivide(FreshVolumeRecords * r_, cs_) * cs_;
    const std::int64_t need = records - free;
    if (need <= 0)
        return {};
    // New records follow the MFT's end (never below record 64); it grows by
    // 16 records' clusters, or one record's (at least a cluster) when short
    // of room.
    const std::int64_t first = std::max(allocated / r_, FirstUserRecord);
    const std::int64_t end = plus(first, need);
    const std::int64_t smallest = std::max<std::int64_t>(r_ / cs_, 1);
    const std::int64_t step = smallestSteps ? smallest : std::max(MftGrowthRecords * r_ / cs_, smallest);
    MftGrowth g;
    const std::int64_t missing = times(end, r_) - allocated;
    g.dataClusters = missing > 0 ? times(ceilDivide(missing, times(step, cs_)), step) : 0;
    // Its bitmap's data grows by 8 bytes (64 records) at a time, its
    // allocation by a cluster.
    if (mft_)
        g.bitmapClusters = std::max<std::int64_t>(0, ceilDivide(8 * ceilDivide(end, 64), cs_) - mft_->bitmapAllocatedBytes / cs_);
    else
        g.bitmapClusters = ceilDivide(need, 8 * cs_) + 1;
    return g;
}

std::pair<std::int64_t, std::int64_t> NtfsTally::targetFolderAllowance() const
{
    // Every block of an index but the root holds an entry, so an index of n
    // entries has at most log2(n + 1) levels of blocks; adding an entry may
    // split each and push the root into a block of its own. The folder
    // holds no more entries than the volume has room for. Its record may
    // also lose its security descriptor and gain an attribute list and an
    // extent record.
    const std::int64_t volumeBytes = totalClusters_ > 0 ? times(totalClusters_, cs_) : Most;
    const auto levels = static_cast<std::int64_t>(std::bit_width(static_cast<std::uint64_t>(volumeBytes / SmallestIndexEntry)));
    return {ceilDivide((levels + 1) * b_, cs_) + 2, 1};
}

NtfsCount NtfsTally::count() const
{
    const auto total = [](const MftGrowth& g) { return plus(g.dataClusters, g.bitmapClusters); };
    // With room to spare ntfs-3g takes the free records first. Those left
    // by deleted files it may pass by and grow the MFT (its search from
    // where it last took a record may stop at the MFT's end), so the bound
    // counts only the free records after the last one in use (none for a
    // writer not measured here).
    const std::int64_t free = mft_ ? mft_->freeRecords : 0, freeAtEnd = mft_ ? mft_->freeRecordsAtEnd : 0;
    const MftGrowth roomy = mftGrowth(records_, free, false);
    const MftGrowth least = mftGrowth(records_, free, true);
    const auto [allowanceClusters, allowanceRecords] = targetFolderAllowance();
    NtfsCount c;
    c.records = records_;
    c.safeRecords = plus(plus(records_, safeExtraRecords_), allowanceRecords);
    const MftGrowth safe = mftGrowth(c.safeRecords, measured_ ? freeAtEnd : 0, false);
    c.clusters = plus(clusters_, total(roomy));
    c.leastClusters = plus(clusters_, total(least));
    // An MFT that grows in pieces may need an attribute list of its own.
    c.safeClusters = plus(plus(clusters_, safeExtraClusters_), plus(allowanceClusters, total(safe)));
    c.safeClusters = plus(c.safeClusters, (safe.dataClusters > 0 ? 1 : 0) + (measured_ ? 0 : ceilDivide(UnknownMftGrowth, cs_)));
    c.dataClusters = dataClusters_;
    c.known = exact_ && measured_ && mft_ && free == freeAtEnd;
    return c;
}

}  // namespace dorvelix
