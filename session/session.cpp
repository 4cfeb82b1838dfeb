#include "session.h"

#include "convert_length.h"
#include "drives.h"
#include "paths.h"
#include "runtime_error.h"

#include <algorithm>
#include <new>
#include <optional>

namespace dorvelix {

Session::Session(FormView& view, WindowServices& window, VolumeQueries& volumes, DriveChange::DriveText driveListText,
                 SearchThread searchThread)
    : view_(view),
      window_(window),
      driveQuery_(form_, view, window, volumes),
      driveListText_(std::move(driveListText)),
      searchThread_(searchThread),
      workerWindow_(view, window, calls_)
{
    // The window lists every file of a folder, hidden and system ones too.
    openFiles_.showHidden = true;
    openFiles_.showSystem = true;
}

Session::~Session()
{
    close();
    if (worker_.joinable())
        worker_.join();
}

template <class Told>
void Session::tell(Told told)
{
    // An observer may leave while being told: tell a copy of the list.
    const std::vector<SessionObserver*> observers = observers_;
    for (SessionObserver* o : observers)
        told(*o);
}

void Session::start(const std::string& currentFolder)
{
    for (const std::string& candidate :
         {currentFolder, currentFolder.empty() ? std::string() : driveOf(currentFolder), std::string("/")}) {
        if (candidate.empty())
            continue;
        try {
            openFolders_.setPath(candidate);
            break;
        } catch (const RuntimeError&) {
        }
    }
    if (openFolders_.path() != currentFolder && !openFolders_.path().empty())
        driveFolders_.setCurrentFolder(openFolders_.path());
    try {
        openFiles_.setPath(openFolders_.path(), openFolders_.scan());
    } catch (const RuntimeError&) {
    }
    startSearching();
}

void Session::startSearching()
{
    if (search_)
        return;
    // On the worker the search tells the window through the worker's view of
    // it; the drive query and the drive change run on the window's thread.
    if (searchThread_ == SearchThread::Worker) {
        search_ = std::make_unique<FolderSearch>(form_, openFolders_, openFiles_, workerWindow_, workerWindow_);
        // The window shows the files of the folder it opens, which the worker
        // has read and sorted; those below it are sorted only where a
        // message must follow their order, on the worker too.
        search_->setSortFilesAhead(false);
    } else
        search_ = std::make_unique<FolderSearch>(form_, openFolders_, openFiles_, window_, view_);
    search_->setEvents(this);
    // On the caller's thread a folder is read on a worker thread within its
    // bound, and the caller repaints while it waits; the window's opens are
    // read on the session's worker instead.
    openFolders_.whileOpening = [this] { window_.processRepaints(); };
    driveChange_ = std::make_unique<DriveChange>(form_, view_, window_, driveQuery_, *this, driveFolders_, driveListText_);
}

bool Session::isSearching() const
{
    return searchingOnWorker_ || (search_ && search_->isSearching());
}

bool Session::openFolder(const std::string& path)
{
    if (isSearching())
        return false;
    if (searchThread_ == SearchThread::Worker) {
        openOnWorker({path}, false);
        return true;
    }
    openFolders_.setPath(path);
    folderMoved();
    return true;
}

bool Session::openScan(std::shared_ptr<const FolderScan> scan)
{
    if (isSearching())
        return false;
    openFolders_.setScan(std::move(scan));
    folderMoved();
    return true;
}

void Session::moveFolderList(const std::string& folder)
{
    if (searchThread_ == SearchThread::Worker && !isSearching())
        openOnWorker({folder}, true);
    else
        openFolder(folder);
}

void Session::folderMoved()
{
    driveFolders_.setCurrentFolder(openFolders_.path());
    // Before start() has run its course the lists only open.
    const bool searches = search_ && !form_.modifierHeld;
    tell([&](SessionObserver& o) { o.folderOpened(searches); });
    if (!searches) {
        tell([&](SessionObserver& o) { o.folderOpenDone(false); });
        return;
    }
    runSearch();
}

void Session::runSearch()
{
    search_->searchFolder();
    tell([&](SessionObserver& o) { o.folderOpenDone(true); });
}

void Session::openOnWorker(std::vector<std::string> folders, bool driveChange)
{
    if (worker_.joinable())
        worker_.join();
    calls_.reset();
    searchingOnWorker_ = true;
    worker_ = std::thread([this, folders = std::move(folders), driveChange] {
        // The folder is read here, within the bound of a first touch; the
        // list moves, and the search starts, on the window's thread, which
        // makes no call on the drive for it. When none of the folders opens,
        // the last one tried (F5's drive root) is named.
        std::shared_ptr<const FolderScan> scan;
        std::optional<RuntimeError> failure;
        std::string failed;
        for (const std::string& folder : folders) {
            try {
                scan = FolderScan::readInTime(folder);
                // The file list shows them in list order: sorted here, not
                // on the window's thread.
                scan->filesInListOrder();
                break;
            } catch (const RuntimeError& e) {
                failure = e;
            } catch (const std::bad_alloc&) {
                failure = RuntimeError(err::OutOfMemory);
            }
            failed = folder;
        }
        bool searches = false;
        calls_.call([&] {
            if (!scan) {
                if (driveChange)
                    driveChange_->folderFailed(*failure, failed);
                else
                    tell([&](SessionObserver& o) { o.folderOpenFailed(*failure, failed); });
                return;
            }
            openFolders_.setScan(scan);
            driveFolders_.setCurrentFolder(openFolders_.path());
            searches = !form_.modifierHeld;
            tell([&](SessionObserver& o) { o.folderOpened(searches); });
            if (searches)
                search_->beginSearch();
        });
        if (searches)
            search_->walkSearch();
        calls_.post([this, searches] { workerEnded(searches); });
    });
}

void Session::workerEnded(bool searched)
{
    if (worker_.joinable())
        worker_.join();
    searchingOnWorker_ = false;
    workerWindow_.runWaiting();
    if (searched)
        tell([](SessionObserver& o) { o.searchFinished(); });
    tell([&](SessionObserver& o) { o.folderOpenDone(searched); });
}

void Session::searchStarted()
{
    tell([](SessionObserver& o) { o.searchStarted(); });
}

void Session::searchAdvanced()
{
    SearchProgress progress{search_->currentFolder(), form_.treeFolders, form_.treeFiles};
    if (searchThread_ == SearchThread::Caller) {
        tell([&](SessionObserver& o) { o.searchAdvanced(progress); });
        return;
    }
    // The walk goes on while the window's thread hears it; while it has not
    // yet, the next progress is not posted, so that a busy window is not
    // flooded with figures it would only paint over.
    if (progressPosted_.exchange(true))
        return;
    calls_.post([this, progress = std::move(progress)] {
        progressPosted_ = false;
        tell([&](SessionObserver& o) { o.searchAdvanced(progress); });
    });
}

void Session::searchFinished()
{
    // The worker's end is told once the worker has ended.
    if (searchThread_ == SearchThread::Caller)
        tell([](SessionObserver& o) { o.searchFinished(); });
}

void Session::changeForm(std::function<void()> change)
{
    if (searchingOnWorker_)
        workerWindow_.runBetweenFolders(std::move(change));
    else
        change();
}

void Session::stopSearch()
{
    if (search_)
        search_->requestStop();
}

void Session::close()
{
    stopSearch();
    calls_.abandon();
}

void Session::addObserver(SessionObserver* observer)
{
    observers_.push_back(observer);
}

void Session::removeObserver(SessionObserver* observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void Session::pickConvertLength(int index)
{
    changeForm([this, index] { dorvelix::pickConvertLength(form_, view_, index); });
}

std::optional<Session::ReopenFailure> Session::reopenFolder()
{
    if (isSearching())
        return std::nullopt;
    // The open folder, then each folder above it up to its drive's root.
    std::vector<std::string> folders;
    std::string folder = openFolders_.path();
    while (!folder.empty()) {
        folders.push_back(folder);
        const std::string root = withTrailingSlash(driveOf(folder));
        if (folder.size() <= root.size())
            break;
        const size_t slash = folder.find_last_of('/');
        folder = slash < root.size() ? root : folder.substr(0, slash);
    }
    if (folders.empty())
        return std::nullopt;
    if (searchThread_ == SearchThread::Worker) {
        openOnWorker(folders, false);
        return std::nullopt;
    }
    for (const std::string& f : folders) {
        try {
            openFolder(f);
            return std::nullopt;
        } catch (const RuntimeError& e) {
            if (&f == &folders.back())
                return ReopenFailure{e, f};
        }
    }
    return std::nullopt;
}

}  // namespace dorvelix
