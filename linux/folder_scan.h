// One read of a folder: its entries, and the open folder kept for queries on
// them (lengths are read relative to it, so long paths and renamed parents do
// not matter and no path is resolved twice). The names of one listing call
// live in one buffer; an entry holds the place of its name there. Mount
// points of the mount table are left out of the entries without being touched.
#pragma once

#include "mount_boundaries.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

struct stat;

namespace dorvelix {

enum class EntryKind : unsigned char { Folder, Regular, Link, Special };

struct FolderEntry {
    std::uint32_t nameAt;  // buffer number << 16 | offset of the name (NUL-terminated) in it
    std::uint16_t nameSize;
    EntryKind kind;
};

// Which file on which device an entry is: two names with one identity are
// links to the same file, which the disk holds once.
struct FileIdentity {
    dev_t device;
    ino_t inode;
    bool operator==(const FileIdentity&) const = default;
};

class FolderScan {
public:
    // Opens and reads the folder at path (absolute). When parent is the scan of
    // the folder that holds it, the folder is opened relative to that one.
    // The mount points left out are those of boundaries; without it, those
    // of the parent's scan, else of the mount table as it is now.
    // Throws RuntimeError 76 when the folder cannot be opened or read, 71 when
    // its drive has gone (a FUSE driver that ended, a device pulled out).
    // With keepCreationOrder (or a parent that keeps it) the scan keeps what
    // a copy's order of creation follows: each entry's inode number and its
    // place in the listing.
    static std::shared_ptr<FolderScan> read(std::string_view path, const FolderScan* parent = nullptr,
                                            std::shared_ptr<const MountBoundaries> boundaries = {},
                                            bool keepCreationOrder = false);
    // The same for a folder the program has not read yet, bounded like a
    // volume query (answerInTime): RuntimeError 71 when the folder's drive
    // does not answer in time, or still holds a call that did not. The
    // folder is read on a worker thread; whileWaiting, when given, runs on
    // the caller's meanwhile (runInTime).
    static std::shared_ptr<FolderScan> readInTime(std::string_view path,
                                                  const std::function<void()>& whileWaiting = {},
                                                  bool keepCreationOrder = false);
    ~FolderScan();
    FolderScan(const FolderScan&) = delete;
    FolderScan& operator=(const FolderScan&) = delete;

    // The folder's path: a drive's root folder (a mount point) ends with "/",
    // others do not.
    const std::string& path() const { return path_; }
    bool isRoot() const { return isRoot_; }
    // Subfolders on the folder's own file system, in list order.
    const std::vector<FolderEntry>& folders() const { return folders_; }
    // Every other entry (files, links, special files), in the order the
    // system gave them; see sortInListOrder.
    const std::vector<FolderEntry>& files() const { return files_; }
    std::string_view name(const FolderEntry& e) const { return {cName(e), e.nameSize}; }
    const char* cName(const FolderEntry& e) const { return names_[e.nameAt >> 16].get() + (e.nameAt & 0xFFFF); }
    // The full path of an entry of this folder.
    std::string childPath(std::string_view name) const;

    // File i's own length (links not followed); RuntimeError 53 or 52, 71
    // when the drive has gone. A length read before is not read again.
    long long fileLength(std::uint32_t file) const;
    // The entry's own status (links not followed): 0, else the errno. A
    // chooser shows each entry's length and time from it.
    int entryStatus(const FolderEntry& entry, struct ::stat& status) const;
    // The same without raising: the length, or -errno when it cannot be read.
    long long lengthOrError(std::uint32_t file) const
    {
        const long long length = lengths_[file];
        return length == NotQueried ? queryLength(file) : length;
    }
    // Reads ahead the own lengths of files [from, to) that a list showing
    // hidden and system files as told would list. Different ranges may be
    // read by different threads at once; a range is read by one thread.
    void queryLengths(std::uint32_t from, std::uint32_t to, bool hiddenAndSystem) const;
    // File i's identity when it has more than one link, as its length query
    // found it; nothing for a file with one link or whose length has not been
    // read. Safe while other threads read other files' lengths.
    std::optional<FileIdentity> sharedIdentity(std::uint32_t file) const;
    // Whether a file list of this kind lists the entry.
    static bool listed(std::string_view name, EntryKind kind, bool hidden, bool system)
    {
        return (hidden || name.front() != '.') && (system || kind != EntryKind::Special);
    }
    // Every entry, folders and files, in list order.
    std::vector<const FolderEntry*> entriesInListOrder() const;
    // Every entry in the order a copy creates them: GNU cp sorts a folder's
    // entries by inode number, except where the folder lies on tmpfs or NFS,
    // whose listing order it keeps. Empty unless the scan keeps its creation
    // order (read()).
    enum class CopyOrder { ByInode, AsListed };
    std::vector<const FolderEntry*> entriesInCopyOrder(CopyOrder order) const;
    bool keepsCreationOrder() const { return keepsCreationOrder_; }
    // The own length of an entry of files(), as fileLength.
    long long entryLength(const FolderEntry& file) const
    {
        return fileLength(static_cast<std::uint32_t>(&file - files_.data()));
    }
    // Sorts entry indices (into entries) as listOrderLess orders their names.
    void sortInListOrder(std::vector<std::uint32_t>& order, const std::vector<FolderEntry>& entries) const;
    // Every file's index in list order, sorted once by whichever thread asks
    // first; the others wait for it. A walk sorts a folder's files on a
    // worker thread so that the thread that shows them finds them sorted.
    std::span<const std::uint32_t> filesInListOrder() const;
    // Whether filesInListOrder() answers at once.
    bool filesSorted() const { return filesSorted_.load(std::memory_order_acquire); }
    // How many listing calls have answered in this process so far: a sign
    // of life of the drives being read, however large a folder is.
    static std::uint64_t listingsRead() { return listingsRead_.load(std::memory_order_relaxed); }
    // The bytes held for the folder's names and entries.
    size_t footprint() const;
    // The mount points this scan and the scans of its subfolders leave out.
    const std::shared_ptr<const MountBoundaries>& boundaries() const { return boundaries_; }

