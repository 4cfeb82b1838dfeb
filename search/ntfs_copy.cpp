#include "ntfs_copy.h"

#include "ntfs_index.h"

#include <algorithm>
#include <limits>

namespace dorvelix {

NtfsCopy::NtfsCopy(const NtfsVolume& volume, FolderScan::CopyOrder order)
    : clusterBytes_(std::max<std::int64_t>(volume.clusterBytes, 1)), order_(order)
{
    tallies_.emplace_back(volume, volume.recordBytes);
    if (volume.otherRecordBytes && *volume.otherRecordBytes != volume.recordBytes)
        tallies_.emplace_back(volume, *volume.otherRecordBytes);
}

void NtfsCopy::folderRead(const std::string& path, const FolderScan& folder)
{
    ++entries_;
    // The copied folder is named as its own path ends (a drive's root ends
    // with "/").
    std::string_view own = folder.path();
    while (own.size() > 1 && own.back() == '/')
        own.remove_suffix(1);
    const std::int64_t units = std::max<std::int64_t>(1, ntfs::utf16Units(lastName(path.empty() ? own : path)));
    std::vector<const FolderEntry*> entries = folder.entriesInCopyOrder(order_);
    if (entries.empty())
        entries = folder.entriesInListOrder();
    std::vector<std::string_view> names;
    names.reserve(entries.size());
    for (const FolderEntry* e : entries)
        names.push_back(folder.name(*e));
    for (NtfsTally& t : tallies_)
        t.folder(units, names);
}

void NtfsCopy::fileBooked(const std::string& path, const FolderEntry& entry, long long length)
{
    ++entries_;
    const std::int64_t units = ntfs::utf16Units(lastName(path));
    for (NtfsTally& t : tallies_)
        t.file(entry.kind, units, length);
}

NtfsCount NtfsCopy::count() const
{
    NtfsCount most = tallies_.front().count();
    for (size_t i = 1; i < tallies_.size(); ++i) {
        const NtfsCount other = tallies_[i].count();
        if (other.safeClusters > most.safeClusters)
            most = other;
        most.known = false;  // the record length is not known
    }
    return most;
}

CopyNeeds NtfsCopy::needs() const
{
    const NtfsCount c = count();
    const auto bytes = [this](std::int64_t clusters) {
        long long b = 0;
        return __builtin_mul_overflow(clusters, clusterBytes_, &b) ? std::numeric_limits<long long>::max() : b;
    };
    return {bytes(c.safeClusters), bytes(c.dataClusters), entries_};
}

}  // namespace dorvelix
