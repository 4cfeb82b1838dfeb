// How an f2fs folder grows as names are added to it, block by block: the
// name hash the driver places names by, the inline area a new folder starts
// in, the hashed levels of two-block buckets it moves to when that is full,
// and the node blocks that address a file's or a folder's blocks. Used to
// count a copy to f2fs without writing anything.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

namespace dorvelix::f2fs {

inline constexpr std::int64_t BlockBytes = 4096;
// Data block addresses a direct node holds, and node ids an indirect node holds.
inline constexpr std::int64_t AddressesPerBlock = 1018;
inline constexpr std::int64_t NodeIdsPerBlock = 1018;
// Name slots in a dentry block, and bytes of a name per slot.
inline constexpr int SlotsPerBlock = 214;
inline constexpr int SlotBytes = 8;

// The hash the driver files a name under ("." and ".." hash to 0).
std::uint32_t nameHash(std::string_view name);

// The slots a name of this many bytes takes.
constexpr int nameSlots(std::size_t bytes)
{
    return static_cast<int>((bytes + SlotBytes - 1) / SlotBytes);
}

// Name slots in the inline area of an inode that holds this many data
// addresses: its bytes hold a bitmap bit, a dentry and a name slot per slot.
constexpr int inlineDentrySlots(std::int64_t addressesInInode)
{
    const std::int64_t bytes = 4 * (addressesInInode - 1);
    return static_cast<int>(bytes * 8 / ((11 + SlotBytes) * 8 + 1));
}

// Node blocks besides the inode that address data blocks 0 .. blocks-1 of
// a file whose inode holds addressesInInode addresses.
std::int64_t fileNodeBlocks(std::int64_t blocks, std::int64_t addressesInInode);

// One folder as names are added to it in order.
class FolderBlocks {
public:
    // inlineSlots: the slots of the inline area a new folder starts in, 0
    // where folders start with dentry block 0 (holding "." and "..").
    explicit FolderBlocks(int inlineSlots);

    void add(std::string_view name);

    // Whether the folder has left its inline area (or never had one).
    bool hasBlocks() const { return !blocks_.empty(); }
    // Dentry blocks the folder holds.
    std::int64_t blocks() const { return static_cast<std::int64_t>(blocks_.size()); }
    // Node blocks besides the inode that address them.
    std::int64_t nodeBlocks(std::int64_t addressesInInode) const;

private:
    // One block's or the inline area's slot bitmap.
    using Slots = std::array<std::uint64_t, 4>;
    static int firstFreeRun(const Slots& slots, int count, int need);
    static void take(Slots& slots, int at, int need);
    void addHashed(std::string_view name, int need);

    int inlineSlots_;
    Slots inline_{};
    int depth_ = 0;  // the hash levels in use
    std::map<std::int64_t, Slots> blocks_;  // by block index
};

}  // namespace dorvelix::f2fs