    // The scan with every file's length as bytes for another process of this
    // build (the reader, which reads a drive that may stop answering), and
    // the scan made again from them: it holds no open folder, and its
    // subfolders are read by that process too. Null when the bytes are not
    // a scan's.
    void appendTo(std::string& bytes) const;
    static std::shared_ptr<FolderScan> fromBytes(std::string_view bytes, const FolderScan* parent);
    // Every file's length (or -errno) as bytes, and stored from them: the
    // reader measured a folder this process holds. False when the bytes do
    // not fit the folder.
    void appendLengthsTo(std::string& bytes) const;
    bool takeLengths(std::string_view bytes) const;

private:
    FolderScan() = default;
    int fd_ = -1;
    bool isRoot_ = false;
    std::string path_;
    std::string realPath_;  // without symbolic links, for the mount table; "" when unknown
    std::shared_ptr<const MountBoundaries> boundaries_;
    struct Free {
        void operator()(void* p) const;
    };
    struct SortKey;
    // Fills in the keys of entries keys[i].index and sorts them as
    // listOrderLess orders those entries' names.
    void sortKeys(SortKey* keys, size_t count, const std::vector<FolderEntry>& entries) const;
    // One buffer for the names of each listing call (at most 64 KiB), of
    // the size they take.
    std::vector<std::unique_ptr<char, Free>> names_;
    size_t nameBytes_ = 0;
    bool readEntries(const MountBoundaries::Names* mountPoints);
    static inline std::atomic<std::uint64_t> listingsRead_{0};
    std::vector<FolderEntry> folders_;
    std::vector<FolderEntry> files_;
    // With keepsCreationOrder_: every entry in listing order, its inode
    // number and where it is (a folder's index with FolderBit, else a file's).
    struct Created {
        std::uint64_t inode;
        std::uint32_t entry;
    };
    static constexpr std::uint32_t FolderBit = 1U << 31;
    bool keepsCreationOrder_ = false;
    std::vector<Created> created_;
    static constexpr long long NotQueried = -(1LL << 62);
    // Lengths read so far, by file index: NotQueried, a length, or -errno. A
    // cache of what the system says, filled also through a const scan.
    std::unique_ptr<long long[]> lengths_;
    long long queryLength(std::uint32_t file) const;
    // The identities of the files with more than one link, by file index:
    // few in most folders, so they are kept apart from the lengths.
    mutable std::mutex linksMutex_;
    mutable std::vector<std::pair<std::uint32_t, FileIdentity>> links_;
    mutable bool linksSorted_ = true;
    mutable std::atomic<bool> hasLinks_{false};
    mutable std::once_flag sortFiles_;
    mutable std::unique_ptr<std::uint32_t[], Free> filesInOrder_;
    mutable std::atomic<bool> filesSorted_{false};
};

// Lengths (or -errno) of a folder's files by index, with the identities of
// those that have more than one link, in the form FolderScan::takeLengths
// reads: what the reader measured for a folder this process holds.
void appendLengths(std::string& bytes, std::span<const long long> lengths,
                   std::span<const std::pair<std::uint32_t, FileIdentity>> links);

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
