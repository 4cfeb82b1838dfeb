// "コピー先チェック": whether the folder to copy fits on a target drive, and
// what will not copy there. The target is a drive of the drive list or any
// folder chosen in a folder dialog. "調べる" runs the complete walk on a
// worker thread; the dialog shows the counts and the time so far and stops
// the walk from "中止", Esc or its close box. The main window stays usable.
#pragma once

#include "background_walk.h"
#include "walk_tool_dialog.h"
#include "target_check.h"

#include <QDialog>
#include <QTimer>
#include <memory>
#include <vector>
#include <string>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace dorvelix {

class CopyCheckDialog : public WalkToolDialog {
    Q_OBJECT
public:
    CopyCheckDialog(VolumeQueries& volumes, QWidget* mainWindow);
    ~CopyCheckDialog() override;

    // The folder to copy (not while a check runs).
    void setFolder(const std::string& folder);
    const std::string& folder() const { return folder_; }
    // Chooses a target folder, added to the list when it is not a drive.
    void setTarget(const std::string& targetFolder);
    std::string target() const;
    // Starts the check; stops a running one.
    void examine();
    void stop() override;
    bool isRunning() const override { return walk_.running(); }

    QComboBox* targetBox() const { return targets_; }
    QLabel* progressLabel() const { return progress_; }
    QLabel* answerLabel(int row) const { return answers_[row]; }
    QLabel* statusLabel() const { return status_; }
    QTableWidget* blockedTable() const { return blocked_; }
    // The selected rows of the blocked list with a header line, tab-separated.
    QString selectedBlockedText() const;

    // Answer rows: needed bytes, free bytes, cluster length, file system, the
    // files and folders made, verdict, what runs out, margin, how counted.
    enum AnswerRow { Needed, Free, ClusterLength, FileSystem, Entries, Verdict, RunsOut, Margin, CountedBy, AnswerRows };

signals:
    // A check has ended (answered, stopped or failed).
    void finished();

private:
    void chooseFolder();
    // Fills the target list: the drives mounted now and the folders chosen.
    void listTargets();
    void showProgress();
    void showAnswer(const TargetCheck& check);
    void clearAnswer();
    void endRun();

    VolumeQueries& volumes_;
    std::string folder_;
    std::vector<std::string> chosenFolders_;
    BackgroundWalk<TargetCheck> walk_;
    QTimer tick_;
    QLabel* source_ = nullptr;
    QComboBox* targets_ = nullptr;
    QPushButton* choose_ = nullptr;
    QLabel* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* answers_[AnswerRows] = {};
    QTableWidget* blocked_ = nullptr;
};

}  // namespace dorvelix
