// One user's session with the engine, as the main window offers it: the form
// state, the open folder and file lists, each drive's current folder, the
// drive query, the folder search and the drive change, owned in one place.
// It offers the user's verbs (open a folder, choose a drive, pick a
// conversion length, read everything again) and tells its observers when the
// folder list moves and when a search starts, advances and ends. The window
// and its tool windows are its clients; it needs no display.
#pragma once

#include "drive_change.h"
#include "drive_info.h"
#include "drives.h"
#include "folder_search.h"
#include "form_state.h"
#include "lists.h"
#include "runtime_error.h"
#include "volume_queries.h"
#include "window_services.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dorvelix {

// Told what the session does, in the order observers were added.
class SessionObserver {
public:
    virtual ~SessionObserver() = default;
    // The folder list moved to a new folder, which a search of it follows
    // when searches is true (no modifier held, none running).
    virtual void folderOpened(bool /*searches*/) {}
    // The folder list's move is done, with its search when searched is true.
    virtual void folderOpenDone(bool /*searched*/) {}
    // A folder search started, let the window repaint, or ended (stopped or not).
    virtual void searchStarted() {}
    virtual void searchAdvanced() {}
    virtual void searchFinished() {}
};

class Session {
public:
    // view and window are the main window's; volumes answers the drive
    // queries; driveListText reads the drive list's chosen drive.
    Session(FormView& view, WindowServices& window, VolumeQueries& volumes, DriveChange::DriveText driveListText);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    ~Session();

    // Opens the lists on the first of the folders that opens (the process's
    // current folder, its drive's root, "/") without searching it, then lets
    // every later move of the folder list search its folder.
    void start(const std::string& currentFolder);
    // Only the second half: every move of the folder list from now on
    // searches its folder (the report moves it to the folder it was given).
    void startSearching();

    void addObserver(SessionObserver* observer);
    void removeObserver(SessionObserver* observer);

    // The verbs. A folder opened searches it unless a modifier is held;
    // RuntimeError as the folder list raises it, with nothing changed.
    void openFolder(const std::string& path) { openFolders_.setPath(path); }
    // The drive list's change; false, doing nothing, while a search runs.
    bool chooseDrive() { return driveChange_->onDriveChosen(); }
    // A click on entry index (0..8) of the conversion length menu.
    void pickConvertLength(int index);
    // Opens the open folder again (and so searches it); should it be gone,
    // the nearest folder above it that opens. When not even the drive's root
    // opens: its error and the folder it names.
    struct ReopenFailure {
        RuntimeError error;
        std::string folder;
    };
    std::optional<ReopenFailure> reopenFolder();
    bool isSearching() const { return search_ && search_->isSearching(); }
    bool hasStarted() const { return driveChange_ != nullptr; }

    FormState& form() { return form_; }
    const FormState& form() const { return form_; }
    FolderList& openFolders() { return openFolders_; }
    FileList& openFiles() { return openFiles_; }
    DriveFolders& driveFolders() { return driveFolders_; }
    DriveQuery& driveQuery() { return driveQuery_; }
    // The search and the drive change exist once start() has run.
    FolderSearch& search() { return *search_; }
    DriveChange& driveChange() { return *driveChange_; }

private:
    template <class Told>
    void tell(Told told);

    FormView& view_;
    WindowServices& window_;
    FormState form_;
    FolderList openFolders_;
    FileList openFiles_;
    DriveFolders driveFolders_;
    DriveQuery driveQuery_;
    DriveChange::DriveText driveListText_;
    std::unique_ptr<FolderSearch> search_;
    std::unique_ptr<DriveChange> driveChange_;
    std::vector<SessionObserver*> observers_;
};

}  // namespace dorvelix
