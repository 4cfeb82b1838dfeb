// The main window's value boxes Text1 .. Text37 by meaning, and the one
// place where the typed results are formatted into them with the number
// patterns. The drive query, the search and the conversion menu call these;
// the window and the recording window only store the texts.
#pragma once

#include "results.h"
#include "window_services.h"

namespace dorvelix {

namespace box {
// The drive panel.
inline constexpr int DriveText = 1;
inline constexpr int BytesPerSector = 2;
inline constexpr int SectorsPerCluster = 3;
inline constexpr int TotalClusters = 4;
inline constexpr int FreeClusters = 5;
inline constexpr int TotalBytes = 6;
inline constexpr int FreeBytes = 7;
inline constexpr int FreeRatio = 8;
inline constexpr int ClusterLength = 9;
inline constexpr int FileSystem = 13;
inline constexpr int UsedClusters = 35;
inline constexpr int UsedBytes = 36;
// The folder panel: the chosen folder alone, the subtree, the converted row.
inline constexpr int AloneFiles = 31;
inline constexpr int AloneClusters = 30;
inline constexpr int AloneBytes = 32;
inline constexpr int SearchClusterLength = 12;
inline constexpr int SubtreeFolders = 10;
inline constexpr int SubtreeFiles = 11;
inline constexpr int SubtreeClusters = 28;
inline constexpr int SubtreeBytes = 29;
inline constexpr int ConvertLength = 37;
inline constexpr int ConvertClusters = 33;
inline constexpr int ConvertBytes = 34;
}  // namespace box

// Every figure the drive query reached; the others keep their boxes' text.
void showDriveFigures(FormView& view, const DriveFigures& d);
// "- " in the nine folder-result boxes, and in Text2 .. Text9.
void blankFolderResults(FormView& view);
void blankDriveGeometry(FormView& view);

// The folder panel's rows, each as the search reaches it.
void showFolderFiles(FormView& view, long long files);
void showFolderAlone(FormView& view, const SearchResult& r);
void showSubtree(FormView& view, const SearchResult& r);
// The subtree and converted rows back to empty boxes.
void blankSubtree(FormView& view);

// A conversion length picked in the menu: shown, and the converted row
// cleared until the next search.
void showConvertLengthPicked(FormView& view, long long length);

}  // namespace dorvelix
