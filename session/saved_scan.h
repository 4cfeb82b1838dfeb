// A saved scan read back: the JSON document of dorvelix-report --json
// --folders [--depth N] (or the window's save of the same), kept as its
// figures and its folder rows only. The file is read as a stream, so that
// what stays in memory is the rows it lists, whatever else it holds.
#pragma once

#include "results.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace dorvelix {

// The document's kind and the version of its layout, as its "format" and
// "format_version" name them.
inline constexpr char SavedScanFormat[] = "dorvelix-report";
inline constexpr long long SavedScanFormatVersion = 1;

// One row of the saved breakdown. Top-level rows written without a level
// or a path (--folders alone) are at level 1 under their name.
struct SavedFolder {
    int level = 1;
    std::string path;  // from the chosen folder, as displayed (UTF-8), "/" between names
    FolderRow row;
};

struct SavedScan {
    std::string folder;                // the chosen folder as displayed (UTF-8)
    long long clusterLength = 0;       // the drive's cluster length then
    long long convertLength = 0;       // the conversion length then
    FolderRow subtree;                 // the chosen folder with everything below it
    int depth = 0;                     // the deepest level the rows reach: 0 without rows
    std::vector<SavedFolder> folders;  // in the order saved, without the "." row
};

// Why a file is not a saved scan that can be read.
class SavedScanError : public std::runtime_error {
public:
    enum class Kind {
        Unreadable,      // cannot be opened or read: errorNumber tells why
        Truncated,       // the file ends inside the document
        NotJson,         // a syntax error at offset
        NotAScan,        // JSON, but not an object with a "format"
        OtherFormat,     // another program's document: found is its format
        NewerFormat,     // a later layout than this program reads: found is its version
        MissingFigure,   // a figure the comparison needs is missing: found is its key
        ValueTooLong,    // a name or text at offset longer than any saved one can be
    };
    SavedScanError(Kind kind, long long offset = 0, int errorNumber = 0, std::string found = {});
    Kind kind;
    long long offset;    // the byte the reader stopped at
    int errorNumber;     // errno for Unreadable
    std::string found;
};

// Reads the saved scan at path; SavedScanError when it cannot.
SavedScan readSavedScan(const std::string& path);

}  // namespace dorvelix
