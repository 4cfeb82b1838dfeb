#include "folder_contents_model.h"

#include "answer_wording.h"
#include "chooser_texts.h"
#include "file_query.h"
#include "folder_scan.h"
#include "text.h"
#include "ui_text.h"

#include <QApplication>
#include <QStyle>
#include <algorithm>

namespace dorvelix {

namespace {

bool isContainer(ListedKind kind)
{
    return kind == ListedKind::Folder || kind == ListedKind::Drive;
}

QIcon iconOf(ListedKind kind)
{
    QStyle* style = QApplication::style();
    switch (kind) {
    case ListedKind::Folder: return style->standardIcon(QStyle::SP_DirIcon);
    case ListedKind::Drive: return style->standardIcon(QStyle::SP_DriveHDIcon);
    case ListedKind::Link: return style->standardIcon(QStyle::SP_FileLinkIcon);
    case ListedKind::File:
    case ListedKind::Special: break;
    }
    return style->standardIcon(QStyle::SP_FileIcon);
}

}  // namespace

void FolderContentsModel::setListing(FolderListing listing)
{
    beginResetModel();
    listing_ = std::move(listing);
    rebuildRows();
    endResetModel();
}

void FolderContentsModel::setShown(Shown shown)
{
    beginResetModel();
    shown_ = std::move(shown);
    rebuildRows();
    endResetModel();
}

void FolderContentsModel::clear()
{
    setListing({});
}

int FolderContentsModel::rowOf(const std::string& name) const
{
    for (size_t row = 0; row < rows_.size(); ++row) {
        if (listing_.entries[rows_[row]].name == name)
            return static_cast<int>(row);
    }
    return -1;
}

void FolderContentsModel::rebuildRows()
{
    rows_.clear();
    for (size_t i = 0; i < listing_.entries.size(); ++i) {
        const ListedEntry& e = listing_.entries[i];
        if (!shown_.hidden && e.name.starts_with('.'))
            continue;
        if (e.kind == ListedKind::File || e.kind == ListedKind::Special) {
            if (!shown_.files)
                continue;
            const QString name = displayText(e.name);
            if (!shown_.suffixes.isEmpty() && std::none_of(shown_.suffixes.begin(), shown_.suffixes.end(), [&](const QString& s) {
                    return name.endsWith(s, Qt::CaseInsensitive);
                }))
                continue;
        }
        rows_.push_back(i);
    }
    // Folders and drives first whichever way the user sorts; within each
    // group by the column, names in the program's list order.
    const auto nameLess = [this](size_t a, size_t b) {
        return listOrderLess(listing_.entries[a].name, listing_.entries[b].name);
    };
    const auto less = [&](size_t a, size_t b) {
        const ListedEntry& x = listing_.entries[a];
        const ListedEntry& y = listing_.entries[b];
        if (isContainer(x.kind) != isContainer(y.kind))
            return isContainer(x.kind);
        const auto ordered = [&](auto p, auto q) {
            if (p != q)
                return sortOrder_ == Qt::AscendingOrder ? p < q : q < p;
            return sortOrder_ == Qt::AscendingOrder ? nameLess(a, b) : nameLess(b, a);
        };
        switch (sortColumn_) {
        case Size: return ordered(x.length, y.length);
        case Kind: return ordered(static_cast<int>(x.kind), static_cast<int>(y.kind));
        case Modified: return ordered(x.modifiedMs, y.modifiedMs);
        default: return sortOrder_ == Qt::AscendingOrder ? nameLess(a, b) : nameLess(b, a);
        }
    };
    std::stable_sort(rows_.begin(), rows_.end(), less);
}

int FolderContentsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int FolderContentsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FolderContentsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const ListedEntry& e = entry(index.row());
    if (role == Qt::DecorationRole && index.column() == Name)
        return iconOf(e.kind);
    if (role == Qt::TextAlignmentRole && index.column() == Size)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    switch (index.column()) {
    case Name: return displayText(e.name);
    case Size: return e.length < 0 ? QString() : uiText(chooser_text::Bytes).arg(figureText(e.length));
    case Kind: return uiText(chooser_text::Kinds[static_cast<int>(e.kind)]);
    case Modified: return e.modifiedMs == ListedEntry::NoTime ? QString() : dateTimeText(e.modifiedMs);
    default: return {};
    }
}

QVariant FolderContentsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return {};
    return uiText(chooser_text::Columns[section]);
}

void FolderContentsModel::sort(int column, Qt::SortOrder order)
{
    beginResetModel();
    sortColumn_ = column;
    sortOrder_ = order;
    rebuildRows();
    endResetModel();
}

}  // namespace dorvelix
