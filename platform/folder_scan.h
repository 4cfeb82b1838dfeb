// One read of a folder: its entries in list order, and the open folder kept
// for queries on them (lengths are read relative to it, so long paths and
// renamed parents do not matter and no path is resolved twice). Mount points
// of the mount table are left out of the entries without being touched.
#pragma once

#include "mount_boundaries.h"

#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace dorvelix {

enum class EntryKind : unsigned char { Folder, Regular, Link, Special };

struct FolderEntry {
    std::string name;  // exact bytes
    EntryKind kind;
};

class FolderScan {
public:
    // Opens and reads the folder at path (absolute). When parent is the scan of
    // the folder that holds it, the folder is opened relative to that one.
    // The mount points left out are those of boundaries; without it, those
    // of the parent's scan, else of the mount table as it is now.
    // Throws RuntimeError 76 when the folder cannot be opened or read, 71 when
    // its drive has gone (a FUSE driver that ended, a device pulled out).
    static std::shared_ptr<const FolderScan> read(std::string_view path, const FolderScan* parent = nullptr,
                                                  std::shared_ptr<const MountBoundaries> boundaries = {});
    ~FolderScan();
    FolderScan(const FolderScan&) = delete;
    FolderScan& operator=(const FolderScan&) = delete;

    // The folder's path: a drive's root folder (a mount point) ends with "/",
    // others do not.
    const std::string& path() const { return path_; }
    bool isRoot() const { return isRoot_; }
    const std::vector<FolderEntry>& entries() const { return entries_; }
    // The full path of an entry of this folder.
    std::string childPath(std::string_view name) const;
    // An entry's own length (links not followed); RuntimeError 53 or 52.
    long long entryLength(const std::string& name) const;
    // The mount points this scan and the scans of its subfolders leave out.
    const std::shared_ptr<const MountBoundaries>& boundaries() const { return boundaries_; }

private:
    FolderScan() = default;
    int fd_ = -1;
    bool isRoot_ = false;
    std::string path_;
    std::string realPath_;  // without symbolic links, for the mount table; "" when unknown
    std::shared_ptr<const MountBoundaries> boundaries_;
    std::vector<FolderEntry> entries_;
};

// Orders names ignoring the case of ASCII letters, then by their bytes.
bool listOrderLess(std::string_view a, std::string_view b);

// Opens a file-system object read-only without updating its access time where
// the system allows that. Returns the descriptor or -1 (errno set).
int openReadOnly(int dirFd, const char* path, int extraFlags);

// Maps a failed length query's errno to the run-time error: 53 or 52, or 71
// when the drive has gone.
int lengthErrorNumber(int errnoValue);
// Maps a failed folder read's errno to the run-time error: 76, or 71 when the
// drive has gone.
int folderErrorNumber(int errnoValue);

}  // namespace dorvelix
