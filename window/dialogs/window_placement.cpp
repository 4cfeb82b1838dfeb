#include "window_placement.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace dorvelix {

namespace {

constexpr int Gap = 8;
// How far a window that must cover another moves off its corner: enough
// to leave that one's title bar in view.
constexpr int Cascade = 32;
constexpr const char* KeptUncovered = "keptUncovered";

QRect setRoom;

long long area(const QRect& r)
{
    return r.isValid() ? static_cast<long long>(r.width()) * r.height() : 0;
}

// The controls of main kept uncovered, as one rectangle on the screen.
QRect keptArea(const QWidget* main)
{
    QRect kept;
    for (const QWidget* w : main->findChildren<QWidget*>()) {
        if (w->property(KeptUncovered).toBool() && w->isVisibleTo(main))
            kept |= QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
    }
    return kept;
}

// The other shown windows of main: its tool windows and theirs.
std::vector<QRect> otherWindows(const QWidget* window, const QWidget* main)
{
    std::vector<QRect> others;
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = w->windowType();
        if (w == window || w == main || !w->isVisible() || type == Qt::Popup || type == Qt::ToolTip)
            continue;
        if (mainWindowOf(w) == main)
            others.push_back(w->frameGeometry());
    }
    return others;
}

struct Placing {
    QRect room, main, kept;
    std::vector<QRect> others;

    bool freeOfOthers(const QRect& r) const
    {
        return std::none_of(others.begin(), others.end(), [&](const QRect& o) { return o.intersects(r); });
    }

    // Where a window of size covers least of the main window (and, when it
    // may cover other tool windows, of them) and none of what the main
    // window keeps uncovered, on the screen; nearest the main window among
    // equals.
    std::optional<QPoint> overMain(QSize size, bool avoidOthers) const
    {
        const int w = size.width(), h = size.height();
        std::vector<int> xs{room.left(), room.right() + 1 - w, main.left(), main.right() + 1 - w,
                            main.right() + 1 + Gap, main.left() - Gap - w};
        std::vector<int> ys{room.top(), room.bottom() + 1 - h, main.top(), main.bottom() + 1 - h,
                            main.bottom() + 1 + Gap, main.top() - Gap - h};
        if (kept.isValid()) {
            xs.insert(xs.end(), {kept.left() - Gap - w, kept.right() + 1 + Gap});
            ys.insert(ys.end(), {kept.top() - Gap - h, kept.bottom() + 1 + Gap});
        }
        for (const QRect& o : others) {
            xs.insert(xs.end(), {o.right() + 1 + Gap, o.left() - Gap - w, o.left() + Cascade});
            ys.insert(ys.end(), {o.bottom() + 1 + Gap, o.top() - Gap - h, o.top() + Cascade});
        }
        std::optional<QPoint> best;
        long long bestCover = 0;
        int bestDistance = 0;
        for (const int x : xs) {
            for (const int y : ys) {
                const QRect r(x, y, w, h);
                if (!room.contains(r) || r.intersects(kept) || (avoidOthers && !freeOfOthers(r)))
                    continue;
                // A window on another's very spot would hide all of it.
                if (std::any_of(others.begin(), others.end(), [&](const QRect& o) { return o.topLeft() == r.topLeft(); }))
                    continue;
                // Where others cannot be avoided, as little of them too.
                long long cover = area(r & main);
                if (!avoidOthers) {
                    for (const QRect& o : others)
                        cover += area(r & o);
                }
                const int distance = std::max({0, main.left() - r.right(), r.left() - main.right()})
                    + std::max({0, main.top() - r.bottom(), r.top() - main.bottom()});
                if (!best || cover < bestCover || (cover == bestCover && distance < bestDistance)) {
                    best = QPoint(x, y);
                    bestCover = cover;
                    bestDistance = distance;
                }
            }
        }
        return best;
    }
};

}  // namespace

void keepUncovered(QWidget* control)
{
    control->setProperty(KeptUncovered, true);
}

