// "検索中": shown beside the main window when a folder search is still
// running after a second. It shows the folder being read, the folders and
// files counted so far and the time since the search began, and stops the
// search from its button, Esc or its close box. A stopped search leaves it
// open with what was counted until the stop; otherwise it closes when the
// search ends.
#pragma once

#include "folder_search.h"
#include "session.h"

#include <QDialog>
#include <chrono>

class QLabel;
class QPushButton;

namespace dorvelix {

class SearchProgressWindow : public QDialog {
    Q_OBJECT
public:
    SearchProgressWindow(FolderSearch& search, QWidget* mainWindow);

    // Wired to the session's news of the search.
    void searchStarted();
    void searchAdvanced(const SearchProgress& progress);
    void searchFinished();

    // How long a search runs before the window shows.
    std::chrono::milliseconds showAfter{1000};

    QPushButton* stopButton() const { return stop_; }
    QLabel* folderLabel() const { return folder_; }
    QLabel* statusLabel() const { return status_; }
    QLabel* foldersLabel() const { return folders_; }
    QLabel* filesLabel() const { return files_; }
    QLabel* elapsedLabel() const { return elapsed_; }

protected:
    // Esc and the close box: as the button.
    void reject() override;
    // A click held back by a message box: says to answer the box first.
    bool event(QEvent* event) override;

private:
    void stopOrClose();
    void showCounts(long long folders, long long files);

    FolderSearch& search_;
    QWidget* mainWindow_;
    std::chrono::steady_clock::time_point started_;
    std::chrono::steady_clock::time_point lastRefresh_;
    bool running_ = false;
    QLabel* status_ = nullptr;
    QLabel* folder_ = nullptr;
    QLabel* folderCaption_ = nullptr;
    QLabel* folders_ = nullptr;
    QLabel* files_ = nullptr;
    QLabel* elapsed_ = nullptr;
    QPushButton* stop_ = nullptr;
};

}  // namespace dorvelix
