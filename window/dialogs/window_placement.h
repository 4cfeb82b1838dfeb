// Where the program's tool windows open: beside the main window, never on
// top of it.
#pragma once

class QWidget;

namespace dorvelix {

// Moves window (at its present size) next to mainWindow: to its right where
// the screen has room, else to its left, else below or above it, and on
// that side where no other visible window of mainWindow's is (below or
// beside them), so that tool windows do not stack on one spot; on a screen
// too small for any of these, to the side with the most room, kept on the
// screen, so that it covers as little of the main window as it can.
void placeBeside(QWidget* window, const QWidget* mainWindow);

}  // namespace dorvelix
