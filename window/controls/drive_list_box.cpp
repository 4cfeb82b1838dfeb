#include "drive_list_box.h"

#include "modifier_mask.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QSignalBlocker>

namespace dorvelix {

DriveListBox::DriveListBox(QWidget* parent) : QComboBox(parent)
{
    setObjectName(QStringLiteral("driveListBox"));
    setEditable(false);
    connect(this, &QComboBox::currentIndexChanged, this, &DriveListBox::indexChanged);
}

void DriveListBox::setDrives(const std::vector<DriveEntry>& drives, int current)
{
    const QSignalBlocker block(this);
    clear();
    for (const DriveEntry& d : drives)
        addItem(d.text());
    setCurrentIndex(current);
    shown_ = currentIndex();
}

void DriveListBox::indexChanged(int index)
{
    if (index == shown_)
        return;
    previous_ = shown_;
    shown_ = index;
    emit change();
}

void DriveListBox::putBack()
{
    const QSignalBlocker block(this);
    // The drive shown before the refused change.
    shown_ = previous_;
    setCurrentIndex(shown_);
}

void DriveListBox::keyPressEvent(QKeyEvent* event)
{
    emit keyDown(event->key(), keyModifierMask(*event));
    QComboBox::keyPressEvent(event);
}

void DriveListBox::keyReleaseEvent(QKeyEvent* event)
{
    emit keyUp(event->key(), keyModifierMask(*event));
    QComboBox::keyReleaseEvent(event);
}

}  // namespace dorvelix

namespace dorvelix {

void DriveListBox::changeEvent(QEvent* event)
{
    // The drop-down shows the drives in the list's own face and size.
    if (event->type() == QEvent::FontChange && view())
        view()->setFont(font());
    QComboBox::changeEvent(event);
}

}  // namespace dorvelix
