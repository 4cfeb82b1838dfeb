#include "modifier_mask.h"

#include <QKeyEvent>

namespace dorvelix {

namespace {
constexpr int ShiftMask = 1;
constexpr int CtrlMask = 2;
constexpr int AltMask = 4;
}  // namespace

int modifierMask(Qt::KeyboardModifiers modifiers)
{
    int mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= ShiftMask;
    if (modifiers & Qt::ControlModifier)
        mask |= CtrlMask;
    if (modifiers & Qt::AltModifier)
        mask |= AltMask;
    return mask;
}

int keyModifierMask(const QKeyEvent& event)
{
    int mask = modifierMask(event.modifiers());
    int own = 0;
    switch (event.key()) {
    case Qt::Key_Shift: own = ShiftMask; break;
    case Qt::Key_Control: own = CtrlMask; break;
    case Qt::Key_Alt: own = AltMask; break;
    default: return mask;
    }
    if (event.type() == QEvent::KeyPress)
        mask |= own;
    else
        mask &= ~own;
    return mask;
}

int mouseButtonNumber(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

}  // namespace dorvelix
