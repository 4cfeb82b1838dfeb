// A copy to btrfs. Its data is exact: every file that is not kept inline in
// the tree takes its length in whole sectors, and a file kept inline needs
// one sector free while it is written. Its metadata (inode, name and extent
// items) takes nothing out of the free space while it fits in the metadata
// chunks the volume has; where it may not, the copy is counted with the
// metadata chunks the kernel may add, each taking its size times its
// profile's copies (a bound). On a volume of mixed block groups every tree
// block and the global reserve come out of the free space (a bound too).
#pragma once

#include "btrfs_space.h"
#include "copy_layout.h"

namespace dorvelix {

class BtrfsCopy : public CopyLayout {
public:
    BtrfsCopy(const BtrfsSpace& volume, FolderScan::CopyOrder order);

    void folderRead(const std::string& path, const FolderScan& folder) override;
    void fileBooked(const std::string& path, const FolderEntry& entry, long long length) override;
    CopyNeeds needs() const override;
    bool exact() const override;

    // How the copy's metadata is counted.
    enum class Regime {
        InChunks,    // it fits in the metadata chunks the volume has
        NewChunks,   // the kernel may add metadata chunks: a bound
        Mixed,       // data and metadata share chunks: a bound
        Unknown,     // the allocation could not be read: every chunk made anew
    };
    Regime regime() const;

    // The files' data in whole sectors, and the sector a file kept inline
    // needs free while it is written (0 where none is).
    long long dataBytes() const { return dataBytes_; }
    long long inlineSector() const { return inlineFiles_ ? volume_.sectorBytes : 0; }
    // The bytes of the tree items the copy adds, and the tree blocks they
    // take at most, in bytes.
    long long itemBytes() const { return itemBytes_; }
    long long metadataBound() const;

private:
    // The largest file kept inline, by the volume and the machine's pages.
    long long inlineLimit() const;
    // What a copy of these figures takes, by the regime it falls in.
    struct Room {
        Regime regime;
        long long bytes;
    };
    Room room() const;

    BtrfsSpace volume_;
    long long inlineLimit_;
    long long extentBytes_;  // the longest data extent
    long long dataBytes_ = 0;
    long long itemBytes_ = 0;
    long long entries_ = 0;
    bool inlineFiles_ = false;
    // Whether the copied folder lies on the target volume itself, where a
    // copy clones the files' data instead of writing it anew.
    bool sourceOnTarget_ = false;
};

}  // namespace dorvelix
