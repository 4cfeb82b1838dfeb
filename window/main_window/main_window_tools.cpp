// The main window's tools menu entries of its own, the search log and the
// refresh (F5), and the names a screen reader hears for its controls.
#include "main_window.h"

#include "accessible_lists.h"
#include "accessible_names.h"
#include "convert_length.h"
#include "messages.h"
#include "runtime_error.h"
#include "text.h"
#include "tool_windows.h"
#include "ui_text.h"
#include "window_texts.h"
#include "paths.h"

#include <QMenuBar>
#include <algorithm>

namespace dorvelix {

void MainWindow::addRefreshItem()
{
    // The last search's log, at any time (empty before the first search).
    logEntry_ = tools_->menu()->addAction(uiText(texts::LogItem));
    logEntry_->setObjectName(QStringLiteral("logItem"));
    connect(logEntry_, &QAction::triggered, this, [this] { services_.showSearchLog(); });

    refreshEntry_ = tools_->menu()->addAction(uiText(texts::RefreshItem));
    refreshEntry_->setObjectName(QStringLiteral("refreshItem"));
    refreshEntry_->setShortcut(QKeySequence(Qt::Key_F5));
    // F5 in every window of the program: the tool windows, the search log.
    refreshEntry_->setShortcutContext(Qt::ApplicationShortcut);
    connect(refreshEntry_, &QAction::triggered, this, &MainWindow::refresh);

    // F10 opens the menu bar from any control, as on other desktops.
    auto* menus = new QAction(this);
    menus->setObjectName(QStringLiteral("menuBarKey"));
    menus->setShortcut(QKeySequence(Qt::Key_F10));
    menus->setShortcutContext(Qt::WindowShortcut);
    connect(menus, &QAction::triggered, this, [this] {
        if (!menuBar()->actions().isEmpty())
            menuBar()->setActiveAction(menuBar()->actions().first());
    });
    addAction(menus);
}

void MainWindow::refresh()
{
    if (session_.isSearching())
        return;
    followMountTable();
    // The drive's figures again; a conversion length the user picked stays.
    const std::int32_t picked = form_.convertLength;
    showDriveInfo(driveListBox_->drive());
    if (form_.convertLength != picked && convertIndexOf(picked) >= 0)
        pickConvertLength(convertIndexOf(picked));

    // The open folder read again (which searches it, as a double-click
    // does); should it be gone, the nearest folder above it that opens.
    if (const auto failed = session_.reopenFolder()) {
        folderListBox_->refresh();
        services_.messageBox(pathErrorMessage(failed->error, displayText(failed->folder)));
    }
}

void MainWindow::nameControls()
{
    installListAccessibility();
    for (const BoxDesign& d : BoxDesigns)
        valueBox(d.box)->setAccessibleName(valueBoxName(d.box));
    searchLamp_->setAccessibleName(uiText(texts::LampName));
    searchLamp_->setAccessibleDescription(lampDescription(false));
    usageGraph_->setAccessibleName(uiText(texts::GraphName));
    usageGraph_->setAccessibleDescription(usageGraphDescription(form_));
    driveListBox_->setAccessibleName(uiText(texts::DriveListName));
    folderListBox_->setAccessibleName(uiText(texts::FolderListName));
    fileListBox_->setAccessibleName(uiText(texts::FileListName));
}

void MainWindow::orderTabs()
{
    // The figures, read-only, are reached by Tab in reading order: the drive
    // panel's, then the folder panel's, each row from the left; after them
    // the lists as before.
    std::vector<ValueBox*> drive, folder;
    for (const BoxDesign& d : BoxDesigns) {
        ValueBox* b = valueBox(d.box);
        b->setFocusPolicy(Qt::StrongFocus);
        (d.folderPanel ? folder : drive).push_back(b);
    }
    // A box that stands between two rows (a section's cluster length beside
    // its first figures) is read with the row it is nearer to, left first:
    // boxes whose tops lie within half a box's height of a row's first top
    // make that row.
    const auto readingOrder = [](std::vector<ValueBox*>& boxes) {
        std::stable_sort(boxes.begin(), boxes.end(), [](const QWidget* a, const QWidget* b) { return a->y() < b->y(); });
        for (auto row = boxes.begin(); row != boxes.end();) {
            const int top = (*row)->y();
            const int reach = (*row)->height() / 2;
            const auto end = std::find_if(row, boxes.end(), [&](const QWidget* b) { return b->y() > top + reach; });
            std::stable_sort(row, end, [](const QWidget* a, const QWidget* b) { return a->x() < b->x(); });
            row = end;
        }
    };
    readingOrder(drive);
    readingOrder(folder);
    std::vector<QWidget*> chain{folderListBox_, fileListBox_, driveListBox_};
    chain.insert(chain.end(), drive.begin(), drive.end());
    chain.insert(chain.end(), folder.begin(), folder.end());
    for (size_t k = 0; k + 1 < chain.size(); ++k)
        setTabOrder(chain[k], chain[k + 1]);
    // The window opens with the drive list's focus, as it always has.
    if (!focusWidget())
        driveListBox_->setFocus();
}

}  // namespace dorvelix