QRect placementRoom(const QWidget* window)
{
    if (setRoom.isValid())
        return setRoom;
    const QScreen* screen = window ? window->screen() : nullptr;
    if (!screen)
        screen = QApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

void placeWithin(const QRect& room)
{
    setRoom = room;
}

const QWidget* mainWindowOf(const QWidget* window)
{
    const QWidget* main = window;
    while (main && main->parentWidget())
        main = main->parentWidget()->window();
    return main;
}

void placeBeside(QWidget* window, const QWidget* mainWindow)
{
    Placing p{placementRoom(mainWindow), mainWindow->frameGeometry(), keptArea(mainWindow),
              otherWindows(window, mainWindow)};
    const QRect& room = p.room;
    const QRect& main = p.main;
    // A window not shown yet grows to what its layout needs when it is.
    window->resize(window->size().expandedTo(window->minimumSizeHint()));
    // The window's frame adds to its size once it has been shown; before,
    // it will be as large as the main window's.
    const QWidget* framed = window->testAttribute(Qt::WA_WState_Created) ? window : mainWindow;
    const QSize frame = (framed->frameGeometry().size() - framed->size()).expandedTo(QSize(0, 0));
    // Never larger than the screen.
    window->resize(window->size().boundedTo(room.size() - frame));
    const QSize size = window->size() + frame;
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
    // A new tool window goes where none of the others is, after them along
    // its side, so that none hides another.
    const std::vector<QRect>& others = p.others;
    const auto freeAt = [&](QPoint at) {
        const QRect r(at, size);
        return room.contains(r) && p.freeOfOthers(r);
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
    // No side has room: over the main window where it matters least.
    if (const auto at = p.overMain(size, true)) {
        window->move(*at);
        return;
    }
    // Else made smaller, no smaller than it can be shown: as high (or else
    // as wide; its table needs the width more) as the largest strip of the
    // screen beside the main window or beside what it keeps uncovered, where
    // it covers no other tool window; else at its size where it covers least
    // of the main window and the others together, so that one that must
    // cover another leaves as much of it in view as it can; else smaller
    // there.
    const QSize smallest = window->minimumSizeHint().expandedTo(window->minimumSize()).expandedTo(QSize(120, 80)) + frame;
    const QRect around = p.kept.isValid() ? p.kept : main;
    const int leftRoom = around.left() - room.left() - Gap;
    const int rightRoom = room.right() - around.right() - Gap;
    const int downRoom = std::max(around.top() - room.top(), room.bottom() - around.bottom()) - Gap;
    const QSize lower(size.width(), std::min(size.height(), downRoom));
    // As wide as the wider strip beside them, else as the other, which
    // another tool window may have left free, where that takes no more than
    // a quarter of the window's width (a chart and a table beside it would
    // have room for neither).
    const QSize narrower(std::min(size.width(), std::max(leftRoom, rightRoom)), size.height());
    const int otherStrip = std::min(size.width(), std::min(leftRoom, rightRoom));
    const QSize narrowest(otherStrip * 4 >= size.width() * 3 ? otherStrip : 0, size.height());
    const auto placeSmaller = [&](bool avoidOthers) {
        for (const QSize smaller : {lower, narrower, narrowest}) {
            if (smaller.width() < smallest.width() || smaller.height() < smallest.height())
                continue;
            if (const auto at = p.overMain(smaller, avoidOthers)) {
                window->resize(smaller - frame);
                window->move(*at);
                return true;
            }
        }
        return false;
    };
    if (placeSmaller(true))
        return;
    if (const auto at = p.overMain(size, false)) {
        window->move(*at);
        return;
    }
    if (placeSmaller(false))
        return;
    // No side has room: the one with the most, the window kept on the screen.
    const auto widest = std::max_element(sides.begin(), sides.end(), [](const Side& a, const Side& b) {
        return a.space - a.needed < b.space - b.needed;
    });
    const int x = std::clamp(widest->at.x(), room.left(), std::max(room.left(), room.right() - size.width()));
    const int y = std::clamp(widest->at.y(), room.top(), std::max(room.top(), room.bottom() - size.height()));
    window->move(x, y);
}

void placeAgainIfInTheWay(QWidget* window, const QRect& wasAt)
{
    const QWidget* main = mainWindowOf(window);
    if (!window->isVisible() || !main || main == window)
        return;
    const QRect now = window->frameGeometry();
    const QRect mainAt = main->frameGeometry();
    if (!placementRoom(main).contains(now) || now.intersects(keptArea(main))
        || (now.intersects(mainAt) && !wasAt.intersects(mainAt)))
        placeBeside(window, main);
}

}  // namespace dorvelix
