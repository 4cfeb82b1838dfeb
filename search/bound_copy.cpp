#include "bound_copy.h"

#include <algorithm>

namespace dorvelix {

BoundCopy::BoundCopy(long long unit) : unit_(std::max(1LL, unit)), recordUnit_(roundUp(SmallestRecordUnit, unit_))
{
    needs_.bytes = unit_;  // the entry the copy adds to the folder it goes into
}

void BoundCopy::folderRead(const std::string&, const FolderScan& folder)
{
    long long names = 0;
    for (const auto* list : {&folder.folders(), &folder.files()}) {
        for (const FolderEntry& e : *list)
            names += e.nameSize + NameOverhead;
    }
    needs_.bytes += recordUnit_ + std::max(unit_, roundUp(2 * names, unit_));
    ++needs_.entries;
}

void BoundCopy::fileBooked(const std::string&, const FolderEntry& entry, long long length)
{
    const long long data = entry.kind == EntryKind::Special ? 0 : roundUp(length, unit_);
    needs_.bytes += recordUnit_ + data;
    needs_.dataBytes += entry.kind == EntryKind::Regular ? data : 0;
    ++needs_.entries;
}

}  // namespace dorvelix
