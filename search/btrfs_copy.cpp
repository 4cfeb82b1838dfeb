#include "btrfs_copy.h"

namespace dorvelix {

BtrfsCopy::BtrfsCopy(const BtrfsSpace& volume, FolderScan::CopyOrder order) : volume_(volume), order_(order) {}

void BtrfsCopy::folderRead(const std::string&, const FolderScan&)
{
    ++needs_.entries;
}

void BtrfsCopy::fileBooked(const std::string&, const FolderEntry&, long long)
{
    ++needs_.entries;
}

CopyNeeds BtrfsCopy::needs() const
{
    return needs_;
}

}  // namespace dorvelix
