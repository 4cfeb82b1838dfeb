// The clusters a copy really takes on a FAT12/16/32 or exFAT drive: every
// copied folder's table as the target's driver writes it, and every file in
// whole clusters. Fed by the complete walk, independent of the lengths the
// walk itself counts at (the window's figures keep their own table rule).
#pragma once

#include "cluster_accounting.h"
#include "complete_walk.h"
#include "copy_check.h"

#include <string>
#include <string_view>
#include <vector>

namespace dorvelix {

// When a FAT driver writes long-name entries beside a name's 8.3 entry.
enum class LongNames {
    UnlessUpperCaseShortName,  // every name but a valid 8.3 name without a lower-case letter
    UnlessOneCaseShortName,    // every name but a valid 8.3 name whose base and extension are each in one case
    ForEveryName,
};

enum class TableFormat { Fat, Exfat };

struct TableRule {
    TableFormat format = TableFormat::Fat;
    LongNames longNames = LongNames::ForEveryName;  // FAT only
};

// FAT numbers a folder's entries with 16 bits: a table holds 65,536 at most.
inline constexpr long long FatFolderEntryLimit = 65536;

// The 32-byte entries one name takes in a folder table under rule: on FAT
// its 8.3 entry and, where the driver writes one, a long name of one entry
// per 13 UTF-16 units; on exFAT a File and a Stream Extension entry and one
// File Name entry per 15 UTF-16 units. unsure is set where the driver's
// choice cannot be known (names outside ASCII, for which the long name is
// counted).
long long nameEntries(std::string_view name, const TableRule& rule, bool& unsure);

// The entries a folder's table starts with: "." and ".." on FAT, none on exFAT.
long long ownEntries(TableFormat format);

// The clusters a table of entries takes: at least one, else whole clusters
// of 32-byte entries (a table that fills its clusters exactly takes no more).
long long tableClusters(long long entries, long long clusterLength);

// The entries of a folder's table under rule: its own ("." and ".." on
// FAT) and every entry's name.
long long folderTableEntries(const FolderScan& folder, const TableRule& rule, bool& unsure);

class TargetTables : public WalkObserver {
public:
    TargetTables(TableRule rule, long long clusterLength) : rule_(rule), clusterLength_(clusterLength) {}

    void folderRead(const std::string& path, const FolderScan& folder) override;
    void fileBooked(const std::string& path, const FolderEntry& entry, long long length) override;

    // Every copied folder's table (the copied folder's own too) and file.
    long long clusters() const { return clusters_; }
    // Folders whose table would pass FAT's 65,536 entries.
    const std::vector<BlockedEntry>& blocked() const { return blocked_; }
    // Whether some name's entries were counted high because the driver's
    // choice for it is not known.
    bool unsure() const { return unsure_; }

private:
    TableRule rule_;
    long long clusterLength_;
    long long clusters_ = 0;
    bool unsure_ = false;
    std::vector<BlockedEntry> blocked_;
};

// Sends each walk event to two observers, in turn.
class ObserverPair : public WalkObserver {
public:
    ObserverPair(WalkObserver& first, WalkObserver& second) : first_(first), second_(second) {}
    void folderRead(const std::string& path, const FolderScan& folder) override;
    void fileBooked(const std::string& path, const FolderEntry& entry, long long length) override;

private:
    WalkObserver& first_;
    WalkObserver& second_;
};

}  // namespace dorvelix
