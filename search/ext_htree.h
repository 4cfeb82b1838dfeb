// A new folder as the kernel's ext4 driver fills it, name by name: in the
// inode while the names fit there (inline data), then one block, then a
// hashed index (htree) of leaf blocks, split when full, under a root and at
// most one (with large_dir two) levels of index blocks. Without folder
// indexes the blocks stay a list filled first fit.
#pragma once

#include "ext_folders.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace dorvelix {

class ExtKernelFolder {
public:
    // splitByCount: split a full leaf as kernels before 6.15 could, by
    // count where the scan by size reaches the lowest hash.
    ExtKernelFolder(const ExtGeometry& geometry, bool splitByCount);
    // Adds a name of entryBytes with its hash; false when the index is
    // full on the name's path (the driver refuses it with ENOSPC).
    bool add(std::uint32_t hash, long long entryBytes);
    long long blocks() const { return blocks_; }
    // Whether a split reached the case where the two kernels' rules differ.
    bool splitRulesDiffered() const { return rulesDiffered_; }

private:
    // An entry in the inode's areas or the first block, which may hold
    // free space inside (used < size); dot marks "." and "..".
    struct Record {
        std::uint32_t hash;
        std::uint32_t used;
        std::uint32_t size;
        bool dot;
    };
    // A leaf's entries lie packed: the last one holds the leaf's free space.
    struct Entry {
        std::uint32_t hash;
        std::uint32_t used;
    };
    struct Leaf {
        std::vector<Entry> entries;
        long long used = 0;
    };
    struct IndexEntry {
        std::uint32_t hash;
        std::uint32_t child;  // an index block below, or a leaf on the lowest level
    };
    using Index = std::vector<IndexEntry>;
    struct Split {
        Leaf kept, moved;
        std::uint32_t hash;  // the lowest hash moved
        std::uint32_t key;   // its key in the index (+1 when the kept half ends with the same hash)
    };

    static std::optional<std::size_t> firstFit(const std::vector<Record>& records, long long bytes);
    static void place(std::vector<Record>& records, std::size_t at, std::uint32_t hash, long long bytes);
    bool addInline(std::uint32_t hash, long long bytes);
    void leaveInode();
    bool addLinear(std::uint32_t hash, long long bytes);
    void makeIndexed(std::uint32_t hash, long long bytes);
    bool addIndexed(std::uint32_t hash, long long bytes);
    Split split(const std::vector<Record>& records);
    long long limit(std::size_t level) const { return level == 0 ? g_.rootLimit : g_.nodeLimit; }

    const ExtGeometry& g_;
    bool splitByCount_;
    bool rulesDiffered_ = false;
    long long blocks_ = 0;
    enum class Stage { Inode, Linear, Indexed } stage_;
    std::vector<Record> firstArea_, secondArea_;  // the inode's areas
    bool secondAreaMade_ = false;
    std::vector<Record> firstBlock_;
    ExtFirstFit moreBlocks_;                      // linear blocks after the first
    std::vector<Leaf> leaves_;
    std::vector<Index> nodes_;                    // nodes_[0] is the root
    std::size_t levels_ = 0;
};

}  // namespace dorvelix
