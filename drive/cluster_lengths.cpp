#include "cluster_lengths.h"

#include "messages.h"
#include "runtime_error.h"

#include <algorithm>

namespace dorvelix {

namespace {

constexpr long long MiB = 1024 * 1024;
constexpr long long GiB = 1024 * MiB;

long long lengthAt(int i)
{
    return SmallestComparedLength << i;
}

long long ceilDiv(long long a, long long b)
{
    return (a + b - 1) / b;
}

// A copy to a fresh FAT32 volume by the kernel's default rule, and to exFAT.
const TableRule FatRule{TableFormat::Fat, LongNames::UnlessUpperCaseShortName};
const TableRule ExfatRule{TableFormat::Exfat, LongNames::ForEveryName};

// The default lengths by capacity, measured by formatting sparse images of
// each size with the tools themselves (mkfs.fat 4.2 -F 32, mkfs.exfat of
// exfatprogs 1.2.0): the first row whose bound the capacity does not pass.
struct DefaultRow {
    long long upTo;  // capacity, inclusive
    long long length;
};
constexpr DefaultRow Fat32Defaults[] = {
    {260 * MiB, 512}, {8 * GiB, 4096}, {16 * GiB, 8192}, {32 * GiB, 16384}, {0, 32768}};
constexpr DefaultRow ExfatDefaults[] = {{256 * MiB, 4096}, {32 * GiB, 32768}, {0, 131072}};

template <size_t N>
long long defaultLength(const DefaultRow (&rows)[N], long long capacity)
{
    for (const DefaultRow& row : rows) {
        if (row.upTo == 0 || capacity <= row.upTo)
            return row.length;
    }
    return rows[N - 1].length;
}

// mkfs.fat's FAT32, as measured on images: the volume's sectors of 512
// bytes rounded down to whole tracks of 63, 32 reserved sectors (a
// cluster's worth where a cluster is larger), two FATs sized for the
// clusters the volume would hold without them and rounded up to whole
// clusters, so that the data area starts on a cluster; the root folder
// takes one cluster. FAT32 holds 65,525 to 268,435,445 clusters.
constexpr long long FatSector = 512;
constexpr long long FatTrackSectors = 63;
constexpr long long FatReservedSectors = 32;
constexpr long long Fat32FewestClusters = 65525;
constexpr long long Fat32MostClusters = 0x0FFFFFF5;

// mkfs.exfat: the boot region and the FAT each start on a 1 MiB boundary
// (or a cluster's, if larger); the allocation bitmap, the up-case table
// (5,836 bytes) and the root folder take clusters of the heap.
constexpr long long ExfatBoundary = MiB;
constexpr long long ExfatUpcaseBytes = 5836;

}  // namespace

void AllLengths::folderRead(const std::string&, const FolderScan& folder)
{
    const long long fatEntries = folderTableEntries(folder, FatRule, unsure_);
    const long long exfatEntries = folderTableEntries(folder, ExfatRule, unsure_);
    for (int i = 0; i < ComparedLengths; ++i) {
        fatClusters_[i] += tableClusters(fatEntries, lengthAt(i));
        exfatClusters_[i] += tableClusters(exfatEntries, lengthAt(i));
    }
}

void AllLengths::fileBooked(const std::string&, const FolderEntry&, long long length)
{
    fileBytes_ += length;
    for (int i = 0; i < ComparedLengths; ++i) {
        const long long clusters = (length + lengthAt(i) - 1) >> (9 + i);
        fatClusters_[i] += clusters;
        exfatClusters_[i] += clusters;
    }
}

std::array<LengthFigures, ComparedLengths> AllLengths::figures() const
{
    std::array<LengthFigures, ComparedLengths> rows;
    for (int i = 0; i < ComparedLengths; ++i) {
        const long long length = lengthAt(i);
        rows[i].clusterLength = length;
        if (length <= LargestFat32Length)
            rows[i].fat32Bytes = fatClusters_[i] * length;
        rows[i].exfatBytes = exfatClusters_[i] * length;
    }
    return rows;
}

LengthsComparison compareLengths(const std::string& folder, WalkProgress& progress)
{
    LengthsComparison c;
    AllLengths lengths;
    // The walk's own counts are not read: the observer counts every length.
    CompleteWalk walk(SmallestComparedLength, SmallestComparedLength, nullptr, &lengths);
    walk.setProgress(&progress);
    walk.setEveryLinkConverted(true);
    try {
        if (walk.run(folder).stopped)
            return c;
    } catch (const RuntimeError& e) {
        c.outcome = LengthsComparison::Outcome::FolderUnreadable;
        c.error = errorDescription(e);
        return c;
    }
    c.outcome = LengthsComparison::Outcome::Answered;
    c.figures = lengths.figures();
    c.fileBytes = lengths.fileBytes();
    return c;
}

long long defaultFat32Length(long long capacity)
{
    return defaultLength(Fat32Defaults, capacity);
}

long long defaultExfatLength(long long capacity)
{
    return defaultLength(ExfatDefaults, capacity);
}

std::optional<long long> freshFat32FreeBytes(long long capacity, long long clusterLength)
{
    if (clusterLength > LargestFat32Length || clusterLength < FatSector)
        return std::nullopt;
    const long long perCluster = clusterLength / FatSector;
    const long long sectors = capacity / FatSector / FatTrackSectors * FatTrackSectors;
    const long long reserved = ceilDiv(FatReservedSectors, perCluster) * perCluster;
    if (sectors <= reserved)
        return std::nullopt;
    const long long fatSectors = ceilDiv(ceilDiv(((sectors - reserved) / perCluster + 2) * 4, FatSector), perCluster)
        * perCluster;
    const long long clusters = (sectors - reserved - 2 * fatSectors) / perCluster;
    if (clusters < Fat32FewestClusters || clusters > Fat32MostClusters)
        return std::nullopt;
    return (clusters - 1) * clusterLength;  // the root folder's cluster
}

std::optional<long long> freshExfatFreeBytes(long long capacity, long long clusterLength)
{
    const long long boundary = std::max(ExfatBoundary, clusterLength);
    if (capacity <= 2 * boundary)
        return std::nullopt;
    const long long most = (capacity - boundary) / clusterLength;
    const long long fatBytes = ceilDiv((most + 2) * 4, boundary) * boundary;
    const long long clusters = (capacity - boundary - fatBytes) / clusterLength;
    const long long system = ceilDiv(ceilDiv(clusters, 8), clusterLength) + ceilDiv(ExfatUpcaseBytes, clusterLength) + 1;
    if (clusters <= system)
        return std::nullopt;
    return (clusters - system) * clusterLength;
}

}  // namespace dorvelix
