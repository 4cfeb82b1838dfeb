// The entries of one folder listing as the file chooser's view shows them:
// name, size, kind and time, folders and drives before files, each group
// ordered by the column the user sorts by. It holds typed entries and
// formats them only for display, so that sorting by size or time sorts by
// the figure, not by its text.
#pragma once

#include "folder_listing.h"

#include <QAbstractTableModel>
#include <QString>
#include <vector>

namespace dorvelix {

class FolderContentsModel : public QAbstractTableModel {
public:
    enum Column { Name, Size, Kind, Modified, ColumnCount };
    // What the view lists: every folder, drive and link; files only when
    // filesShown, and then only those whose names end with one of suffixes
    // (all of them when suffixes is empty); names starting with "." only when
    // hiddenShown.
    struct Shown {
        bool files = true;
        bool hidden = false;
        QStringList suffixes;
    };

    explicit FolderContentsModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    void setListing(FolderListing listing);
    void setShown(Shown shown);
    void clear();
    const FolderListing& listing() const { return listing_; }
    // The entry a row shows.
    const ListedEntry& entry(int row) const { return listing_.entries[rows_[static_cast<size_t>(row)]]; }
    // The row of the entry named name (its exact bytes), -1 when none shows it.
    int rowOf(const std::string& name) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

private:
    void rebuildRows();
    FolderListing listing_;
    Shown shown_;
    std::vector<size_t> rows_;  // indices into listing_.entries, in the order shown
    int sortColumn_ = Name;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

}  // namespace dorvelix
