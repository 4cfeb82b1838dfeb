#include "folder_search.h"

#include "checked.h"
#include "cluster_accounting.h"
#include "steps.h"
#include "text.h"

#include <limits>

namespace dorvelix {

namespace {

// The search totals as one row, to difference around a subfolder's walk.
FolderRow totalsOf(const FormState& f, long long fileBytes)
{
    return {f.treeFolders, f.treeFiles, f.treeClusterCount, f.treeConvertClusterCount, fileBytes};
}

std::string lastComponent(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

FolderSearch::FolderSearch(FormState& form, FolderList& openFolders, FileList& openFiles, WindowServices& window,
                           FormView& view)
    : form_(form), openFolders_(openFolders), openFiles_(openFiles), window_(window), view_(view)
{
    levelAt_[1] = {DriverPrefix, &searchedFolders_, &openFiles_};
    for (const LevelRow& row : LevelTable) {
        const auto n = static_cast<size_t>(row.list);
        levelFiles_[n].showHidden = row.hiddenAndSystem;
        levelFiles_[n].showSystem = row.hiddenAndSystem;
        levelAt_[n] = {row.prefix, &levelFolders_[n], &levelFiles_[n]};
    }
}

FolderSearch::~FolderSearch() = default;

void FolderSearch::onFolderChosen()
{
    if (form_.modifierHeld || searching_)
        return;
    searchFolder();
}

void FolderSearch::report(Activation& at, const RuntimeError& e)
{
    const int number = e.number();
    const bool fileFailed = number == err::FileNotFound || number == err::BadFileName
        || (number == err::DiskNotReady && e.tag() == err::LengthQuery);
    const bool folderFailed = number == err::PathNotFound || (number == err::DiskNotReady && !fileFailed);
    if (fileFailed)
        ++result_.limits.unreadableFiles;
    else if (folderFailed)
        ++result_.limits.unreadableFolders;
    if (number == err::Overflow && !e.tag().empty()) {
        // One box per overflowing total and search, and one per folder for
        // the entry count, so that a large drive does not bury the user.
        if (e.tag() == total::Entries) {
            if (at.entryOverflowReported)
                return;
            at.entryOverflowReported = true;
        } else if (!reportedOnce_.insert(e.tag()).second) {
            return;
        }
    }
    // A drive that has gone fails every later query the same way: one box.
    if (number == err::DiskNotReady) {
        result_.limits.driveStopped = true;
        if (!reportedOnce_.insert("drive").second)
            return;
    }

    const int index = at.j - 1;
    if (folderFailed && index >= -1 && index < at.dir->listCount())
        form_.messageText = displayText(at.dir->list(index));
    else if (fileFailed && index >= 0 && index < at.file->listCount())
        form_.messageText = displayText(at.file->scan()->childPath(at.file->list(index)));
    else
        form_.messageText = QStringLiteral("???");
    window_.searchMessage({at.prefix, number, e.cause(), form_.messageText});
}

// Counts a folder's subfolders and files and books each file, returning the
// entry count E of the folder's table.
std::int16_t FolderSearch::bookFolder(Activation& at, StepRunner& run)
{
    FormState& f = form_;
    const FileList& file = *at.file;
    run([&] { addChecked(f.treeFolders, at.dir->listCount(), total::Folders); });
    run([&] { addChecked(f.treeFiles, file.listCount(), total::Files); });
    std::int16_t E = 0;
    run([&] { E = narrow<std::int16_t>(DotEntries + at.dir->listCount(), total::Entries); });
    // E stops at its largest value; its overflow is reported once a folder.
    const auto addEntries = [&](std::string_view name) {
        for (int n = fileEntries(name); n > 0; --n) {
            if (E < std::numeric_limits<std::int16_t>::max())
                ++E;
            else if (!at.entryOverflowReported)
                run([&] { addChecked(E, 1, total::Entries); });
        }
    };

    const int fileCount = file.listCount();
    if (fileCount == 0)
        return E;
    // The files are booked in list order only where that order can be seen:
    // when a length cannot be read or a total may overflow, the messages
    // follow it. Otherwise every order gives the same totals.
    const FolderScan& scan = *file.scan();
    long long lengthSum = 0;
    bool quiet = true;
    for (int k = 0; k < fileCount && quiet; ++k) {
        const long long length = scan.lengthOrError(file.unorderedFile(k));
        quiet = length >= 0 && !__builtin_add_overflow(lengthSum, length, &lengthSum);
    }
    if (quiet && bookingCannotFail(f, lengthSum, fileCount)) {
        // No message can come from the files but E's: their clusters are
        // added up and booked at once.
        const TwoLengths lengths(f.clusterLength, f.convertLength);
        ClusterPair units;
        long long fileBytes = 0;
        for (int k = 0; k < fileCount; ++k) {
            const std::uint32_t i = file.unorderedFile(k);
            addEntries(scan.name(scan.files()[i]));
            const long long length = scan.lengthOrError(i);
            if (!booked_.bookedFirstHere(scan, i))
                continue;
            fileBytes += length;
            units += lengths.file(length);
        }
        at.j = fileCount + 1;
        addFileBytes(treeFileBytes_, fileBytes);
        run([&] { addChecked(f.treeClusterCount, units.atDrive, total::Clusters); });
        run([&] { addChecked(f.treeConvertClusterCount, units.atConvert, total::ConvertClusters); });
        return E;
    }
    file.inListOrder();
    for (at.j = 1; at.j <= fileCount && !stopRequested(); ++at.j) {
        const std::uint32_t k = file.unorderedFile(at.j - 1);
        addEntries(scan.name(scan.files()[k]));
        run([&] {
            const long long length = scan.fileLength(k);
            if (!booked_.bookedFirstHere(scan, k))
                return;
            addFileBytes(treeFileBytes_, length);
            bookFileLength(f, length);
        });
    }
    return E;
}

// The clusters a folder's table takes beyond its first one, at both lengths.
void FolderSearch::bookTable(std::int16_t E, StepRunner& run)
{
    FormState& f = form_;
    run([&] { addChecked(f.treeClusterCount, tableClustersBeyondFirst(E, f.entriesPerCluster), total::Clusters); });
    run([&] {
        addChecked(f.treeConvertClusterCount, tableClustersBeyondFirst(E, f.convertEntriesPerCluster),
                   total::ConvertClusters);
    });
}

void FolderSearch::searchFolder()
{
    beginSearch();
    walkSearch();
}

void FolderSearch::beginSearch()
{
    searching_ = true;
    stopRequested_ = false;
    reportedOnce_.clear();
    booked_.clear();
    FormState& f = form_;
    // The folder list as it stands now: the window may move it while pending events run.
    searchedFolders_ = openFolders_;
    const FolderList& openFolders = searchedFolders_;
    searchedFolder_ = openFolders.path();
    reading_ = &openFolders;
    if (events_)
        events_->searchStarted();
    Activation& at = levelAt_[1];
    at.j = 0;
    at.entryOverflowReported = false;
    StepRunner run([&](const RuntimeError& e) { report(at, e); });

    run([&] { window_.setMousePointer(BusyPointer); });
    result_ = SearchResult{};
    f.clearSearchTotals();
    treeFileBytes_ = 0;
    tree_.begin(openFolders.path(), totalsOf(f, treeFileBytes_));
    // The file list takes the listing that the folder list has just read.
    run([&] { openFiles_.setPath(openFolders.path(), openFolders.scan()); });
    result_.files = openFiles_.listCount();
    run([&] { view_.filesListed(result_); });
    notRootFolder_ = !openFolders.path().ends_with('/');
}

void FolderSearch::walkSearch()
{
    FormState& f = form_;
    const FolderList& openFolders = searchedFolders_;
    Activation& at = levelAt_[1];
    StepRunner run([&](const RuntimeError& e) { report(at, e); });

    std::vector<FolderWalk::Level> levels;
    for (const LevelRow& row : LevelTable)
        levels.push_back({row.hiddenAndSystem, row.entersNextLevel});
    FolderWalk walk(std::move(levels), *this);
    walk.setReadAhead(readAheadOn_);
    walk.stallLimit = stallLimit;
    walk.setSortFiles(sortFilesAhead_);
    // While the walk waits for the threads the window repaints, twice per
    // interval so that a repaint never waits for almost two of them.
    walk.waitSlice = paintInterval / 2;
    // The folder's own files are measured on the read-ahead's threads too;
    // when its drive stops answering first, none of them is booked.
    bool measured = false;
    try {
        measured = run([&] { walk.measure(openFolders.scan()); });
    } catch (const FolderWalk::Abandoned&) {
    }
    const std::int16_t E = measured ? bookFolder(at, run) : 0;

    // The folder alone: its own files, without its table or any folder cluster.
    // Each row's bytes at the lengths of the moment it is shown: pending
    // events between subfolders may change the conversion length.
    const auto lengthsNow = [&] {
        result_.clusterLength = f.clusterLength;
        result_.convertLength = f.convertLength;
    };
    lengthsNow();
    result_.alone = FolderRow{0, *result_.files, f.treeClusterCount, f.treeConvertClusterCount, treeFileBytes_};
    run([&] { view_.folderAloneBooked(result_); });

    if (notRootFolder_)
        bookTable(E, run);
    // The chosen folder's own files and table, then one row per subfolder.
    result_.subfolders.push_back({{}, {0, f.treeFiles, f.treeClusterCount, f.treeConvertClusterCount, treeFileBytes_}});

    lastPaint_ = std::chrono::steady_clock::now();
    walk.walkBelow(openFolders.scan());
    // The folders' own rows are closed before the first table clusters of
    // them all are added to the totals below: each row has its own.
    tree_.leaveBelow(0, totalsOf(f, treeFileBytes_));

    if (stopRequested()) {
        // What was counted is kept aside; nothing of it is shown as the
        // folder's subtree, and the graph drops the searched share, as after
        // a drive change.
        result_.stopped = true;
        result_.countedBeforeStop = totalsOf(f, treeFileBytes_);
        f.clearSearchTotals();
        run([&] { view_.subtreeCleared(); });
        run([&] { view_.drawUsageGraph(f.screenSize); });
        run([&] { window_.setMousePointer(DefaultPointer); });
        finish();
        return;
    }

    // Every counted subfolder's table takes at least one cluster.
    const ClusterPair firstClusters = firstTableClusters(f.treeFolders);
    run([&] { addChecked(f.treeClusterCount, firstClusters.atDrive, total::Clusters); });
    run([&] { addChecked(f.treeConvertClusterCount, firstClusters.atConvert, total::ConvertClusters); });

    lengthsNow();
    result_.subtree = totalsOf(f, treeFileBytes_);
    result_.tree = std::make_shared<const CountedTree>(tree_.finish(*result_.subtree));
    if (result_.limits.driveStopped) {
        // The result keeps what was counted, marked as counted before the
        // drive stopped answering; the window shows it no more than the
        // count of a search stopped by the user.
        f.clearSearchTotals();
        run([&] { view_.subtreeCleared(); });
    } else
        run([&] { view_.subtreeCounted(result_); });
    run([&] { view_.drawUsageGraph(f.screenSize); });
    run([&] { window_.beep(); });
    run([&] { window_.setMousePointer(DefaultPointer); });
    finish();
}

void FolderSearch::finish()
{
    searching_ = false;
    reading_ = nullptr;
    if (events_)
        events_->searchFinished();
}

bool FolderSearch::whileWaiting()
{
    paintIfDue(paintInterval / 2);
    return !stopRequested();
}

void FolderSearch::subtreeStarted(std::uint32_t)
{
    subtreeBefore_ = totalsOf(form_, treeFileBytes_);
}

// After each top-level subfolder: its row, and the window's pending events.
void FolderSearch::subtreeEnded(std::uint32_t index, bool)
{
    tree_.leaveBelow(0, totalsOf(form_, treeFileBytes_));
    const FolderList& openFolders = searchedFolders_;
    result_.subfolders.push_back(
        {lastComponent(openFolders.list(static_cast<int>(index))), CountedTreeBuilder::rowGrownBy(subtreeBefore_, totalsOf(form_, treeFileBytes_))});
    lastPaint_ = std::chrono::steady_clock::now();
    reading_ = &openFolders;
    if (events_)
        events_->searchAdvanced();
    Activation& at = levelAt_[1];
    at.j = static_cast<int>(index) + 1;
    StepRunner run([&](const RuntimeError& e) { report(at, e); });
    run([&] { window_.processEvents(); });
}

// A folder of level depth + 1: its files and table booked, and a repaint
// when one is due (user input is handled between top-level subfolders only).
void FolderSearch::folderEntered(int depth, const FolderScan&, std::uint32_t,
                                 const std::shared_ptr<const FolderScan>& folder)
{
    tree_.enter(depth, lastComponent(folder->path()), totalsOf(form_, treeFileBytes_));
    const auto n = static_cast<size_t>(depth + 1);
    FolderList& dir = levelFolders_[n];
    FileList& file = levelFiles_[n];
    Activation& at = levelAt_[n];
    at.j = 0;
    at.entryOverflowReported = false;
    StepRunner run([&](const RuntimeError& e) { report(at, e); });
    run([&] { dir.setScan(folder); });
    reading_ = &dir;

    run([&] {
        file.setPath(dir.path(), dir.scan());
        result_.limits.hiddenSkipped += file.leftOutCount();
    });
    bookTable(bookFolder(at, run), run);
    paintIfDue(paintInterval);
}

void FolderSearch::folderFailed(int parentDepth, const FolderScan&, std::uint32_t index, const RuntimeError& error)
{
    Activation& at = levelAt_[static_cast<size_t>(parentDepth + 1)];
    at.j = static_cast<int>(index) + 1;
    // Counted as a folder with nothing in it, as its parent's row counts it.
    tree_.enter(parentDepth + 1, lastComponent(at.dir->list(at.j - 1)), totalsOf(form_, treeFileBytes_));
    report(at, error);
}

// The last level enters no further level: it warns of each subfolder instead.
void FolderSearch::folderBeyondLevels(const FolderScan&, std::uint32_t index)
{
    Activation& at = levelAt_[LastLevelList];
    at.j = static_cast<int>(index) + 1;
    StepRunner run([&](const RuntimeError& e) { report(at, e); });
    ++result_.limits.levelsSkipped;
    run([&] { window_.searchMessage({.path = displayText(at.dir->list(at.j - 1))}); });
}

// Inside the levels the window only repaints (user input is handled between
// top-level subfolders), and only when the last repaint began at least
// interval ago.
void FolderSearch::paintIfDue(std::chrono::milliseconds interval)
{
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPaint_ < interval)
        return;
    // Counted from the start of this repaint, so that the time a repaint
    // takes does not stretch the time between two of them.
    lastPaint_ = now;
    if (events_)
        events_->searchAdvanced();
    window_.processPaintEvents();
}

}  // namespace dorvelix
