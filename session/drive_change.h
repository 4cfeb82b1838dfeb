// The drive change of the drive list, the modifier state that switches the
// folder search off, and the search lamp that shows it: green while a change
// of the folder list's folder searches it, red while a modifier key (Shift, Ctrl or Alt)
// was held at the last key or mouse event of the drive list or the folder list.
#pragma once

#include "drive_info.h"
#include "drives.h"
#include "form_state.h"
#include "lists.h"
#include "runtime_error.h"
#include "usage_graph.h"
#include "window_services.h"

#include <QString>
#include <cstdint>
#include <functional>

namespace dorvelix {

namespace lamp {
inline constexpr Rgb Red{255, 0, 0};    // no search
inline constexpr Rgb Green{0, 255, 0};  // searches run
}  // namespace lamp

// The lamp's side in twips for a screen size: 200, 150, 120; 0 for any other.
int lampSide(std::int16_t screenSize);

// What a drive change asks of the session that owns the folder list.
class FolderMoves {
public:
    virtual ~FolderMoves() = default;
    virtual bool isSearching() const = 0;
    // Moves the folder list to folder, which searches it unless a modifier
    // is held; RuntimeError as the list raises it, with nothing changed, or,
    // when the folder is read on a worker, folderFailed later.
    virtual void moveFolderList(const std::string& folder) = 0;
};

class DriveChange {
public:
    // The drive list's selected drive text, read each time it is needed.
    using DriveText = std::function<QString()>;

    DriveChange(FormState& form, FormView& view, WindowServices& window, DriveQuery& driveQuery, FolderMoves& moves,
                DriveFolders& driveFolders, DriveText driveListText);

    // The drive list's change: clears the last search's totals, queries the new
    // drive, moves the folder list to the drive's current folder (which searches it
    // unless a modifier was held) and repaints the lamp. Returns false, doing
    // nothing, when a folder search is running: the running search keeps its
    // totals and no second one starts (the window may put the drive list back).
    bool onDriveChosen();
    // The drive's current folder has gone or cannot be opened (e, the folder
    // named): the folder list keeps its folder and no search runs.
    void folderFailed(const RuntimeError& e, const std::string& folder);

    // A key or mouse event of the drive list or the folder list, with the
    // modifiers it carried (1 Shift, 2 Ctrl, 4 Alt, added together): any
    // modifier switches the search off, none switches it on again.
    void modifiersSeen(int shift);
    // Every modifier key has been let go, wherever its release went (the
    // menu bar takes the release of Alt tapped alone): the search is on again.
    void onModifiersReleased();

    // Paints the lamp red when red, green otherwise. A red lamp
    // also queries the drive list's drive again, except while a folder search runs:
    // the query resets the conversion cluster length that the running search
    // is counting with.
    void showSearchLamp(bool red);

private:
    FormState& form_;
    FormView& view_;
    WindowServices& window_;
    DriveQuery& driveQuery_;
    FolderMoves& moves_;
    DriveFolders& driveFolders_;
    DriveText driveListText_;
};

}  // namespace dorvelix
