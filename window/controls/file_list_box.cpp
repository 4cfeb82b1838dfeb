#include "file_list_box.h"

#include "text.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <thread>

namespace dorvelix {

namespace {

// From how many files the names are sorted on another thread.
constexpr int SortApartFrom = 5000;

}  // namespace

int FileNamesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

QVariant FileNamesModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows_ || index.row() >= list_.listCount())
        return {};
    // A blank row as tall as a name until the names are sorted.
    if (sorting_)
        return QStringLiteral(" ");
    return displayText(list_.list(index.row()));
}

void FileNamesModel::reset(bool sorting)
{
    beginResetModel();
    rows_ = list_.listCount();
    sorting_ = sorting;
    endResetModel();
}

void FileNamesModel::sorted()
{
    sorting_ = false;
    if (rows_ > 0)
        emit dataChanged(index(0), index(rows_ - 1), {Qt::DisplayRole});
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
    sortWatch_.setInterval(20);
    connect(&sortWatch_, &QTimer::timeout, this, [this] {
        if (shown_ && !shown_->filesSorted())
            return;
        sortWatch_.stop();
        model_->sorted();
    });
}

void FileListBox::refresh()
{
    if (list_.scan() == shown_ && count() == list_.listCount())
        return;
    shown_ = list_.scan();
    // Sorting a few thousand names takes no time to speak of; a wide
    // folder's are sorted on a thread of their own (a walk's threads may be
    // at it already: the folder sorts once, and a thread that asks meanwhile
    // waits for it). The sort touches no drive.
    const bool sortApart = shown_ && list_.listCount() > SortApartFrom && !shown_->filesSorted();
    if (sortApart) {
        std::thread([scan = shown_] { scan->filesInListOrder(); }).detach();
        sortWatch_.start();
    } else {
        sortWatch_.stop();
    }
    const QSignalBlocker block(selectionModel());
    model_->reset(sortApart);
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
