#include "copy_layout.h"

namespace dorvelix {

void CopyCensus::folderRead(const std::string&, const FolderScan&)
{
    ++folders_;
}

void CopyCensus::fileBooked(const std::string& path, const FolderEntry& entry, long long length)
{
    ++files_;
    if (entry.kind == EntryKind::Regular && length > largest_) {
        largest_ = length;
        largestPath_ = path;
    }
}

void ObserverList::folderRead(const std::string& path, const FolderScan& folder)
{
    for (WalkObserver* o : observers_)
        o->folderRead(path, folder);
}

void ObserverList::fileBooked(const std::string& path, const FolderEntry& entry, long long length)
{
    for (WalkObserver* o : observers_)
        o->fileBooked(path, entry, length);
}

std::string_view lastName(std::string_view path)
{
    return path.substr(path.rfind('/') + 1);
}

}  // namespace dorvelix
