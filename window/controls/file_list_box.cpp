#include "file_list_box.h"

#include "text.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>

namespace dorvelix {

FileListBox::FileListBox(FileList& list, QWidget* parent) : QListWidget(parent), list_(list)
{
    setObjectName(QStringLiteral("fileListBox"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) { list_.listIndex = row; });
}

void FileListBox::refresh()
{
    if (list_.scan() == shown_ && count() == list_.listCount())
        return;
    shown_ = list_.scan();
    const QSignalBlocker block(this);
    clear();
    QStringList names;
    names.reserve(list_.listCount());
    for (int i = 0; i < list_.listCount(); ++i)
        names.push_back(displayText(list_.list(i)));
    addItems(names);
    if (list_.listIndex >= 0 && list_.listIndex < count())
        setCurrentRow(list_.listIndex);
}

void FileListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListWidgetItem* item = itemAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !item)
        return;
    setCurrentItem(item);
    emit dblClick();
}

void FileListBox::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        emit dblClick();
        return;
    }
    QListWidget::keyPressEvent(event);
}

}  // namespace dorvelix
