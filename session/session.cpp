#include "session.h"

#include "convert_length.h"
#include "paths.h"

#include <algorithm>

namespace dorvelix {

Session::Session(FormView& view, WindowServices& window, VolumeQueries& volumes, DriveChange::DriveText driveListText)
    : view_(view),
      window_(window),
      driveQuery_(form_, view, window, volumes),
      driveListText_(std::move(driveListText))
{
    // The window lists every file of a folder, hidden and system ones too.
    openFiles_.showHidden = true;
    openFiles_.showSystem = true;
}

Session::~Session()
{
    // The search's handler points into the session.
    openFolders_.onChange = nullptr;
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
    search_ = std::make_unique<FolderSearch>(form_, openFolders_, openFiles_, window_, view_);
    search_->onStarted = [this] { tell([](SessionObserver& o) { o.searchStarted(); }); };
    search_->onProgress = [this] { tell([](SessionObserver& o) { o.searchAdvanced(); }); };
    search_->onFinished = [this] { tell([](SessionObserver& o) { o.searchFinished(); }); };
    // The folder list's observers see its new folder before the search of it
    // runs, whoever moved it, and again once the search has ended.
    std::function<void()> searchFolder = std::move(openFolders_.onChange);
    openFolders_.onChange = [this, searchFolder] {
        driveFolders_.setCurrentFolder(openFolders_.path());
        const bool searches = !form_.modifierHeld && !search_->isSearching();
        tell([&](SessionObserver& o) { o.folderOpened(searches); });
        if (searchFolder)
            searchFolder();
        tell([&](SessionObserver& o) { o.folderOpenDone(searches); });
    };
    // A folder opened from outside the open one is read on a worker thread,
    // and the window repaints while it waits.
    openFolders_.whileOpening = [this] { window_.processRepaints(); };
    driveChange_ = std::make_unique<DriveChange>(form_, view_, window_, driveQuery_, openFolders_, driveFolders_,
                                                 *search_, driveListText_);
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
    dorvelix::pickConvertLength(form_, view_, index);
}

std::optional<Session::ReopenFailure> Session::reopenFolder()
{
    std::string folder = openFolders_.path();
    while (!folder.empty()) {
        try {
            openFolders_.setPath(folder);
            return std::nullopt;
        } catch (const RuntimeError& e) {
            const std::string root = withTrailingSlash(driveOf(folder));
            if (folder.size() <= root.size())
                return ReopenFailure{e, folder};
            const size_t slash = folder.find_last_of('/');
            folder = slash < root.size() ? root : folder.substr(0, slash);
        }
    }
    return std::nullopt;
}

}  // namespace dorvelix
