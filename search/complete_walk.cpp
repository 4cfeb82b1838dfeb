#include "complete_walk.h"

#include "cluster_accounting.h"
#include "messages.h"
#include "runtime_error.h"
#include "text.h"
#include "paths.h"

#include <cstdint>
#include <vector>

namespace dorvelix {

CompleteWalk::CompleteWalk(long long clusterLength, long long convertLength,
                           std::function<void(const QString&)> report, WalkObserver* observer)
    : clusterLength_(clusterLength), convertLength_(convertLength), report_(std::move(report)), observer_(observer)
{
}

void CompleteWalk::failed(const RuntimeError& e, const std::string& fullPath, long long& count)
{
    ++count;
    // A drive that has gone fails everything after it the same way: one message.
    if (e.number() == err::DiskNotReady) {
        if (driveGoneReported_)
            return;
        driveGoneReported_ = true;
    }
    if (report_)
        report_(pathErrorMessage(e, displayText(fullPath)));
}

long long CompleteWalk::bookFolder(const std::string& path, const FolderScan& folder, FolderRow& t)
{
    if (observer_)
        observer_->folderRead(path, folder);
    // Totals do not depend on the order of the files: they are booked in the
    // order the system listed them, so that a wide folder needs no sorted
    // copy of its entries. Only what is seen goes in list order: the messages
    // of the files that cannot be read and what the observer is told.
    const std::vector<FolderEntry>& files = folder.files();
    t.folders += static_cast<long long>(folder.folders().size());
    t.files += static_cast<long long>(files.size());
    if (progress_) {
        progress_->folders.fetch_add(static_cast<long long>(folder.folders().size()), std::memory_order_relaxed);
        progress_->files.fetch_add(static_cast<long long>(files.size()), std::memory_order_relaxed);
    }
    long long entries = 2 + static_cast<long long>(folder.folders().size() + files.size());
    std::vector<std::uint32_t> unreadable;
    for (std::uint32_t i = 0; i < files.size(); ++i) {
        if (needsLongNameEntry(folder.name(files[i])))
            ++entries;
        const long long length = folder.lengthOrError(i);
        if (length < 0) {
            unreadable.push_back(i);
            continue;
        }
        const bool first = booked_.bookedFirstHere(folder, i);
        if (first) {
            t.clusters += clusterUnits(length, clusterLength_);
            addFileBytes(t.fileBytes, length);
        }
        if (first || everyLinkConverted_)
            t.convertClusters += clusterUnits(length, convertLength_);
    }
    folder.sortInListOrder(unreadable, files);
    for (const std::uint32_t i : unreadable) {
        try {
            folder.fileLength(i);
        } catch (const RuntimeError& error) {
            failed(error, folder.childPath(folder.name(files[i])), limits_.unreadableFiles);
        }
    }
    if (observer_) {
        std::vector<std::uint32_t> order(files.size());
        for (std::uint32_t i = 0; i < order.size(); ++i)
            order[i] = i;
        folder.sortInListOrder(order, files);
        for (const std::uint32_t i : order) {
            if (const long long length = folder.lengthOrError(i); length >= 0)
                observer_->fileBooked(joinedPath(path, folder.name(files[i])), files[i], length);
        }
    }
    return entries;
}

void CompleteWalk::bookTable(long long entries, FolderRow& t) const
{
    t.clusters += entries / entriesPerCluster(clusterLength_);
    t.convertClusters += entries / entriesPerCluster(convertLength_);
}

// The scan of subfolder index of parent, with its files' lengths: read
// ahead, or read now.
std::shared_ptr<const FolderScan> CompleteWalk::enter(const FolderScan& parent, std::uint32_t index)
{
    if (readAhead_) {
        if (auto scan = readAhead_->take(&parent, index))
            return scan;
    }
    return FolderScan::read(parent.childPath(parent.name(parent.folders()[index])), &parent);
}

void CompleteWalk::walkBelow(const std::string& path, const FolderScan& folder, FolderRow& t)
{
    for (std::uint32_t i = 0; i < folder.folders().size(); ++i) {
        if (cancelled())
            return;
        const std::string name(folder.name(folder.folders()[i]));
        std::shared_ptr<const FolderScan> sub;
        try {
            sub = enter(folder, i);
        } catch (const RuntimeError& error) {
            failed(error, folder.childPath(name), limits_.unreadableFolders);
            continue;
        }
        const std::string subPath = joinedPath(path, name);
        bookTable(bookFolder(subPath, *sub, t), t);
        walkBelow(subPath, *sub, t);
    }
}

SearchResult CompleteWalk::run(const std::string& folder, std::shared_ptr<const FolderScan> top)
{
    limits_ = WalkLimits{};
    limits_.complete = true;
    driveGoneReported_ = false;
    booked_.clear();
    // The first touch of the folder is bounded too.
    if (!top)
        top = FolderScan::readInTime(folder);

    SearchResult r;
    r.clusterLength = clusterLength_;
    r.convertLength = convertLength_;
    FolderRow t;
    // Every level below, with hidden and special files.
    if (readAheadOn_) {
        readAhead_ = std::make_unique<ReadAhead>(std::vector<ReadAhead::Level>{{true, true}}, stallLimit);
        if (progress_)
            readAhead_->whileWaiting = [this] { return !cancelled(); };
    }
    bool measured = true;
    if (readAhead_) {
        try {
            readAhead_->measure(top);
        } catch (const RuntimeError& error) {
            // The drive stopped answering before the folder's own files were
            // measured: none of them is counted.
            failed(error, top->path(), limits_.unreadableFolders);
            measured = false;
        } catch (const ReadAhead::Abandoned&) {
            measured = false;  // cancelled: the loop below ends at once
        }
    }
    const long long entries = measured ? bookFolder({}, *top, t) : 0;
    r.files = t.files;
    r.alone = FolderRow{0, t.files, t.clusters, t.convertClusters, t.fileBytes};
    if (!top->isRoot())
        bookTable(entries, t);
    // The folder's own table as a copy needs it: its first cluster, and on a
    // drive's root folder the whole table, which the count leaves out.
    r.ownTableConvertClusters = 1 + (top->isRoot() ? entries / entriesPerCluster(convertLength_) : 0);
    r.subfolders.push_back({{}, {0, t.files, t.clusters, t.convertClusters, t.fileBytes}});

    for (std::uint32_t i = 0; i < top->folders().size(); ++i) {
        if (cancelled())
            break;
        const std::string name(top->name(top->folders()[i]));
        FolderRow row{1, 0, 1, 1, 0};  // the subfolder itself and its folder cluster
        std::shared_ptr<const FolderScan> sub;
        try {
            if (readAhead_)
                readAhead_->start(top, i);
            sub = enter(*top, i);
            bookTable(bookFolder(name, *sub, row), row);
            walkBelow(name, *sub, row);
        } catch (const RuntimeError& error) {
            failed(error, top->childPath(name), limits_.unreadableFolders);
        } catch (const ReadAhead::Abandoned&) {
            break;  // cancelled while it waited for the drive
        }
        // Every folder below takes its first cluster too.
        row.clusters += row.folders - 1;
        row.convertClusters += row.folders - 1;
        r.subfolders.push_back({name, row});
        t.files += row.files;
        t.clusters += row.clusters;
        t.convertClusters += row.convertClusters;
        addFileBytes(t.fileBytes, row.fileBytes);
    }
    // t.folders already holds the top-level subfolders; their rows' own
    // folders were counted as 1 each, those below them come on top.
    for (size_t i = 1; i < r.subfolders.size(); ++i)
        t.folders += r.subfolders[i].row.folders - 1;
    readAhead_.reset();
    r.limits = limits_;
    if (cancelled()) {
        r.stopped = true;
        r.countedBeforeStop = t;
        return r;
    }
    r.subtree = t;
    return r;
}

}  // namespace dorvelix
