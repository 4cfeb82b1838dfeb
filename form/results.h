// The typed results of the drive query and the folder search. The window's
// value boxes, the headless report and the tests read these values; each of
// them formats them in its own single place.
#pragma once

#include "text.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace dorvelix {

class CountedTree;

// A whole figure: exact in 64 bits, or a double where a product or a
// worked-back quotient lies beyond them (the double is shown rounded).
using Whole = std::variant<long long, double>;

// The drive's figures as the last query left them. A figure the query did
// not reach (a failing step, the no-medium path) is empty, and the panel box
// showing it keeps its text.
struct DriveFigures {
    QString text;                        // the drive text
    std::optional<QString> fileSystem;   // "FAT" shown as "FAT16"
    std::optional<Whole> bytesPerSector;
    std::optional<Whole> sectorsPerCluster;
    std::optional<Whole> clusterLength;  // the queried cluster length
    std::optional<Whole> totalClusters;
    std::optional<Whole> totalBytes;
    std::optional<Whole> usedClusters;
    std::optional<Whole> usedBytes;
    std::optional<Whole> freeClusters;
    std::optional<Whole> freeBytes;
    std::optional<float> freeRatio;      // free ÷ total cluster units
    // The lengths the search counts with afterwards: the drive's cluster
    // length and the conversion length reset to it.
    std::optional<long long> searchClusterLength;
    std::optional<long long> convertLength;
    bool noMedium = false;               // the free-space query failed
};

// Folders, files and the cluster units they occupy at the drive's cluster
// length and at the conversion length; fileBytes is the files' own lengths
// summed (what du --apparent-size counts for them), so that the clusters'
// overhead can be seen beside it.
struct FolderRow {
    long long folders = 0;
    long long files = 0;
    long long clusters = 0;
    long long convertClusters = 0;
    long long fileBytes = 0;
};

// One top-level subfolder of the chosen folder with everything below it,
// itself counted among the folders; an empty name is the chosen folder's
// own files and table.
struct SubfolderRow {
    std::string name;
    FolderRow row;
};

// A row's name as the breakdown and the report show it: "." for the chosen
// folder's own files.
inline QString rowName(const SubfolderRow& row)
{
    return row.name.empty() ? QStringLiteral(".") : displayText(row.name);
}

// What kept a search from counting everything below its folder.
struct WalkLimits {
    bool complete = false;           // every level, hidden and special files at every depth
    long long levelsSkipped = 0;     // folders below the deepest level: not entered
    long long hiddenSkipped = 0;     // hidden and special files where the walk does not list them
    long long unreadableFolders = 0; // not opened: skipped with everything below them
    long long unreadableFiles = 0;   // counted, but their lengths could not be read
    bool driveStopped = false;       // the drive stopped answering: the figures are what was counted before
};

// What one folder search found. The rows are filled as the search reaches
// them: files right after the chosen folder is listed, the folder-alone row
// after its files are booked, the subtree when the walk has ended.
struct SearchResult {
    long long clusterLength = 0;
    long long convertLength = 0;
    std::optional<long long> files;      // the chosen folder's own files
    std::optional<FolderRow> alone;      // those files' cluster units, no table, no folder cluster
    std::optional<FolderRow> subtree;    // everything, with both lengths' cluster units
    std::vector<SubfolderRow> subfolders;
    WalkLimits limits;
    // A copy of the folder also needs the folder's own table at the
    // conversion length, which the subtree leaves to the folder's parent
    // (its first cluster, and the whole table of a drive's root folder).
    std::optional<long long> ownTableConvertClusters;
    // The search was stopped before its end: subtree stays empty, and
    // countedBeforeStop holds the totals it had reached.
    bool stopped = false;
    std::optional<FolderRow> countedBeforeStop;
    // Every folder the search entered with its figures, once it has ended
    // (stopped, it holds none).
    std::shared_ptr<const CountedTree> tree;

    long long bytes(long long clusters) const { return clusters * clusterLength; }
    long long convertBytes(long long clusters) const { return clusters * convertLength; }
    // A row's figures as the breakdown and the report list them: folders,
    // files, cluster units and their bytes at both lengths, and the growth
    // in bytes from the drive's length to the conversion length.
    std::array<long long, 7> rowFigures(const FolderRow& x) const
    {
        return {x.folders, x.files, x.clusters, bytes(x.clusters), x.convertClusters, convertBytes(x.convertClusters),
                convertBytes(x.convertClusters) - bytes(x.clusters)};
    }
};

}  // namespace dorvelix
