// What the search and the drive query ask of the main window. The window
// implements these with Qt; the headless report hears them through its
// ReportListener, and the tests record them.
#pragma once

#include "messages.h"
#include "results.h"

#include <QString>
#include <functional>

namespace dorvelix {

inline constexpr int BusyPointer = 99;
inline constexpr int DefaultPointer = 0;

class WindowServices {
public:
    virtual ~WindowServices() = default;
    // A modal box with an OK button only and no icon; an empty title shows
    // the application's title.
    virtual void messageBox(const QString& text, const QString& title = {}) = 0;
    // A box raised by the folder search: shown as messageBox(message.text())
    // unless the window chooses otherwise.
    virtual void searchMessage(const SearchMessage& message) { messageBox(message.text()); }
    // The same box shown without waiting for it: answered runs once the user
    // has answered it (at once when no box shows). A search on a worker
    // waits for that while the window goes on with its events.
    virtual void showSearchMessage(const SearchMessage& message, std::function<void()> answered)
    {
        searchMessage(message);
        answered();
    }
    // Whether showSearchMessage(message) opens a box whose answer the search
    // waits for; when not (a kind the user chose not to see again), a search
    // on a worker lets the window log the message and walks on. Asked on the
    // search's thread while the window's thread changes nothing it reads.
    virtual bool searchMessageWaits(const SearchMessage& /*message*/) const { return true; }
    virtual void beep() = 0;
    // 99 the window's busy pointer, 0 the default one.
    virtual void setMousePointer(int pointer) = 0;
    // Lets the window handle its pending events once.
    virtual void processEvents() = 0;
    // Lets the window repaint: pending paint and other non-input events run.
    // The window may take user input here too (closing it must not wait for
    // the walk); the search does not count on it.
    virtual void processPaintEvents() = 0;
    // Lets the window repaint while the engine waits outside a search (for a
    // folder being opened): paint and other non-input events run, but no
    // user input and no news of the mount table, so that nothing the user
    // does starts meanwhile. Nothing to do without a display.
    virtual void processRepaints() {}
};

// What the drive query, the search and the conversion menu tell the main
// window, as typed results and events. ValueBoxView shows them in the value
// boxes; the drawings are the window's own.
class FormView {
public:
    virtual ~FormView() = default;
    // The drive query reached these figures; the others keep their boxes.
    virtual void driveFiguresReached(const DriveFigures& figures) = 0;
    // The drive has no medium: its geometry and capacity are not known.
    virtual void driveGeometryLost() = 0;
    // A new drive: no folder results yet.
    virtual void folderResultsCleared() = 0;
    // The search listed the chosen folder's own files (search.files).
    virtual void filesListed(const SearchResult& search) = 0;
    // It booked them: the folder-alone row (search.alone).
    virtual void folderAloneBooked(const SearchResult& search) = 0;
    // The walk ended: the subtree and converted rows (search.subtree).
    virtual void subtreeCounted(const SearchResult& search) = 0;
    // A stopped or failed walk: no subtree figures.
    virtual void subtreeCleared() = 0;
    // A conversion length picked in the menu: shown, and the converted row
    // at zero until the next search.
    virtual void convertLengthPicked(long long length) = 0;
    // Puts the conversion menu's check mark on entry index (0..8) alone.
    virtual void checkConvertLength(int index) = 0;
    // Redraws the usage graph for the given screen size.
    virtual void drawUsageGraph(int screenSize) = 0;
    // Fills the search lamp (side × side twips) red or green.
    virtual void paintSearchLamp(int side, bool red) = 0;
};

}  // namespace dorvelix
