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
    : lengths_(clusterLength, convertLength), report_(std::move(report)), observer_(observer)
{
}

void CompleteWalk::failed(const RuntimeError& e, const std::string& fullPath, long long& count)
{
    ++count;
    // A drive that has gone fails everything after it the same way: one message.
    if (e.number() == err::DiskNotReady) {
        limits_.driveStopped = true;
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
    long long entries = DotEntries + static_cast<long long>(folder.folders().size());
    std::vector<std::uint32_t> unreadable;
    for (std::uint32_t i = 0; i < files.size(); ++i) {
        entries += fileEntries(folder.name(files[i]));
        const long long length = folder.lengthOrError(i);
        if (length < 0) {
            unreadable.push_back(i);
            continue;
        }
        const bool first = booked_.bookedFirstHere(folder, i);
        if (!first && !everyLinkConverted_)
            continue;
        const ClusterPair units = lengths_.file(length);
        if (first) {
            t.clusters += units.atDrive;
            addFileBytes(t.fileBytes, length);
        }
        t.convertClusters += units.atConvert;
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
    const ClusterPair table = lengths_.tableBeyondFirst(entries);
    t.clusters += table.atDrive;
    t.convertClusters += table.atConvert;
}

SearchResult CompleteWalk::run(const std::string& folder, std::shared_ptr<const FolderScan> top)
{
    limits_ = WalkLimits{};
    limits_.complete = true;
    driveGoneReported_ = false;
    booked_.clear();
    // The first touch of the folder is bounded too.
    if (!top || (keepCreationOrder_ && !top->keepsCreationOrder()))
        top = FolderScan::readInTime(folder, {}, keepCreationOrder_);

    SearchResult r;
    r.clusterLength = lengths_.driveLength();
    r.convertLength = lengths_.convertLength();
    FolderRow& t = totals_;
    t = FolderRow{};
    // Every level below, with hidden and special files.
    FolderWalk walk(WalkLevels({{true, true}}), *this);
    walk.setReadAhead(readAheadOn_);
    walk.stallLimit = stallLimit;
    bool measured = true;
    try {
        walk.measure(top);
    } catch (const RuntimeError& error) {
        // The drive stopped answering before the folder's own files were
        // measured: none of them is counted.
        failed(error, top->path(), limits_.unreadableFolders);
        measured = false;
    } catch (const FolderWalk::Abandoned&) {
        measured = false;  // cancelled: the walk below ends at once
    }
    subtreeStarted(0);  // no subtree is being walked: it adds nothing
    if (keepTree_)
        tree_.begin(top->path(), runningTotals());
    const long long entries = measured ? bookFolder({}, *top, t) : 0;
    r.files = t.files;
    r.alone = FolderRow{0, t.files, t.clusters, t.convertClusters, t.fileBytes};
    if (!top->isRoot())
        bookTable(entries, t);
    // The folder's own table as a copy needs it: its first cluster, and on a
    // drive's root folder the whole table, which the count leaves out.
    r.ownTableConvertClusters =
        firstTableClusters(1).atConvert + (top->isRoot() ? lengths_.tableBeyondFirst(entries).atConvert : 0);
    r.subfolders.push_back({{}, {0, t.files, t.clusters, t.convertClusters, t.fileBytes}});

    result_ = &r;
    top_ = top.get();
    walk.walkBelow(top);
    result_ = nullptr;
    top_ = nullptr;
    // t.folders already holds the top-level subfolders; their rows' own
    // folders were counted as 1 each, those below them come on top.
    for (size_t i = 1; i < r.subfolders.size(); ++i)
        t.folders += r.subfolders[i].row.folders - 1;
    r.limits = limits_;
    if (cancelled()) {
        r.stopped = true;
        r.countedBeforeStop = t;
        return r;
    }
    r.subtree = t;
    if (keepTree_)
        r.tree = std::make_shared<const CountedTree>(tree_.finish(t));
    return r;
}

FolderRow CompleteWalk::runningTotals() const
{
    // The row being walked starts with its folder and its first table
    // cluster, which the builder adds itself.
    const ClusterPair first = firstTableClusters(1);
    return {totals_.folders + subtreeRow_.folders - 1, totals_.files + subtreeRow_.files,
            totals_.clusters + subtreeRow_.clusters - first.atDrive,
            totals_.convertClusters + subtreeRow_.convertClusters - first.atConvert,
            totals_.fileBytes + subtreeRow_.fileBytes};
}

void CompleteWalk::subtreeStarted(std::uint32_t)
{
    // The subfolder itself and its table's first cluster.
    const ClusterPair first = firstTableClusters(1);
    subtreeRow_ = FolderRow{1, 0, first.atDrive, first.atConvert, 0};
}

void CompleteWalk::subtreeEnded(std::uint32_t index, bool stoppedInside)
{
    if (stoppedInside)
        return;  // cancelled while it waited for the drive: not counted
    if (keepTree_)
        tree_.leaveBelow(0, runningTotals());
    FolderRow& row = subtreeRow_;
    // Every folder below takes its first cluster too.
    const ClusterPair below = firstTableClusters(row.folders - 1);
    row.clusters += below.atDrive;
    row.convertClusters += below.atConvert;
    // Named by the subfolder's name, also when it could not be read.
    result_->subfolders.push_back({std::string(top_->name(top_->folders()[index])), row});
    totals_.files += row.files;
    totals_.clusters += row.clusters;
    totals_.convertClusters += row.convertClusters;
    addFileBytes(totals_.fileBytes, row.fileBytes);
    subtreeStarted(index);  // until the next one, the running totals are the chosen folder's
}

void CompleteWalk::folderEntered(int depth, const FolderScan& parent, std::uint32_t index,
                                 const std::shared_ptr<const FolderScan>& folder)
{
    // The path relative to the chosen folder, which only an observer is told.
    const auto level = static_cast<size_t>(depth);
    if (relativePaths_.size() <= level)
        relativePaths_.resize(level + 1);
    if (keepTree_)
        tree_.enter(depth, parent.name(parent.folders()[index]), runningTotals());
    if (observer_) {
        relativePaths_[level] = joinedPath(level == 1 ? std::string() : relativePaths_[level - 1],
                                           parent.name(parent.folders()[index]));
    }
    bookTable(bookFolder(relativePaths_[level], *folder, subtreeRow_), subtreeRow_);
}

void CompleteWalk::folderFailed(int parentDepth, const FolderScan& parent, std::uint32_t index, const RuntimeError& error)
{
    // Counted as a folder with nothing in it, as its parent's row counts it.
    if (keepTree_)
        tree_.enter(parentDepth + 1, parent.name(parent.folders()[index]), runningTotals());
    failed(error, parent.childPath(parent.name(parent.folders()[index])), limits_.unreadableFolders);
}

}  // namespace dorvelix
