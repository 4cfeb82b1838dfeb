// Boxes that stop the program's work until answered, without blocking the
// main window's close. A box run by Qt's own modality (QDialog::exec) makes
// Qt drop the window manager's close of every other window, so that a click
// on the main window's close button while a box is up is lost. runModalBox
// shows the box as an ordinary window and keeps the user's input away from
// every other window itself: the box still has to be answered before
// anything else, but closing the main window ends the program at once.
#pragma once

#include <QDialog>
#include <QEvent>
#include <functional>

namespace dorvelix {

// Shows box and returns once it has been closed, with its result. Boxes
// raised while one is up take the input in turn, the newest first.
int runModalBox(QDialog& box);

// Shows box as runModalBox does, without waiting: finished runs with its
// result once it has been closed. The box deletes itself afterwards.
void openModalBox(QDialog* box, std::function<void(int result)> finished);

// How many boxes runModalBox and openModalBox show now (nested ones included).
int openModalBoxes();

// Answers every box runModalBox is running as its Esc would, the newest
// first (the program is ending).
void closeModalBoxes();

// Sent to a window when a click or a key press meant for one of its controls
// was held back because a box waits for its answer; the box is brought to
// the front. A window may tell the user why nothing happened.
class HeldInputEvent : public QEvent {
public:
    explicit HeldInputEvent(QWidget* target) : QEvent(eventType()), target_(target) {}
    static QEvent::Type eventType();
    // The control the input was meant for.
    QWidget* target() const { return target_; }

private:
    QWidget* target_;
};

}  // namespace dorvelix
