// What will not copy to a drive of the FAT family: files of 4 GiB or more
// (FAT12/16/32; exFAT takes them), names FAT does not allow, names that differ
// only in letter case inside one folder, and entries that are neither files
// nor folders. Fed by the complete walk; keeps only what it blocks. (The
// limits of folder tables are TargetTables' and the target check's.)
#pragma once

#include "complete_walk.h"

#include <string>
#include <vector>

namespace dorvelix {

enum class BlockReason {
    FileTooLarge,        // 4 GiB or more on FAT12/16/32
    ForbiddenCharacter,  // " * / : < > ? \ | or a control character
    TrailingDotOrSpace,
    CaseCollision,       // another name in its folder differs only in letter case
    SymbolicLink,
    SpecialFile,         // FIFO, socket or device
    TooManyEntries,      // a folder whose FAT table would pass 65,536 entries
    RootTableFull,       // the fixed root table of FAT12/16 has no room for the copied folder
    NameNotAscii,        // a character outside ASCII, which the target's driver (fusefat) refuses
    FileTooLargeForTarget,  // longer than the target's file system takes (ext2/3 block maps ...)
    TooManySubfolders,      // more subfolders than the target's folders take (ext2/3: 64,998)
    FolderIndexFull,        // a folder of more names than the target's folder index holds (ext4 without large_dir)
};

struct BlockedEntry {
    std::string path;  // relative to the chosen folder
    BlockReason reason;
    // For a limit of the target's (a file's size, a folder's entries or
    // subfolders, the root table's free slots): what the entry needs and
    // what the target allows.
    long long needed = 0;
    long long allowed = 0;
};

class FatCopyCheck : public WalkObserver {
public:
    // sizeLimit: whether files of 4 GiB or more are refused (not on exFAT);
    // asciiOnly: whether the target's driver refuses names with characters
    // outside ASCII (fusefat creates none).
    explicit FatCopyCheck(bool sizeLimit, bool asciiOnly = false) : sizeLimit_(sizeLimit), asciiOnly_(asciiOnly) {}

    void folderRead(const std::string& path, const FolderScan& folder) override;
    void fileBooked(const std::string& path, const FolderEntry& entry, long long length) override;

    const std::vector<BlockedEntry>& blocked() const { return blocked_; }

private:
    bool sizeLimit_;
    bool asciiOnly_;
    std::vector<BlockedEntry> blocked_;
};

}  // namespace dorvelix
