#include "cluster_lengths.h"

#include "messages.h"
#include "runtime_error.h"

#include <algorithm>
#include <limits>

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

// mkfs.fat's FAT32 (dosfstools 4.2, -F 32 -s N), as measured on images of
// every size: the volume's sectors of 512 bytes rounded down to whole
// tracks (16 sectors up to 2 MiB, 32 up to 256 MiB, 63 above), 32 reserved
// sectors, and two FATs sized for the clusters that the data area holds
// with them; above 4 MiB the reserved sectors and each FAT are rounded up to
// whole clusters, so that the data area starts on a cluster. The root
// folder takes one cluster. mkfs.fat makes FAT32 of any cluster count up to
// 2^28 - 16, also below the 65,525 that the FAT type rule asks for.
constexpr long long FatSector = 512;
constexpr long long FatReservedSectors = 32;
constexpr long long FatEntryBytes = 4;
constexpr long long FatCopies = 2;
constexpr long long Fat32MostClusters = (1LL << 28) - 16;
constexpr long long SmallTrackLimit = 4096;      // sectors
constexpr long long MediumTrackLimit = 524288;   // sectors
constexpr long long UnalignedLimit = 8192;       // sectors

long long trackSectors(long long sectors)
{
    return sectors <= SmallTrackLimit ? 16 : sectors <= MediumTrackLimit ? 32 : 63;
}

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
    largestFile_ = std::max(largestFile_, length);
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
    c.largestFile = lengths.largestFile();
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
    long long sectors = capacity / FatSector;
    sectors = sectors / trackSectors(sectors) * trackSectors(sectors);
    const bool aligned = sectors > UnalignedLimit;
    const long long reserved = aligned ? ceilDiv(FatReservedSectors, perCluster) * perCluster : FatReservedSectors;
    const long long dataSectors = sectors - reserved;
    if (dataSectors <= 0)
        return std::nullopt;
    // The clusters that fit beside their own two FATs, then the FATs for
    // those clusters in whole sectors (whole clusters where aligned).
    const long long fitting = (dataSectors * FatSector + FatCopies * 2 * FatEntryBytes)
        / (clusterLength + FatCopies * FatEntryBytes);
    long long fatSectors = ceilDiv((fitting + 2) * FatEntryBytes, FatSector);
    if (aligned)
        fatSectors = ceilDiv(fatSectors, perCluster) * perCluster;
    const long long clusters = (dataSectors - FatCopies * fatSectors) / perCluster;
    if (clusters <= 1 || clusters > Fat32MostClusters)
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

namespace dorvelix {

LengthJudgement judgeLength(const LengthsAnswer& a, const LengthFigures& f, FreshFormat format)
{
    const bool exfat = format == FreshFormat::Exfat;
    LengthJudgement j;
    j.bytes = exfat ? std::optional<long long>(f.exfatBytes) : f.fat32Bytes;
    if (j.bytes && *j.bytes > 0)
        j.slackPercent = 100.0 * static_cast<double>(*j.bytes - a.fileBytes) / static_cast<double>(*j.bytes);
    if (!a.capacity)
        return j;
    j.isDefault = (exfat ? defaultExfatLength(*a.capacity) : defaultFat32Length(*a.capacity)) == f.clusterLength;
    const auto free = exfat ? freshExfatFreeBytes(*a.capacity, f.clusterLength)
                            : freshFat32FreeBytes(*a.capacity, f.clusterLength);
    if (j.bytes && free)
        j.fits = *j.bytes <= *free && (exfat || a.largestFile <= Fat32LargestFile);
    return j;
}

LengthAdvice adviseLength(const LengthsAnswer& a, FreshFormat format)
{
    LengthAdvice advice;
    advice.format = format;
    advice.largeFileRefused = format == FreshFormat::Fat32 && a.largestFile > Fat32LargestFile;
    for (const LengthFigures& f : a.figures) {
        const LengthJudgement j = judgeLength(a, f, format);
        if (!j.bytes)
            continue;
        if (j.isDefault) {
            advice.defaultLength = f.clusterLength;
            advice.defaultBytes = j.bytes;
        }
        const bool fits = a.capacity ? j.fits.value_or(false) : !advice.largeFileRefused;
        // Lengths rise: a later length with as few bytes wins the tie.
        if (fits && (!advice.leastLength || *j.bytes <= advice.leastBytes)) {
            advice.leastLength = f.clusterLength;
            advice.leastBytes = *j.bytes;
        }
    }
    // A default beyond the compared lengths (exFAT's 128 KiB is compared,
    // its larger ones are not) is named without its bytes.
    if (a.capacity && !advice.defaultLength) {
        advice.defaultLength = format == FreshFormat::Exfat ? defaultExfatLength(*a.capacity)
                                                            : defaultFat32Length(*a.capacity);
    }
    return advice;
}

const char* formattingTool(FreshFormat format)
{
    return format == FreshFormat::Exfat ? "mkfs.exfat" : "mkfs.fat";
}

std::string formatCommand(FreshFormat format, long long clusterLength)
{
    constexpr const char* Device = " /dev/sdX1";
    if (format == FreshFormat::Exfat)
        return std::string(formattingTool(format)) + " -c " + std::to_string(clusterLength) + Device;
    return std::string(formattingTool(format)) + " -F 32 -s " + std::to_string(clusterLength / FatSector) + Device;
}

std::optional<long long> parseCapacity(const QString& value)
{
    static const QString Suffixes = QStringLiteral("KMGT");
    QString digits = value;
    int shift = 0;
    if (!digits.isEmpty() && Suffixes.contains(digits.back().toUpper())) {
        shift = 10 * (static_cast<int>(Suffixes.indexOf(digits.back().toUpper())) + 1);
        digits.chop(1);
    }
    if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    bool ok = false;
    const long long n = digits.toLongLong(&ok);
    if (!ok || n <= 0 || n > (std::numeric_limits<long long>::max() >> shift))
        return std::nullopt;
    return n << shift;
}

}  // namespace dorvelix
