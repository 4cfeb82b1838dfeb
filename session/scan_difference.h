// What changed between a saved scan and a search of now: per folder down to
// the depth the saved scan lists, the figures then and now, folders added
// and gone marked, the largest growth in occupied bytes first.
#pragma once

#include "results.h"
#include "saved_scan.h"

#include <string>
#include <vector>

namespace dorvelix {

struct FolderChange {
    enum class Kind { Changed, Added, Gone };
    Kind kind = Kind::Changed;
    int level = 1;
    std::string path;  // from the chosen folder, as displayed (UTF-8)
    FolderRow then;    // all zero for an added folder
    FolderRow now;     // all zero for a gone one
    long long thenBytes = 0;  // occupied at the drive's cluster length of then
    long long nowBytes = 0;   // and of now
    long long thenConvertBytes = 0;
    long long nowConvertBytes = 0;
    long long growthBytes() const { return nowBytes - thenBytes; }
};

struct ScanDifference {
    int depth = 0;              // the levels compared: those the saved scan lists
    long long clusterLength = 0;  // the lengths of now (those of then are the saved scan's)
    long long convertLength = 0;
    FolderChange whole;         // the chosen folder itself (level 0, empty path)
    std::vector<FolderChange> changes;  // largest growth first, then by path
};

// Compares the saved scan with the search's result, the rows of now taken
// from its kept tree down to the saved scan's depth. Folders whose figures
// are all equal are left out; the whole folder is always there.
ScanDifference compareScans(const SavedScan& then, const SearchResult& now);

}  // namespace dorvelix
