// A folder's entries as the program's file chooser shows them, read the way
// the walk reads folders: the folder opened without changing its access
// time where the system lets the program ask for that, each entry's kind,
// length and time taken from the entry itself with links not followed, and
// no file's contents read. The mount points inside it are listed as drives
// from the mount table, without being touched. The whole reading is
// bounded like the first touch of a folder, so that a drive that has
// stopped answering never holds the caller longer than AnswerLimit.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace dorvelix {

enum class ListedKind : unsigned char { Folder, Drive, File, Link, Special };

struct ListedEntry {
    static constexpr long long NoTime = std::numeric_limits<long long>::min();
    std::string name;  // the exact bytes
    ListedKind kind = ListedKind::File;
    long long length = -1;              // a file's length; -1 for every other kind and the unknown
    long long modifiedMs = NoTime;      // last modification, in milliseconds since the epoch
};

struct FolderListing {
    std::string path;  // the folder listed: "/" or without a trailing "/"
    std::vector<ListedEntry> entries;
};

// Lists the folder at path (absolute). Throws RuntimeError 71 when its drive
// does not answer in time (or has gone), 76 when it cannot be opened or read.
FolderListing listFolderInTime(const std::string& path);

// The folder that holds path: "/" for "/" itself and for a name directly
// below it.
std::string parentFolder(const std::string& path);

}  // namespace dorvelix
