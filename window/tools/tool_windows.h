// The tools menu "ツール(&T)" at the end of the main window's menu bar, the
// same entries in the folder list's context menu, and the windows they open:
// the subfolder breakdown and the copy check. Also hangs the search's
// progress window on the folder search. A client of the session, as the
// main window is: it follows the session's searches and opens folders
// through the folder list.
#pragma once

#include "breakdown_window.h"
#include "copy_check_dialog.h"
#include "lengths_window.h"
#include "session.h"

#include <QObject>
#include <QPointer>
#include <string>

class QAction;
class QMainWindow;
class QMenu;
class QPoint;

namespace dorvelix {

class FolderListBox;
class SearchProgressWindow;

class ToolWindows : public QObject, public SessionObserver {
    Q_OBJECT
public:
    // Hangs its menu on window's menu bar and its context menu on the folder
    // list; services shows its message boxes.
    ToolWindows(QMainWindow& window, Session& session, FolderListBox& folderList, WindowServices& services);
    ~ToolWindows() override;

    // The menu; further entries may be appended to it.
    QMenu* menu() const { return menu_; }
    QAction* breakdownEntry() const { return breakdownEntry_; }
    QAction* copyCheckEntry() const { return copyCheckEntry_; }
    QAction* lengthsEntry() const { return lengthsEntry_; }
    // The folder list's context menu, and the folder its entries act on.
    QMenu* contextMenu() const { return contextMenu_; }
    const std::string& contextFolder() const { return contextFolder_; }

    // Null until first opened.
    BreakdownWindow* breakdown() const { return breakdown_; }
    CopyCheckDialog* copyCheck() const { return copyCheck_; }
    LengthsWindow* lengths() const { return lengths_; }
    SearchProgressWindow* progress() const { return progress_; }

    // The breakdown of the last search; with a folder that is not the one
    // last searched, that folder is opened and searched first.
    void showBreakdown(const std::string& folder = {});
    // The copy check of folder; by default the last searched folder, or the
    // open folder before any search.
    void showCopyCheck(const std::string& folder = {});
    // The cluster length comparison of folder, chosen as for the copy check.
    void showLengths(const std::string& folder = {});
    // Opens and searches folder in the main window, as a double-click in the
    // folder list does (refused while a search runs).
    void openFolder(const std::string& folder);

private:
    void showContextMenu(const QPoint& at);
    // SessionObserver: the progress window follows each search; the
    // breakdown shows its result.
    void searchStarted() override;
    void searchAdvanced(const SearchProgress& progress) override;
    void searchFinished() override;
    std::string lastFolder() const;

    QMainWindow& window_;
    Session& session_;
    FolderListBox& folderList_;
    WindowServices& services_;
    QMenu* menu_ = nullptr;
    QAction* breakdownEntry_ = nullptr;
    QAction* copyCheckEntry_ = nullptr;
    QAction* lengthsEntry_ = nullptr;
    QMenu* contextMenu_ = nullptr;
    std::string contextFolder_;
    bool searched_ = false;
    // The breakdown was asked for while the search it shows ran.
    bool breakdownWanted_ = false;
    QPointer<BreakdownWindow> breakdown_;
    QPointer<CopyCheckDialog> copyCheck_;
    QPointer<LengthsWindow> lengths_;
    SearchProgressWindow* progress_ = nullptr;
};

}  // namespace dorvelix
