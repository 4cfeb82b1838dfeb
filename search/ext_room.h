// fuse2fs checks the free blocks before each operation of a copy, ahead of
// what the operation takes: a copy needs more room than the blocks it ends
// up with when its last operations come with such a check. ExtRoom follows
// both through a stretch of the copy; ExtPendingFolder keeps a folder's
// operations in the copy's order until the folders below it are counted,
// since where a folder's blocks lie, and so its extents, depends on what
// the copy writes in between.
#pragma once

#include "ext_rules.h"
#include "folder_scan.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

namespace dorvelix {

class ExtRoom {
public:
    ExtRoom() = default;
    // A check that needs this many blocks free before the next operation.
    void check(long long need);
    void take(long long blocks);
    // Appends a later stretch of the copy.
    void then(const ExtRoom& later);
    // The blocks taken, and the free blocks the stretch needs at its start.
    long long taken() const { return taken_; }
    long long needed() const { return ahead_ > 0 && taken_ > LLONG_MAX - ahead_ ? LLONG_MAX : taken_ + std::max(0LL, ahead_); }

    // The writes of a file of length bytes in the copy's pieces.
    static ExtRoom writes(long long length, long long block);

private:
    static constexpr long long NoCheck = LLONG_MIN / 4;
    ExtRoom(long long taken, long long ahead) : taken_(taken), ahead_(ahead) {}
    long long taken_ = 0;
    // The most a check needs beyond the blocks taken from it on; NoCheck
    // while there is none.
    long long ahead_ = NoCheck;
};

// One folder of a copy written by fuse2fs, its entries in the order the
// copy makes them.
struct ExtPendingFolder {
    struct Step {
        EntryKind kind;
        bool grew;           // the folder took a block for the entry's name
        long long value;     // a file's or link's length, a subfolder's index in folders()
    };
    std::vector<Step> steps;
    std::vector<std::string> subfolders;  // in the order the walk enters them
    std::size_t nextSubfolder = 0;
    std::vector<ExtRoom> subfolderRooms;  // by index in folders(); set as each is counted
    long long parentSlot = -1;            // this folder's index in its parent's folders()

    // What the folder's making and everything in it takes, from the block it
    // starts with (none when it starts inline).
    ExtRoom finish(const ExtGeometry& g, long long firstBlocks) const;
};

}  // namespace dorvelix
