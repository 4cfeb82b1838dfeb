// Where the program's tool windows open: beside the main window where the
// screen has room, otherwise over the part of it that matters least, never
// over the figures it keeps in view while the screen has room for both.
#pragma once

#include <QRect>

class QWidget;

namespace dorvelix {

// Marks a control of the main window (a figure of its folder panel, or its
// caption) that tool windows leave uncovered where the screen has room.
void keepUncovered(QWidget* control);

// The part of the screen tool windows are placed and sized in: the
// available area of window's screen, unless placeWithin set another (a
// screen of another size, for tests; an empty rectangle: the screen again).
QRect placementRoom(const QWidget* window);
void placeWithin(const QRect& room);

// The main window a tool window belongs to: its outermost parent window.
const QWidget* mainWindowOf(const QWidget* window);

// Moves window next to mainWindow: to its right where the screen has room,
// else to its left, else below or above it, and on that side where no
// other tool window is, so that they do not stack on one spot. Where no
// side has room, over the main window where it covers least of it and none
// of the controls kept uncovered; where even that has no room at the
// window's size, the window is made narrower (or lower) to fit beside them;
// on a screen too small for all of these, to the side with the most room,
// kept on the screen.
void placeBeside(QWidget* window, const QWidget* mainWindow);

// Places a shown window again by placeBeside's rule where it reaches past
// the screen's room, over the controls kept uncovered, or over the main
// window that it did not cover at wasAt (its frame before it grew; its
// frame now, for a window shown again where it was left).
void placeAgainIfInTheWay(QWidget* window, const QRect& wasAt);

}  // namespace dorvelix
