// The facts the file information dialog shows about the file double-clicked
// in the main window's file list: its full path, its length in decimal and
// hexadecimal, the cluster units it occupies, its date and its attributes.
#pragma once

#include "lists.h"

#include <QString>
#include <cstdint>
#include <string>

namespace dorvelix {

// The texts of the dialog's five value boxes.
struct FileInfoTexts {
    QString path;        // the full path, as the file system spells it
    QString length;      // "   1,234 ﾊﾞｲﾄ (4D2H )", in English "   1,234 bytes (0x4D2)"
    QString clusters;    // occupied cluster units
    QString attributes;  // "  Read-Only Archive "
    QString date;        // last-modified date and time
};

// The attribute text: two spaces, then "Read-Only ", "Hidden ", "System ",
// "Dir " and "Archive " for the bits that are set, or "Normal " for none.
QString attributeText(int attributes);

// Cluster units a file of `length` bytes occupies at clusterLength bytes a
// cluster: 0 for an empty file, and 0 while the cluster length is unknown
// (not greater than 0).
long long occupiedClusters(long long length, std::int32_t clusterLength);

// The full path of the file list's selected entry: the folder the file list lists (the folder list's
// open folder while the file list has not been pointed anywhere) and the bare name,
// joined by "/" unless the folder already ends in one. "" when no entry is
// selected.
std::string selectedFilePath(const FolderList& openFolders, const FileList& openFiles);

// The dialog's texts for the file list's selected entry. Nothing here fails: a fact
// that cannot be read shows the reason in its own box (a file deleted since
// the list was read shows the description of "file not found"), and with no
// selected entry the path box names the folder and the length box says that
// no file is selected.
FileInfoTexts fileInfoTexts(const FolderList& openFolders, const FileList& openFiles, std::int32_t clusterLength);

}  // namespace dorvelix
