#include "modal_box.h"

#include <QApplication>
#include <QEventLoop>
#include <QMouseEvent>
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

private:
    static QWidget* widgetOf(const QWindow* window)
    {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->windowHandle() == window)
                return w;
        }
        return nullptr;
    }

    // The box comes to the front, and the control's window hears that its
    // input was held back.
    static void tellHeld(QWidget* widget, QDialog* box)
    {
        box->raise();
        box->activateWindow();
        HeldInputEvent held(widget);
        QCoreApplication::sendEvent(widget->window(), &held);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (boxes.empty() || !isUserInput(event->type()))
            return false;
        QDialog* top = boxes.back();
        if (!top)
            return false;
        if (auto* widget = qobject_cast<QWidget*>(watched)) {
            if (widget->window() == top)
                return false;
            if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress)
                tellHeld(widget, top);
            return true;
        }
        if (auto* window = qobject_cast<QWindow*>(watched)) {
            if (window == top->windowHandle())
                return false;
            // The window system's click reaches the window before any control.
            if (event->type() == QEvent::MouseButtonPress) {
                if (QWidget* root = widgetOf(window)) {
                    QWidget* target = root->childAt(static_cast<QMouseEvent*>(event)->position().toPoint());
                    tellHeld(target ? target : root, top);
                }
            }
            return true;
        }
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

void openModalBox(QDialog* box, std::function<void(int result)> finished)
{
    InputGuard& g = guard();
    box->setWindowModality(Qt::NonModal);
    g.boxes.emplace_back(box);
    QObject::connect(box, &QDialog::finished, box, [box, finished = std::move(finished)](int result) {
        std::erase_if(guard().boxes, [&](const QPointer<QDialog>& b) { return !b || b == box; });
        box->deleteLater();
        finished(result);
    });
    box->show();
    box->raise();
    box->activateWindow();
}

QEvent::Type HeldInputEvent::eventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

int openModalBoxes()
{
    return static_cast<int>(guard().boxes.size());
}

void closeModalBoxes()
{
    const std::vector<QPointer<QDialog>> boxes = guard().boxes;
    for (auto box = boxes.rbegin(); box != boxes.rend(); ++box) {
        if (*box)
            (*box)->reject();
    }
}

}  // namespace dorvelix
