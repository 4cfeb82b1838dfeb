#include "drive_change.h"

#include "messages.h"
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
                         FolderMoves& moves, DriveFolders& driveFolders, DriveText driveListText)
    : form_(form),
      view_(view),
      window_(window),
      driveQuery_(driveQuery),
      moves_(moves),
      driveFolders_(driveFolders),
      driveListText_(std::move(driveListText))
{
}

bool DriveChange::onDriveChosen()
{
    if (moves_.isSearching())
        return false;

    // The totals that the graph and the progress show; the converted total
    // is cleared by the next search, which alone reads it.
    form_.treeFolders = 0;
    form_.treeFiles = 0;
    form_.treeClusterCount = 0;
    window_.setMousePointer(BusyPointer);

    bool answered = false;
    try {
        answered = driveQuery_.showDriveInfo(driveListText_());
    } catch (const RuntimeError&) {
        // The query deals with its own failures; nothing more to show here.
    }

    // A drive without a medium has been reported by the query: the folder list stays
    // where it is and nothing is searched.
    if (answered) {
        std::string folder;
        try {
            folder = driveFolders_.currentFolder(driveListText_());
            // Raises the folder list's change, which searches the folder unless a
            // modifier was held.
            moves_.moveFolderList(folder);
        } catch (const RuntimeError& e) {
            folderFailed(e, folder);
        } catch (const std::bad_alloc&) {
            window_.messageBox(errorDescription(err::OutOfMemory));
        }
    }

    showSearchLamp(form_.modifierHeld);
    window_.setMousePointer(DefaultPointer);
    return true;
}

void DriveChange::folderFailed(const RuntimeError& e, const std::string& folder)
{
    // A drive that did not answer has no medium: asked again, it takes the
    // no-medium path at once and says so.
    if (e.number() != err::DiskNotReady || driveQuery_.showDriveInfo(driveListText_()))
        window_.messageBox(pathErrorMessage(e, displayText(folder)));
}

void DriveChange::modifiersSeen(int shift)
{
    form_.modifierHeld = shift != 0;
    showSearchLamp(form_.modifierHeld);
}

void DriveChange::onModifiersReleased()
{
    if (form_.modifierHeld)
        modifiersSeen(0);
}

void DriveChange::showSearchLamp(bool red)
{
    const int side = lampSide(form_.screenSize);
    if (!red) {
        view_.paintSearchLamp(side, false);
        return;
    }
    view_.paintSearchLamp(side, true);
    if (!moves_.isSearching())
        driveQuery_.showDriveInfo(driveListText_());
}

}  // namespace dorvelix
