// The file list: the visible file list, showing the file names of the folder its
// FileList was last pointed at. The selection is the list's selected entry;
// a double-click (or Enter) on an entry raises dblClick().
#pragma once

#include "lists.h"

#include <QListWidget>
#include <memory>

namespace dorvelix {

class FileListBox : public QListWidget {
    Q_OBJECT
public:
    explicit FileListBox(FileList& list, QWidget* parent = nullptr);

    FileList& list() { return list_; }
    // Shows the list's present contents (nothing happens when they are the
    // ones already shown).
    void refresh();

signals:
    void dblClick();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    FileList& list_;
    std::shared_ptr<const FolderScan> shown_;
};

}  // namespace dorvelix
