// The files with more than one link that a search has booked. The disk holds
// such a file once, whatever number of names it has: the first name the
// search reaches books its cluster units, every later one counts as a file
// and adds none. Only files with more than one link are remembered.
#pragma once

#include "folder_scan.h"

#include <cstdint>
#include <unordered_set>

namespace dorvelix {

class BookedFiles {
public:
    // Whether file `file` of folder (its length read) adds its cluster units:
    // false for a link to a file this search has booked already.
    bool bookedFirstHere(const FolderScan& folder, std::uint32_t file);
    // Forgets every file: a new search begins.
    void clear() { seen_.clear(); }

private:
    struct Hash {
        size_t operator()(const FileIdentity& id) const noexcept
        {
            return std::hash<std::uint64_t>()(static_cast<std::uint64_t>(id.inode) * 0x9E3779B97F4A7C15ULL
                                              ^ static_cast<std::uint64_t>(id.device));
        }
    };
    std::unordered_set<FileIdentity, Hash> seen_;
};

}  // namespace dorvelix
