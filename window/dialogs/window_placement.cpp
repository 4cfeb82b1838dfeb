#include "window_placement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <array>
#include <vector>

namespace dorvelix {

void placeBeside(QWidget* window, const QWidget* mainWindow)
{
    const QRect main = mainWindow->frameGeometry();
    const QScreen* screen = mainWindow->screen();
    const QRect room = screen ? screen->availableGeometry() : main;
    // A window not shown yet grows to what its layout needs when it is.
    window->resize(window->size().expandedTo(window->minimumSizeHint()));
    // The window's frame adds to its size once it has been shown.
    const QSize size = window->frameGeometry().size().expandedTo(window->size());
    constexpr int Gap = 8;
    struct Side {
        QPoint at;
        int space;  // the room on that side, along the side's direction
        int needed;
    };
    const int top = std::clamp(main.top(), room.top(), std::max(room.top(), room.bottom() - size.height()));
    const int left = std::clamp(main.left(), room.left(), std::max(room.left(), room.right() - size.width()));
    const std::array<Side, 4> sides{{
        {{main.right() + Gap, top}, room.right() - main.right() - Gap, size.width()},
        {{main.left() - Gap - size.width(), top}, main.left() - room.left() - Gap, size.width()},
        {{left, main.bottom() + Gap}, room.bottom() - main.bottom() - Gap, size.height()},
        {{left, main.top() - Gap - size.height()}, main.top() - room.top() - Gap, size.height()},
    }};
    // The other tool windows open beside the main window: a new one goes
    // where none of them is, after them along its side, so that none hides
    // another.
    std::vector<QRect> others;
    for (const QWidget* w : mainWindow->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w != window && w->isWindow() && w->isVisible())
            others.push_back(w->frameGeometry());
    }
    const auto freeAt = [&](QPoint at) {
        const QRect r(at, size);
        return room.contains(r) && std::none_of(others.begin(), others.end(), [&](const QRect& o) {
                   return o.intersects(r);
               });
    };
    for (size_t i = 0; i < sides.size(); ++i) {
        if (sides[i].space < sides[i].needed)
            continue;
        const bool across = i < 2;
        std::vector<QPoint> tries{sides[i].at};
        for (const QRect& o : others)
            tries.push_back(across ? QPoint(sides[i].at.x(), o.bottom() + Gap) : QPoint(o.right() + Gap, sides[i].at.y()));
        std::sort(tries.begin() + 1, tries.end(), [across](QPoint a, QPoint b) { return across ? a.y() < b.y() : a.x() < b.x(); });
        for (const QPoint at : tries) {
            if (freeAt(at)) {
                window->move(at);
                return;
            }
        }
    }
    for (const Side& side : sides) {
        if (side.space >= side.needed) {
            window->move(side.at);
            return;
        }
    }
    // A side with room for the window made smaller, no smaller than it can
    // be shown: there, at the room's size.
    const QSize smallest = window->minimumSizeHint().expandedTo(window->minimumSize()).expandedTo(QSize(120, 80));
    for (size_t i = 0; i < sides.size(); ++i) {
        const bool across = i < 2;  // right or left: the width gives way
        const int least = across ? smallest.width() : smallest.height();
        if (sides[i].space < least)
            continue;
        const QSize frame = size - window->size();
        if (across)
            window->resize(sides[i].space - frame.width(), window->height());
        else
            window->resize(window->width(), sides[i].space - frame.height());
        window->move(i == 1 ? main.left() - Gap - sides[i].space : sides[i].at.x(),
                     i == 3 ? main.top() - Gap - sides[i].space : sides[i].at.y());
        return;
    }
    // No side has room: the one with the most, the window kept on the screen.
    const auto widest = std::max_element(sides.begin(), sides.end(), [](const Side& a, const Side& b) {
        return a.space - a.needed < b.space - b.needed;
    });
    const int x = std::clamp(widest->at.x(), room.left(), std::max(room.left(), room.right() - size.width()));
    const int y = std::clamp(widest->at.y(), room.top(), std::max(room.top(), room.bottom() - size.height()));
    window->move(x, y);
}

}  // namespace dorvelix
