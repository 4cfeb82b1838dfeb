// How the folders of a copy to ext2/3/4 grow as names are added: linear
// folders filled first fit (fuse2fs's, and the kernel's without folder
// indexes), and a bound on the kernel's indexed folders that holds for any
// hash seed. The kernel's indexed folders themselves are ExtHtreeFolder's.
#pragma once

#include "ext_rules.h"

#include <cstdint>
#include <vector>

namespace dorvelix {

// A list of blocks, each with the bytes left at its end, that finds the
// first one with room for an entry without looking at every block.
class ExtFirstFit {
public:
    long long size() const { return size_; }
    void add(long long room);
    // The first block with at least bytes left; -1 when none has.
    long long find(long long bytes) const;
    void take(long long block, long long bytes);

private:
    void set(long long block, std::int32_t room);
    std::vector<std::int32_t> tree_;  // the most room in each range; leaves from capacity_ on
    long long capacity_ = 0;
    long long size_ = 0;
};

// A folder that never becomes an index: libext2fs (fuse2fs) puts a name in
// the first block with room and adds a block when none has. With inline
// data a new folder keeps its first 56 bytes of names in the inode.
class ExtLinearFolder {
public:
    ExtLinearFolder(const ExtGeometry& geometry, bool startsInline);
    // Adds an entry of entryBytes; returns the blocks the folder grew by.
    long long add(long long entryBytes);
    long long blocks() const { return blocks_.size(); }

private:
    long long usable_;
    long long inlineBytes_ = -1;  // the names kept in the inode; -1 once it has a block
    ExtFirstFit blocks_;
};

// The most blocks the kernel's driver gives a folder of these names, in
// this order, whatever hash seed the volume has: every index leaf comes out
// of a split of a full one and keeps at least a certain share of it.
class ExtFolderBound {
public:
    explicit ExtFolderBound(const ExtGeometry& geometry);
    void add(long long entryBytes);
    long long names() const { return names_; }
    long long blocks() const;
    // Whether the index may need more than two levels for these names,
    // which a volume without large_dir refuses; with the names of the
    // largest entry that surely fit.
    bool mayOverflowIndex() const;
    long long namesSurelyHeld() const;

private:
    long long leaves() const;
    long long leastLeafFill() const;
    const ExtGeometry& g_;
    long long names_ = 0;
    long long total_ = 0;       // the bytes of every entry
    long long largest_ = 0;
    long long inlineFirst_ = 0, inlineSecond_ = 0;
    long long gap_ = 0;         // the inode's first area left unfilled when the folder took a block
    bool inline_;
    // How many entries of each size (4-byte steps), for an old kernel's
    // split by count, which only the largest entries trigger.
    std::vector<long long> bySize_;
};

}  // namespace dorvelix
