#include "drive_change.h"

#include "runtime_error.h"
#include "text.h"

#include <new>
#include <string>

namespace dorvelix {

int lampSide(std::int16_t screenSize)
{
    switch (screenSize) {
    case 1:
        return 200;
    case 2:
        return 150;
    case 3:
        return 120;
    default:
        return 0;
    }
}

DriveChange::DriveChange(FormState& form, FormView& view, WindowServices& window, DriveQuery& driveQuery,
                         FolderList& dir1, DriveFolders& driveFolders, const FolderSearch& search,
                         DriveText drive1Text)
    : form_(form),
      view_(view),
      window_(window),
      driveQuery_(driveQuery),
      dir1_(dir1),
      driveFolders_(driveFolders),
      search_(search),
      drive1Text_(std::move(drive1Text))
{
}

bool DriveChange::Drive1_Change()
{
    if (search_.isSearching())
        return false;

    form_.TreeFolders = 0;
    form_.TreeFiles = 0;
    form_.TreeClusterCount = 0;
    window_.setMousePointer(BusyPointer);

    bool answered = false;
    try {
        answered = driveQuery_.ShowDriveInfo(drive1Text_());
    } catch (const RuntimeError&) {
        // The query deals with its own failures; nothing more to show here.
    }

    // A drive without a medium has been reported by the query: Dir1 stays
    // where it is and nothing is searched.
    if (answered) {
        std::string folder;
        try {
            folder = driveFolders_.currentFolder(drive1Text_());
            // Raises Dir1's change, which searches the folder unless a
            // modifier was held.
            dir1_.setPath(folder);
        } catch (const RuntimeError& e) {
            // The drive's current folder has gone or cannot be opened: Dir1
            // keeps its folder and no search runs. A drive that did not
            // answer has no medium: asked again, it takes the no-medium path
            // at once and says so.
            if (e.number() != err::DiskNotReady || driveQuery_.ShowDriveInfo(drive1Text_()))
                window_.messageBox(errorDescription(e) + CrLf + displayText(folder));
        } catch (const std::bad_alloc&) {
            window_.messageBox(errorDescription(err::OutOfMemory));
        }
    }

    ShowSearchLamp(form_.ShiftDown);
    window_.setMousePointer(DefaultPointer);
    return true;
}

void DriveChange::recordModifiers(int shift)
{
    form_.ShiftDown = shift != 0 ? True : False;
    ShowSearchLamp(form_.ShiftDown);
}

void DriveChange::Drive1_KeyDown(int /*keyCode*/, int shift)
{
    recordModifiers(shift);
}

void DriveChange::Drive1_KeyUp(int /*keyCode*/, int shift)
{
    recordModifiers(shift);
}

void DriveChange::Dir1_KeyDown(int /*keyCode*/, int shift)
{
    recordModifiers(shift);
}

void DriveChange::Dir1_KeyUp(int /*keyCode*/, int shift)
{
    recordModifiers(shift);
}

void DriveChange::Dir1_MouseDown(int /*button*/, int shift, int /*x*/, int /*y*/)
{
    recordModifiers(shift);
}

void DriveChange::ModifiersReleased()
{
    if (form_.ShiftDown != False)
        recordModifiers(0);
}

void DriveChange::ShowSearchLamp(std::int16_t state)
{
    const int side = lampSide(form_.ScreenSize);
    if (state == False) {
        view_.paintSearchLamp(side, false);
        return;
    }
    view_.paintSearchLamp(side, true);
    if (!search_.isSearching())
        driveQuery_.ShowDriveInfo(drive1Text_());
}

}  // namespace dorvelix
