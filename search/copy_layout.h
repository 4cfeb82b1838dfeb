// What a copy of a folder takes on a target drive, counted by the target
// file system's own layout from what the complete walk reads (the names,
// kinds and lengths of the entries, never their contents): the bytes it
// takes out of the free space, of them the files' data, and the files,
// folders and links it makes (inodes, MFT records). Each layout is told
// every folder and file the walk reads, as any WalkObserver is.
#pragma once

#include "complete_walk.h"
#include "copy_check.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dorvelix {

struct CopyNeeds {
    long long bytes = 0;      // out of the bytes free to the user: data, folders and the file system's records
    long long dataBytes = 0;  // of them, the files' contents as the target allocates them
    long long entries = 0;    // the files, folders, links and special files the copy makes
};

// The folder a copy goes into, as read before the walk: its entries and its
// own size on disk (a folder's st_size: its blocks' bytes on ext2/3/4).
struct TargetFolder {
    std::shared_ptr<const FolderScan> listing;
    long long ownBytes = 0;
};

class CopyLayout : public WalkObserver {
public:
    virtual CopyNeeds needs() const = 0;
    // Whether needs() is what the target's driver takes (else a bound that
    // is never under it).
    virtual bool exact() const = 0;
    // Entries that pass a limit of the target's own (a folder's entries, a
    // file's size ...).
    virtual std::vector<BlockedEntry> blocked() const { return {}; }
    // Whether the layout follows the order in which a copy creates a
    // folder's entries: the walk then keeps it (FolderScan::entriesInCopyOrder).
    virtual bool wantsCreationOrder() const { return false; }
    // Whether needs() holds what the entry the copy adds to the folder it
    // goes into may take there (else it is left out, and said so).
    virtual bool countsTargetEntry() const { return false; }
    // Whether the layout is to be told the folder the copy goes into, and
    // telling it, before the walk: the folder (nothing where it could not be
    // read in time) and the name the copy will have there.
    virtual bool wantsTargetFolder() const { return false; }
    virtual void targetFolderRead(const std::optional<TargetFolder>& folder, std::string_view copiedName)
    {
        (void)folder;
        (void)copiedName;
    }
    // What the copy takes out of the target's free inodes where that is not
    // one for each entry it makes (f2fs counts them in node blocks).
    virtual std::optional<long long> inodesNeeded() const { return std::nullopt; }
};

// Every entry of the walk and the longest file, whatever the target.
class CopyCensus : public WalkObserver {
public:
    void folderRead(const std::string& path, const FolderScan& folder) override;
    void fileBooked(const std::string& path, const FolderEntry& entry, long long length) override;

    // Folders (the copied one too) and every other entry.
    long long entries() const { return folders_ + files_; }
    long long folders() const { return folders_; }
    long long largestFile() const { return largest_; }
    const std::string& largestFilePath() const { return largestPath_; }

private:
    long long folders_ = 0;
    long long files_ = 0;
    long long largest_ = 0;
    std::string largestPath_;
};

// Sends each walk event to every observer of a list, in turn.
class ObserverList : public WalkObserver {
public:
    void add(WalkObserver* observer)
    {
        if (observer)
            observers_.push_back(observer);
    }
    void folderRead(const std::string& path, const FolderScan& folder) override;
    void fileBooked(const std::string& path, const FolderEntry& entry, long long length) override;

private:
    std::vector<WalkObserver*> observers_;
};

// The last part of a path ("a/b/name" -> "name").
std::string_view lastName(std::string_view path);

// a / b rounded up, for positive b.
constexpr long long ceilDiv(long long a, long long b)
{
    return (a + b - 1) / b;
}

// a rounded up to a multiple of b.
constexpr long long roundUp(long long a, long long b)
{
    return ceilDiv(a, b) * b;
}

}  // namespace dorvelix
