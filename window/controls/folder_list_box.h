// The folder list: the visible folder list. It shows the open folder's ancestors from
// its drive's root down to the open folder (open-folder icons, each indented
// one step more), then the open folder's subfolders (closed-folder icons,
// indented one step more still). A double-click, or Enter, on any entry
// asks for it to be opened (openRequested); the session moves the list.
#pragma once

#include "lists.h"

#include <QAccessible>
#include <QTreeWidget>
#include <memory>
#include <string>

namespace dorvelix {

class FolderListBox : public QTreeWidget {
    Q_OBJECT
public:
    explicit FolderListBox(const FolderList& list, QWidget* parent = nullptr);

    const FolderList& list() const { return list_; }
    // Shows the list's present contents (nothing happens when they are the
    // ones already shown).
    void refresh();
    // Opens the folder of an entry as a double-click does.
    void open(QTreeWidgetItem* item);
    // Asks for a folder to be opened by its path as a double-click on its
    // entry does.
    void openPath(const std::string& path);
    // The folder path of an entry (exact bytes).
    static std::string pathOf(const QTreeWidgetItem* item);
    // The entry showing the open folder.
    QTreeWidgetItem* openFolderItem() const { return openItem_; }

signals:
    void keyDown(int keyCode, int shift);
    void keyUp(int keyCode, int shift);
    // button: 1 left, 2 right, 4 middle; x and y in twips inside the list.
    void mouseDown(int button, int shift, int x, int y);
    // A double-click, Enter or a tool window asks for folder path (exact
    // bytes) to be opened.
    void openRequested(const std::string& path);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Tell a screen reader of the current and the selected entry by their
    // place among the entries alone (Qt's tree counts its hidden header).
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    // The entries are indented, not drawn as a tree: no branch marks.
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}

private:
    void fitToFont();
    void showOpenFolder();
    void announce(QAccessible::Event event, const QModelIndex& index);

    const FolderList& list_;
    std::shared_ptr<const FolderScan> shown_;
    QTreeWidgetItem* openItem_ = nullptr;
};

}  // namespace dorvelix
