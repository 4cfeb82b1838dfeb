// The MFT's own record (record 0): the allocation of its data, and its
// bitmap, whose clear bits are the records a new file can take without the
// MFT growing.
#include "ntfs_volume.h"

#include <algorithm>
#include <bit>
#include <unistd.h>
#include <vector>

namespace dorvelix {

namespace {

// The records below this number are kept for the volume's own files: new
// files never take them.
constexpr std::int64_t FirstUserRecord = 64;
// The update sequence protects every 512 bytes of a record, whatever the
// sector length.
constexpr std::int64_t UpdateStride = 512;
// Bitmap bytes read at once.
constexpr std::int64_t ReadChunk = 1 << 20;

constexpr std::uint32_t AttributeList = 0x20, Data = 0x80, Bitmap = 0xB0, EndMarker = 0xFFFFFFFF;

std::uint64_t little(const unsigned char* p, int bytes)
{
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | p[i];
    return v;
}

bool readAt(int fd, std::int64_t offset, unsigned char* to, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, to + done, size - done, static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

struct Run {
    std::int64_t clusters;
    std::optional<std::int64_t> firstCluster;  // none for a hole
};

// The runs of a non-resident attribute's mapping pairs: a header byte
// (length bytes | offset bytes << 4), the run's length, then the signed
// distance of its first cluster from the previous run's; 0 ends the list.
std::optional<std::vector<Run>> mappingPairs(const unsigned char* p, std::size_t size, std::int64_t totalClusters)
{
    std::vector<Run> runs;
    std::int64_t cluster = 0;
    std::size_t at = 0;
    while (at < size && p[at] != 0) {
        const int lengthBytes = p[at] & 15, offsetBytes = p[at] >> 4;
        if (lengthBytes == 0 || lengthBytes > 8 || offsetBytes > 8
            || at + 1 + static_cast<std::size_t>(lengthBytes + offsetBytes) > size)
            return std::nullopt;
        const std::uint64_t length = little(p + at + 1, lengthBytes);
        if (length == 0 || length > static_cast<std::uint64_t>(totalClusters))
            return std::nullopt;
        Run run{static_cast<std::int64_t>(length), std::nullopt};
        if (offsetBytes > 0) {
            std::uint64_t delta = little(p + at + 1 + lengthBytes, offsetBytes);
            if (offsetBytes < 8 && (delta >> (8 * offsetBytes - 1)) & 1)
                delta |= ~std::uint64_t{0} << (8 * offsetBytes);  // negative: sign-extended
            if (__builtin_add_overflow(cluster, static_cast<std::int64_t>(delta), &cluster) || cluster < 0
                || cluster > totalClusters - run.clusters)
                return std::nullopt;
            run.firstCluster = cluster;
        }
        runs.push_back(run);
        at += 1 + static_cast<std::size_t>(lengthBytes + offsetBytes);
    }
    return runs;
}

// Undoes the update sequence of a record read from the disk: the last two
// bytes of every 512 hold the sequence number, their own bytes wait in the
// array. False when a part was not written with the rest.
bool undoUpdateSequence(std::vector<unsigned char>& record)
{
    const std::size_t size = record.size();
    const std::size_t offset = little(record.data() + 4, 2), count = little(record.data() + 6, 2);
    if (count < 2 || offset + 2 * count > size || (count - 1) * UpdateStride > size)
        return false;
    for (std::size_t i = 1; i < count; ++i) {
        unsigned char* tail = record.data() + i * UpdateStride - 2;
        if (tail[0] != record[offset] || tail[1] != record[offset + 1])
            return false;
        tail[0] = record[offset + 2 * i];
        tail[1] = record[offset + 2 * i + 1];
    }
    return true;
}

// The MFT bitmap as record 0 holds it.
struct BitmapAttribute {
    std::int64_t allocatedBytes = 0;
    std::int64_t bytes = 0;
    std::vector<Run> runs;                // non-resident
    std::vector<unsigned char> resident;  // resident
    bool nonResident = false;
};

// The records from FirstUserRecord below the MFT's end that the bitmap
// leaves free, all and after the last one in use.
struct FreeRecords {
    std::int64_t all = 0;
    std::int64_t atEnd = 0;
};

class FreeRecordCount {
public:
    explicit FreeRecordCount(std::int64_t records) : records_(records) {}

    // Bitmap bytes [first, first + size).
    void add(const unsigned char* bytes, std::int64_t first, std::int64_t size)
    {
        for (std::int64_t i = 0; i < size; ++i) {
            const std::int64_t bit = (first + i) * 8;
            // The bits that stand for records from FirstUserRecord up to the end.
            unsigned mask = 0xFF;
            if (bit < FirstUserRecord)
                mask = FirstUserRecord - bit >= 8 ? 0U : mask << (FirstUserRecord - bit) & 0xFF;
            if (bit + 8 > records_)
                mask &= records_ <= bit ? 0U : 0xFFU >> (bit + 8 - records_);
            const unsigned used = bytes[i] & mask;
            free_ += std::popcount(~static_cast<unsigned>(bytes[i]) & mask);
            if (used)
                lastUsed_ = bit + 7 - std::countl_zero(static_cast<std::uint8_t>(used));
        }
    }

    // Bits beyond the bitmap's data count as free.
    FreeRecords result(std::int64_t bitmapBytes) const
    {
        const std::int64_t beyond = std::max<std::int64_t>(0, records_ - std::max(FirstUserRecord, bitmapBytes * 8));
        const std::int64_t end = std::max(FirstUserRecord, lastUsed_ + 1);
        return {free_ + beyond, std::max<std::int64_t>(0, records_ - end)};
    }

private:
    std::int64_t records_;
    std::int64_t free_ = 0;
    std::int64_t lastUsed_ = -1;
};

std::optional<FreeRecords> freeRecords(const VolumeFile& file, const NtfsVolume& volume, const BitmapAttribute& bitmap,
                                       std::int64_t records)
{
    const std::int64_t wanted = std::min(bitmap.bytes, (records + 7) / 8);
    FreeRecordCount count(records);
    if (!bitmap.nonResident) {
        if (static_cast<std::int64_t>(bitmap.resident.size()) < wanted)
            return std::nullopt;
        count.add(bitmap.resident.data(), 0, wanted);
        return count.result(wanted);
    }
    std::vector<unsigned char> chunk;
    std::int64_t done = 0;
    for (const Run& run : bitmap.runs) {
        for (std::int64_t inRun = 0; done < wanted && inRun < run.clusters * volume.clusterBytes;) {
            const std::int64_t size = std::min({ReadChunk, wanted - done, run.clusters * volume.clusterBytes - inRun});
            chunk.assign(static_cast<std::size_t>(size), 0);
            if (run.firstCluster
                && !readAt(file.fd(), *run.firstCluster * volume.clusterBytes + inRun, chunk.data(), chunk.size()))
                return std::nullopt;
            count.add(chunk.data(), done, size);
            done += size;
            inRun += size;
        }
    }
    return done == wanted ? std::optional<FreeRecords>(count.result(wanted)) : std::nullopt;
}

}  // namespace

std::optional<NtfsVolume::Mft> readNtfsMft(const VolumeFile& file, const NtfsVolume& volume)
{
    const std::int64_t size = volume.recordBytes;
    std::vector<unsigned char> record(static_cast<std::size_t>(size));
    if (!file || !readAt(file.fd(), volume.mftOffset, record.data(), record.size())
        || std::string_view(reinterpret_cast<const char*>(record.data()), 4) != "FILE" || !undoUpdateSequence(record))
        return std::nullopt;
    std::optional<std::int64_t> dataAllocated;
    std::optional<BitmapAttribute> bitmap;
    bool attributeList = false;
    for (std::int64_t at = static_cast<std::int64_t>(little(record.data() + 0x14, 2)); at + 16 <= size;) {
        const unsigned char* a = record.data() + at;
        const auto type = static_cast<std::uint32_t>(little(a, 4));
        if (type == EndMarker)
            break;
        const auto length = static_cast<std::int64_t>(little(a + 4, 4));
        if (length < 16 || length > size - at)
            return std::nullopt;
        const bool nonResident = a[8] != 0, unnamed = a[9] == 0;
        attributeList = attributeList || type == AttributeList;
        if (nonResident && length < 0x48)
            return std::nullopt;
        if (type == Data && unnamed && nonResident && little(a + 0x10, 8) == 0) {
            dataAllocated = static_cast<std::int64_t>(little(a + 0x28, 8));
        } else if (type == Bitmap && unnamed) {
            BitmapAttribute b;
            b.nonResident = nonResident;
            if (nonResident) {
                b.allocatedBytes = static_cast<std::int64_t>(little(a + 0x28, 8));
                b.bytes = static_cast<std::int64_t>(little(a + 0x30, 8));
                const auto pairs = static_cast<std::int64_t>(little(a + 0x20, 2));
                if (pairs < 0x40 || pairs >= length)
                    return std::nullopt;
                auto runs = mappingPairs(a + pairs, static_cast<std::size_t>(length - pairs), volume.totalClusters);
                if (!runs)
                    return std::nullopt;
                b.runs = std::move(*runs);
            } else {
                const auto valueLength = static_cast<std::int64_t>(little(a + 0x10, 4));
                const auto valueOffset = static_cast<std::int64_t>(little(a + 0x14, 2));
                if (valueOffset + valueLength > length)
                    return std::nullopt;
                b.bytes = valueLength;
                b.allocatedBytes = (valueLength + 7) & ~std::int64_t{7};
                b.resident.assign(a + valueOffset, a + valueOffset + valueLength);
            }
            bitmap = std::move(b);
        }
        at += length;
    }
    if (!dataAllocated || !bitmap || *dataAllocated < FirstUserRecord / 4 * size || bitmap->bytes < 0
        || bitmap->allocatedBytes < 0 || *dataAllocated % volume.clusterBytes != 0)
        return std::nullopt;
    NtfsVolume::Mft mft;
    mft.allocatedBytes = *dataAllocated;
    mft.bitmapAllocatedBytes = bitmap->allocatedBytes;
    // An MFT in so many pieces that its record lists its attributes
    // elsewhere: its free records are not counted (fewer free records only
    // make the count higher).
    if (attributeList)
        return mft;
    const auto free = freeRecords(file, volume, *bitmap, mft.allocatedBytes / size);
    if (!free)
        return std::nullopt;
    mft.freeRecords = free->all;
    mft.freeRecordsAtEnd = free->atEnd;
    return mft;
}

}  // namespace dorvelix
