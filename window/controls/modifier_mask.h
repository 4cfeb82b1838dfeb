// The modifier mask the key and mouse events of the drive and folder lists
// carry: 1 Shift, 2 Ctrl, 4 Alt, added together.
#pragma once

#include <Qt>

class QKeyEvent;

namespace dorvelix {

int modifierMask(Qt::KeyboardModifiers modifiers);

// The mask of a key event. For the press or release of a modifier key itself
// the mask is what is held after the event (a Shift press carries Shift, its
// release no longer does), whatever the window system reported.
int keyModifierMask(const QKeyEvent& event);

// The mouse button number of the events: 1 left, 2 right, 4 middle.
int mouseButtonNumber(Qt::MouseButton button);

}  // namespace dorvelix
