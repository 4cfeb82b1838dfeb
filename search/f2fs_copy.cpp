#include "f2fs_copy.h"

namespace dorvelix {

F2fsCopy::F2fsCopy(const F2fsVolume& volume, FolderScan::CopyOrder order) : volume_(volume), order_(order) {}

void F2fsCopy::folderRead(const std::string&, const FolderScan&)
{
    ++needs_.entries;
}

void F2fsCopy::fileBooked(const std::string&, const FolderEntry&, long long)
{
    ++needs_.entries;
}

CopyNeeds F2fsCopy::needs() const
{
    return needs_;
}

}  // namespace dorvelix
