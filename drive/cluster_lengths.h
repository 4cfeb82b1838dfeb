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
#include <string>

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
    // The longest file's own length.
    long long largestFile() const { return largestFile_; }

private:
    std::array<long long, ComparedLengths> fatClusters_{};
    std::array<long long, ComparedLengths> exfatClusters_{};
    long long fileBytes_ = 0;
    long long largestFile_ = 0;
    bool unsure_ = false;
};

// The comparison the window "クラスタ長の比較" shows: one complete walk of
// folder, on a worker thread, with progress and cancel through progress.
struct LengthsComparison {
    enum class Outcome { Answered, Cancelled, FolderUnreadable };
    Outcome outcome = Outcome::Cancelled;
    std::array<LengthFigures, ComparedLengths> figures{};
    long long fileBytes = 0;
    long long largestFile = 0;
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

// A volume size as a user writes it: whole bytes, or a whole number of K,
// M, G or T (powers of 1,024), without sign or spaces; nothing for anything
// else or an overflow.
std::optional<long long> parseCapacity(const QString& text);

// FAT32 takes no file of 4 GiB or more; exFAT does.
inline constexpr long long Fat32LargestFile = (1LL << 32) - 1;

// A copy of the compared folder, as the report's --lengths and the window
// "クラスタ長の比較" judge it: the bytes at every length, the files' own
// bytes, the longest file, and the volume size asked about.
struct LengthsAnswer {
    std::array<LengthFigures, ComparedLengths> figures{};
    long long fileBytes = 0;
    long long largestFile = 0;
    std::optional<long long> capacity;
};

enum class FreshFormat { Fat32, Exfat };

// One file system at one length: its bytes (nothing where it does not take
// the length), the slack in per cent of them, whether it is the formatting
// tool's default for the capacity, and whether the copy fits a volume of
// that capacity just formatted (nothing without a capacity, or where the
// tool cannot make such a volume).
struct LengthJudgement {
    std::optional<long long> bytes;
    double slackPercent = 0;
    bool isDefault = false;
    std::optional<bool> fits;
};
LengthJudgement judgeLength(const LengthsAnswer& a, const LengthFigures& f, FreshFormat format);

// Which length to format with, for one file system: the length that takes
// least for this folder (of those that fit a fresh volume of the capacity,
// where one is given; a tie goes to the longer length), and the formatting
// tool's own default for the capacity with what it takes.
struct LengthAdvice {
    FreshFormat format = FreshFormat::Fat32;
    std::optional<long long> leastLength;  // nothing where no length fits
    long long leastBytes = 0;
    std::optional<long long> defaultLength;
    std::optional<long long> defaultBytes;
    bool largeFileRefused = false;  // FAT32 and a file of 4 GiB or more: nothing fits
};
LengthAdvice adviseLength(const LengthsAnswer& a, FreshFormat format);

// The formatting tool of a format ("mkfs.fat"), and the command that formats
// a device with a length ("mkfs.fat -F 32 -s 8 /dev/sdX1": sectors of 512
// bytes per cluster; "mkfs.exfat -c 4096 /dev/sdX1").
const char* formattingTool(FreshFormat format);
std::string formatCommand(FreshFormat format, long long clusterLength);

}  // namespace dorvelix
