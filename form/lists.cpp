#include "lists.h"

#include "runtime_error.h"
#include "paths.h"

namespace dorvelix {

namespace {
const std::string emptyText;
}

void FolderList::setPath(const std::string& path, const FolderScan* parent)
{
    // A folder not reached from one already open is touched for the first
    // time: its drive may hang.
    setScan(parent ? FolderScan::read(path, parent) : FolderScan::readInTime(path, whileOpening));
}

void FolderList::setScan(std::shared_ptr<const FolderScan> scan)
{
    if (!scan)
        throw RuntimeError(err::PathNotFound, err::FolderQuery);
    scan_ = std::move(scan);
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
    return scan_->childPath(scan_->name(scan_->folders()[static_cast<size_t>(i)]));
}

void FileList::setPath(const std::string& path, std::shared_ptr<const FolderScan> fresh)
{
    const std::string clean = withoutTrailingSlashes(path);
    if (!fresh || (fresh->path() != clean && fresh->path() != clean + '/'))
        fresh = FolderScan::read(clean);

    const std::vector<FolderEntry>& entries = fresh->files();
    const auto listed = [&](std::uint32_t i) {
        return FolderScan::listed(fresh->name(entries[i]), entries[i].kind, showHidden, showSystem);
    };
    // A list of every file needs no indices until it is sorted.
    std::uint32_t n = 0;
    while (n < entries.size() && listed(n))
        ++n;
    std::vector<std::uint32_t> files;
    if (n < entries.size()) {
        files.reserve(entries.size());
        for (std::uint32_t i = 0; i < entries.size(); ++i) {
            if (i < n || listed(i))
                files.push_back(i);
        }
    }
    count_ = static_cast<int>(n < entries.size() ? files.size() : entries.size());
    leftOut_ = static_cast<int>(entries.size()) - count_;
    scan_ = std::move(fresh);
    files_ = std::move(files);
    allInOrder_ = nullptr;
    sorted_ = count_ < 2;
    listIndex = -1;
}

void FileList::inListOrder() const
{
    if (sorted_)
        return;
    // The scan's one order of all its files, left out the files this list
    // does not show.
    const std::span<const std::uint32_t> all = scan_->filesInListOrder();
    if (files_.empty()) {
        allInOrder_ = all.data();
    } else {
        std::vector<bool> shown(scan_->files().size());
        for (const std::uint32_t f : files_)
            shown[f] = true;
        files_.clear();
        for (const std::uint32_t f : all) {
            if (shown[f])
                files_.push_back(f);
        }
    }
    sorted_ = true;
}

const std::string& FileList::path() const
{
    return scan_ ? scan_->path() : emptyText;
}

std::string_view FileList::name(int i) const
{
    if (i < 0 || i >= listCount())
        throw RuntimeError(5);
    inListOrder();
    return scan_->name(scan_->files()[unorderedFile(i)]);
}

long long FileList::length(int i) const
{
    if (i < 0 || i >= listCount())
        throw RuntimeError(5);
    inListOrder();
    return scan_->fileLength(unorderedFile(i));
}

}  // namespace dorvelix
