#include "file_list_box.h"

#include "text.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>

namespace dorvelix {

int FileNamesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

QVariant FileNamesModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows_ || index.row() >= list_.listCount())
        return {};
    return displayText(list_.list(index.row()));
}

void FileNamesModel::reset()
{
    beginResetModel();
    rows_ = list_.listCount();
    endResetModel();
}

FileListBox::FileListBox(FileList& list, QWidget* parent)
    : QListView(parent), list_(list), model_(new FileNamesModel(list, this))
{
    setObjectName(QStringLiteral("fileListBox"));
    setModel(model_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { list_.listIndex = current.row(); });
}

void FileListBox::refresh()
{
    if (list_.scan() == shown_ && count() == list_.listCount())
        return;
    shown_ = list_.scan();
    const QSignalBlocker block(selectionModel());
    model_->reset();
    if (list_.listIndex >= 0 && list_.listIndex < count())
        setCurrentRow(list_.listIndex);
}

QString FileListBox::text(int row) const
{
    return model_->index(row).data().toString();
}

void FileListBox::setCurrentRow(int row)
{
    setCurrentIndex(model_->index(row));
}

void FileListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !index.isValid())
        return;
    setCurrentIndex(index);
    emit dblClick();
}

void FileListBox::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid()) {
        emit dblClick();
        return;
    }
    QListView::keyPressEvent(event);
}

}  // namespace dorvelix
