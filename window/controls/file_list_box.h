// The file list: the visible file list, showing the file names of the folder its
// FileList was last pointed at. The selection is the list's selected entry;
// a double-click (or Enter) on an entry raises dblClick(). The names come from
// the list as the view asks for the rows it shows, so a folder of hundreds of
// thousands of files costs no widget per file, and a wide folder's names are
// sorted on another thread while the window goes on painting.
#pragma once

#include "lists.h"

#include <QAbstractListModel>
#include <QListView>
#include <QTimer>
#include <memory>

namespace dorvelix {

// The FileList's names as rows, read when the view asks for them.
class FileNamesModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit FileNamesModel(FileList& list, QObject* parent = nullptr) : QAbstractListModel(parent), list_(list) {}
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // The list's present contents are shown from now on; while sorting
    // their names is still under way, as blank rows.
    void reset(bool sorting);
    // The names are sorted: the rows show them.
    void sorted();

private:
    FileList& list_;
    int rows_ = 0;
    bool sorting_ = false;
};

class FileListBox : public QListView {
    Q_OBJECT
public:
    explicit FileListBox(FileList& list, QWidget* parent = nullptr);

    FileList& list() { return list_; }
    // Shows the list's present contents (nothing happens when they are the
    // ones already shown).
    void refresh();
    // The rows shown, a row's text, and the selected row (-1 for none).
    int count() const { return model_->rowCount(); }
    QString text(int row) const;
    int currentRow() const { return currentIndex().row(); }
    void setCurrentRow(int row);

signals:
    void dblClick();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    FileList& list_;
    FileNamesModel* model_;
    std::shared_ptr<const FolderScan> shown_;
    // Looks whether a wide folder's names, sorted on another thread, are ready.
    QTimer sortWatch_;
};

}  // namespace dorvelix
