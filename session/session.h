// One user's session with the engine, as the main window offers it: the form
// state, the open folder and file lists, each drive's current folder, the
// drive query, the folder search and the drive change, owned in one place.
// It offers the user's verbs (open a folder, choose a drive, pick a
// conversion length, read everything again), is the one place that refuses
// them while a search runs, moves the folder list itself, and tells its
// observers when the folder list moves and when a search starts, advances
// and ends. The window runs its searches on a worker thread; the report and
// the engine's tests on their own. The window and its tool windows are its
// clients; it needs no display.
#pragma once

#include "drive_change.h"
#include "drive_info.h"
#include "drives.h"
#include "folder_search.h"
#include "form_state.h"
#include "lists.h"
#include "runtime_error.h"
#include "volume_queries.h"
#include "window_calls.h"
#include "window_services.h"
#include "worker_window.h"

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace dorvelix {

// Where a running search stands: the folder it books now and the folders
// and files counted so far, taken on the search's thread.
struct SearchProgress {
    std::string folder;
    long long folders = 0;
    long long files = 0;
};

// Told what the session does, in the order observers were added, on the
// window's thread.
class SessionObserver {
public:
    virtual ~SessionObserver() = default;
    // The folder list moved to a new folder, which a search of it follows
    // when searches is true (no modifier held).
    virtual void folderOpened(bool /*searches*/) {}
    // The folder list's move is done, with its search when searched is true.
    virtual void folderOpenDone(bool /*searched*/) {}
    // A folder opened on the worker could not be opened (the first of the
    // folders tried, when F5 fell back to the folders above it, is named by
    // folder): the folder list keeps its folder.
    virtual void folderOpenFailed(const RuntimeError& /*error*/, const std::string& /*folder*/) {}
    // A folder search started, let the window repaint, or ended (stopped or
    // not). A search on the worker does not wait for its progress to be
    // heard: a progress not yet heard is not followed by another.
    virtual void searchStarted() {}
    virtual void searchAdvanced(const SearchProgress& /*progress*/) {}
    virtual void searchFinished() {}
};

class Session : public SearchEvents, public FolderMoves {
public:
    // Where the folder search runs: on the thread that opened the folder,
    // which the search holds until it ends (the report, the engine's tests),
    // or on a worker, the window's thread only told what it shows.
    enum class SearchThread { Caller, Worker };

    // view and window are the main window's; volumes answers the drive
    // queries; driveListText reads the drive list's chosen drive.
    Session(FormView& view, WindowServices& window, VolumeQueries& volumes, DriveChange::DriveText driveListText,
            SearchThread searchThread = SearchThread::Caller);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    ~Session() override;

    // Opens the lists on the first of the folders that opens (the process's
    // current folder, its drive's root, "/") without searching it, then lets
    // every later move of the folder list search its folder.
    void start(const std::string& currentFolder);
    // Only the second half: every move of the folder list from now on
    // searches its folder (the report moves it to the folder it was given).
    void startSearching();

    void addObserver(SessionObserver* observer);
    void removeObserver(SessionObserver* observer);

    // The verbs, each refused (false, nothing changed) while a search runs
    // or a folder is being opened. A folder opened searches it unless a
    // modifier is held. On the caller's thread, RuntimeError as the folder
    // list raises it, with nothing changed; on the worker, the folder is read
    // there and the window is told (folderOpenFailed) when it cannot be.
    bool openFolder(const std::string& path);
    // The same with the folder already read.
    bool openScan(std::shared_ptr<const FolderScan> scan);
    // The drive list's change.
    bool chooseDrive() { return driveChange_->onDriveChosen(); }
    // A click on entry index (0..8) of the conversion length menu; while a
    // search runs, taken between two top-level subfolders, as the search
    // counts each of them at one length.
    void pickConvertLength(int index);
    // Runs change, which alters the figures the search counts with or draws
    // from them, now, or while a search runs between two of its top-level
    // subfolders (or at its end), the walk waiting.
    void changeForm(std::function<void()> change);
    // Opens the open folder again (and so searches it); should it be gone,
    // the nearest folder above it that opens. When not even the drive's root
    // opens: its error and the folder it names (told through
    // folderOpenFailed on the worker). Nothing while a search runs.
    struct ReopenFailure {
        RuntimeError error;
        std::string folder;
    };
    std::optional<ReopenFailure> reopenFolder();
    // Ends the running search at its next folder.
    void stopSearch();
    // The window closes: the running search stops, nothing more reaches the
    // window, and the worker ends without it.
    void close();
    bool isSearching() const override;
    // The drive change's move of the folder list: openFolder.
    void moveFolderList(const std::string& folder) override;
    // The search's own news, passed on to the observers on the window's thread.
    void searchStarted() override;
    void searchAdvanced() override;
    void searchFinished() override;
    bool hasStarted() const { return driveChange_ != nullptr; }

    FormState& form() { return form_; }
    const FormState& form() const { return form_; }
    const FolderList& openFolders() const { return openFolders_; }
    FileList& openFiles() { return openFiles_; }
    DriveFolders& driveFolders() { return driveFolders_; }
    DriveQuery& driveQuery() { return driveQuery_; }
    // The search and the drive change exist once start() has run. The
    // search's figures are read on the window's thread while it is told of
    // the search, or once the search has ended.
    FolderSearch& search() { return *search_; }
    DriveChange& driveChange() { return *driveChange_; }

private:
    template <class Told>
    void tell(Told told);
    // The folder list has moved: its observers hear it and its search runs.
    void folderMoved();
    // On the caller's thread: the search of the folder list's folder.
    void runSearch();
    // On the worker: reads the first of folders that opens, moves the folder
    // list there on the window's thread and searches it. driveChange says
    // the drive change asked, which deals with a drive that has no medium.
    void openOnWorker(std::vector<std::string> folders, bool driveChange);
    void workerEnded(bool searched);

    FormView& view_;
    WindowServices& window_;
    FormState form_;
    FolderList openFolders_;
    FileList openFiles_;
    DriveFolders driveFolders_;
    DriveQuery driveQuery_;
    DriveChange::DriveText driveListText_;
    SearchThread searchThread_;
    WindowCalls calls_;
    WorkerWindow workerWindow_;
    std::unique_ptr<FolderSearch> search_;
    std::unique_ptr<DriveChange> driveChange_;
    std::vector<SessionObserver*> observers_;
    // A folder opened on the worker is busy from the request on the
    // window's thread until its end (and its search's) is told there.
    bool searchingOnWorker_ = false;
    // A progress posted to the window's thread and not yet told there.
    std::atomic<bool> progressPosted_{false};
    std::thread worker_;
};

}  // namespace dorvelix
