#include "qt_window_services.h"

#include "text.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <algorithm>

namespace dorvelix {

namespace {

// A message box breaks lines wider than half the screen, which tears the
// help texts' indented lines and example path apart. The text is given the
// width of its widest line instead, as far as the screen allows.
void keepLinesWhole(QMessageBox& box, const QString& text)
{
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label)
        return;
    label->ensurePolished();
    const QFontMetrics metrics(label->font());
    int widest = 0;
    for (const QString& line : text.split(u'\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const QScreen* screen = box.screen();
    const int room = screen ? screen->availableGeometry().width() * 9 / 10 : widest;
    label->setMinimumWidth(std::min(widest + 2 * metrics.averageCharWidth(), room));
}

}  // namespace

QtWindowServices::~QtWindowServices()
{
    setMousePointer(DefaultPointer);
}

void QtWindowServices::messageBox(const QString& text, const QString& title)
{
    if (onMessageBox) {
        onMessageBox(text, title);
        return;
    }
    QString shown = text;
    shown.replace(CrLf, QStringLiteral("\n"));
    QMessageBox box(QMessageBox::NoIcon, title.isEmpty() ? QString::fromUtf8(ApplicationTitle) : title, shown,
                    QMessageBox::Ok, window_);
    box.setTextFormat(Qt::PlainText);
    keepLinesWhole(box, shown);
    // The box itself shows the ordinary pointer even while a search is busy.
    if (busy_)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (busy_)
        QApplication::restoreOverrideCursor();
}

void QtWindowServices::beep()
{
    QApplication::beep();
}

void QtWindowServices::setMousePointer(int pointer)
{
    const bool busy = pointer == BusyPointer;
    if (busy == busy_)
        return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

namespace {

// Repaints asked for by the events just processed (a timer's update(), an
// expose) are done now rather than at the next call, which inside a search
// may be 50 ms away.
void paintRequestedNow()
{
    QApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

}  // namespace

void QtWindowServices::processEvents()
{
    QApplication::processEvents();
    paintRequestedNow();
}

void QtWindowServices::processPaintEvents()
{
    QApplication::processEvents(inputDuringSearch ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    paintRequestedNow();
}

}  // namespace dorvelix
