#include "lists.h"

#include "runtime_error.h"

namespace dorvelix {

namespace {
const std::string emptyText;
}

void FolderList::setPath(const std::string& path, const FolderScan* parent)
{
    auto scan = FolderScan::read(path, parent);
    std::vector<const FolderEntry*> folders;
    for (const FolderEntry& e : scan->entries()) {
        if (e.kind == EntryKind::Folder)
            folders.push_back(&e);
    }
    scan_ = std::move(scan);
    folders_ = std::move(folders);
    if (onChange)
        onChange();
}

const std::string& FolderList::path() const
{
    return scan_ ? scan_->path() : emptyText;
}

std::string FolderList::list(int i) const
{
    if (i == -1)
        return path();
    if (i < 0 || i >= listCount())
        throw RuntimeError(5);
    return scan_->childPath(folders_[static_cast<size_t>(i)]->name);
}

void FileList::setPath(const std::string& path, std::shared_ptr<const FolderScan> fresh)
{
    std::string clean = path;
    while (clean.size() > 1 && clean.back() == '/')
        clean.pop_back();
    if (!fresh || (fresh->path() != clean && fresh->path() != clean + '/'))
        fresh = FolderScan::read(clean);

    std::vector<const FolderEntry*> files;
    int leftOut = 0;
    for (const FolderEntry& e : fresh->entries()) {
        if (e.kind == EntryKind::Folder)
            continue;
        if ((!showHidden && e.name.front() == '.') || (!showSystem && e.kind == EntryKind::Special)) {
            ++leftOut;
            continue;
        }
        files.push_back(&e);
    }
    scan_ = std::move(fresh);
    files_ = std::move(files);
    leftOut_ = leftOut;
    listIndex = -1;
}

const std::string& FileList::path() const
{
    return scan_ ? scan_->path() : emptyText;
}

const std::string& FileList::list(int i) const
{
    if (i < 0 || i >= listCount())
        throw RuntimeError(5);
    return files_[static_cast<size_t>(i)]->name;
}

long long FileList::length(int i) const
{
    return scan_->entryLength(list(i));
}

}  // namespace dorvelix
