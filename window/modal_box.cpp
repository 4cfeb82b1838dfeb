#include "modal_box.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QWindow>
#include <vector>

namespace dorvelix {

namespace {

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

// Lets user input through to the newest open box only. Close events are not
// input: they reach every window.
class InputGuard : public QObject {
public:
    std::vector<QPointer<QDialog>> boxes;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (boxes.empty() || !isUserInput(event->type()))
            return false;
        const QDialog* top = boxes.back();
        if (!top)
            return false;
        if (const auto* widget = qobject_cast<const QWidget*>(watched))
            return widget->window() != top;
        if (const auto* window = qobject_cast<const QWindow*>(watched))
            return window != top->windowHandle();
        // Shortcuts go to actions and shortcut objects of other windows.
        return event->type() == QEvent::Shortcut || event->type() == QEvent::ShortcutOverride;
    }
};

InputGuard& guard()
{
    static auto* g = [] {
        auto* created = new InputGuard;
        qApp->installEventFilter(created);
        return created;
    }();
    return *g;
}

}  // namespace

int runModalBox(QDialog& box)
{
    InputGuard& g = guard();
    box.setWindowModality(Qt::NonModal);
    g.boxes.emplace_back(&box);
    QEventLoop loop;
    QObject::connect(&box, &QDialog::finished, &loop, &QEventLoop::quit);
    box.show();
    box.raise();
    box.activateWindow();
    if (box.isVisible())
        loop.exec(QEventLoop::DialogExec);
    std::erase_if(g.boxes, [&](const QPointer<QDialog>& b) { return !b || b == &box; });
    return box.result();
}

int openModalBoxes()
{
    return static_cast<int>(guard().boxes.size());
}

}  // namespace dorvelix
