// Every cluster length at once: the bytes a copy of a folder takes on a
// fresh FAT32 volume (the kernel's vfat, shortname=mixed) and on a fresh
// exFAT volume, at every power of two from 512 bytes to 32 MiB, counted in
// one walk as a copy to such a target is counted (TargetTables' rules). Also
// the cluster lengths mkfs.fat and mkfs.exfat pick for a volume's size, and
// the room a freshly formatted volume offers.
#pragma once

#include "complete_walk.h"
#include "target_tables.h"

#include <QString>
#include <array>
#include <optional>

namespace dorvelix {

inline constexpr long long SmallestComparedLength = 512;
inline constexpr int ComparedLengths = 17;  // 512 B .. 32 MiB
inline constexpr long long LargestFat32Length = 65536;

// The bytes a copy takes at one cluster length.
struct LengthFigures {
    long long clusterLength = 0;
    std::optional<long long> fat32Bytes;  // nothing above 64 KiB, which FAT32 does not take
    long long exfatBytes = 0;
};

class AllLengths : public WalkObserver {
public:
    void folderRead(const std::string& path, const FolderScan& folder) override;
    void fileBooked(const std::string& path, const FolderEntry& entry, long long length) override;

    std::array<LengthFigures, ComparedLengths> figures() const;
    // The files' own lengths, every link of a file counted, as a copy makes them.
    long long fileBytes() const { return fileBytes_; }

private:
    std::array<long long, ComparedLengths> fatClusters_{};
    std::array<long long, ComparedLengths> exfatClusters_{};
    long long fileBytes_ = 0;
    bool unsure_ = false;
};

// The comparison the window "クラスタ長の比較" shows: one complete walk of
// folder, on a worker thread, with progress and cancel through progress.
struct LengthsComparison {
    enum class Outcome { Answered, Cancelled, FolderUnreadable };
    Outcome outcome = Outcome::Cancelled;
    std::array<LengthFigures, ComparedLengths> figures{};
    long long fileBytes = 0;
    QString error;  // why the folder cannot be opened
};
LengthsComparison compareLengths(const std::string& folder, WalkProgress& progress);

// The cluster lengths mkfs.fat -F 32 (dosfstools 4.2) and mkfs.exfat
// (exfatprogs 1.2) pick by default for a volume of capacity bytes.
long long defaultFat32Length(long long capacity);
long long defaultExfatLength(long long capacity);

// The bytes free on a volume of capacity bytes just formatted at
// clusterLength, never more than the formatting tool leaves; nothing where
// the tool cannot make that volume (FAT32: too few or too many clusters).
std::optional<long long> freshFat32FreeBytes(long long capacity, long long clusterLength);
std::optional<long long> freshExfatFreeBytes(long long capacity, long long clusterLength);

}  // namespace dorvelix
