// The rows of a search's breakdown down to a depth, as dorvelix-report's
// --folders --depth lists them and as a saved scan holds them, and the
// writer of the saved scan's figures, shared by the report and the window so
// that both save the same document.
#pragma once

#include "results.h"

#include <QString>
#include <string>
#include <vector>

namespace dorvelix {

class JsonWriter;

// One folder with everything below it, as its parent's breakdown lists it;
// at level 1 an empty path is the chosen folder's own files and table (".").
struct ScanRow {
    int level = 1;     // 1: a subfolder of the chosen folder
    std::string path;  // from the chosen folder, the names joined by "/", as bytes
    FolderRow row;
};

// The name a row is shown with: "." for the chosen folder's own files, else
// its last name.
QString scanRowName(const ScanRow& row);

// The rows down to depth levels below the chosen folder: each folder
// followed by the folders below it, the subfolders of one folder largest
// converted first (walk order among equals). Depth 1 is the top-level rows
// and "." of the search; deeper levels come from its kept tree, or are left
// out when the search kept none (a stopped search).
std::vector<ScanRow> scanRows(const SearchResult& s, int depth);

// The saved scan's "folder", "subtree" and "converted" objects.
void jsonScanFigures(JsonWriter& j, const SearchResult& s, const QString& folder);
// Its "folders" array down to depth levels; from depth 2 on, each row also
// has its level and its path.
void jsonScanRows(JsonWriter& j, const SearchResult& s, int depth);
// A whole saved scan: what dorvelix-report --json --folders --depth writes
// for the same search, without the drive's figures other than its cluster
// length, and the search's limits and messages.
std::string savedScanDocument(const SearchResult& s, const QString& folder, int depth);

}  // namespace dorvelix
