#include "ntfs_copy.h"

namespace dorvelix {

NtfsCopy::NtfsCopy(const NtfsVolume& volume, FolderScan::CopyOrder order) : volume_(volume), order_(order) {}

void NtfsCopy::folderRead(const std::string&, const FolderScan&)
{
    ++needs_.entries;
}

void NtfsCopy::fileBooked(const std::string&, const FolderEntry&, long long)
{
    ++needs_.entries;
}

CopyNeeds NtfsCopy::needs() const
{
    return needs_;
}

}  // namespace dorvelix
