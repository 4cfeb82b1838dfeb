#include "ext_copy.h"

namespace dorvelix {

ExtCopy::ExtCopy(const ExtVolume& volume, FolderScan::CopyOrder order) : volume_(volume), order_(order) {}

void ExtCopy::folderRead(const std::string&, const FolderScan&)
{
    ++needs_.entries;
}

void ExtCopy::fileBooked(const std::string&, const FolderEntry&, long long)
{
    ++needs_.entries;
}

CopyNeeds ExtCopy::needs() const
{
    return needs_;
}

}  // namespace dorvelix
