// What the search and the drive query ask of the main window. The window
// implements these with Qt; RecordingWindow implements them without a display
// for the tests and the headless report.
#pragma once

#include <QString>

namespace dorvelix {

inline constexpr int BusyPointer = 99;
inline constexpr int DefaultPointer = 0;

// One message of the folder search, besides the box's text: its kind (the
// level-15 warning is one kind, each error prefix with its number another),
// the path it names and the cause in words. The window uses the kind to let
// the user silence further messages of it during the search.
struct SearchMessage {
    QString kind;
    QString path;
    QString cause;
};

class WindowServices {
public:
    virtual ~WindowServices() = default;
    // A modal box with an OK button only and no icon; an empty title shows
    // the application's title.
    virtual void messageBox(const QString& text, const QString& title = {}) = 0;
    // A box raised by the folder search: shown as messageBox(text) unless the
    // window chooses otherwise.
    virtual void searchMessage(const QString& text, const SearchMessage& /*message*/) { messageBox(text); }
    virtual void beep() = 0;
    // 99 the window's busy pointer, 0 the default one.
    virtual void setMousePointer(int pointer) = 0;
    // Lets the window handle its pending events once.
    virtual void processEvents() = 0;
    // Lets the window repaint: pending paint and other non-input events run.
    // The window may take user input here too (closing it must not wait for
    // the walk); the search does not count on it.
    virtual void processPaintEvents() = 0;
};

// The window's value boxes (Text1 .. Text37) and the two drawings that the
// drive query and the search ask for.
class FormView {
public:
    virtual ~FormView() = default;
    virtual void setBoxText(int textNumber, const QString& text) = 0;
    // Puts the conversion menu's check mark on entry index (0..8) alone.
    virtual void checkConvertLength(int index) = 0;
    // Redraws the usage graph for the given screen size.
    virtual void drawUsageGraph(int screenSize) = 0;
    // Fills the search lamp Picture2 (side × side twips) red or green.
    virtual void paintSearchLamp(int side, bool red) = 0;
};

}  // namespace dorvelix
