#include "qt_window_services.h"

#include <QApplication>
#include <QMessageBox>

namespace dorvelix {

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
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(QMessageBox::NoIcon, title.isEmpty() ? QString::fromUtf8(ApplicationTitle) : title, shown,
                    QMessageBox::Ok, window_);
    box.setTextFormat(Qt::PlainText);
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

void QtWindowServices::processEvents()
{
    QApplication::processEvents();
}

}  // namespace dorvelix
