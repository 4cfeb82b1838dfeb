// "クラスタ長の比較": the bytes a copy of a folder takes on fresh FAT32 and
// exFAT volumes at every cluster length from 512 bytes to 32 MiB, the same
// figures as dorvelix-report --lengths. A chart (one bar per file system
// and length, a line at the files' own bytes, the drive's cluster length
// and the conversion length marked) beside a table that copies like the
// breakdown. "調べる" walks on a worker thread with progress and "中止",
// like the copy check.
#pragma once

#include "background_walk.h"
#include "walk_tool_dialog.h"
#include "cluster_lengths.h"
#include "lengths_chart.h"

#include <QDialog>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace dorvelix {

class LengthsWindow : public WalkToolDialog {
    Q_OBJECT
public:
    explicit LengthsWindow(QWidget* mainWindow);
    ~LengthsWindow() override;

    // The folder to compare (not while a walk runs), with the drive's
    // cluster length and the conversion length for the chart's marks.
    void setFolder(const std::string& folder, long long driveLength, long long convertLength);
    const std::string& folder() const { return folder_; }
    void examine();
    void stop() override;
    bool isRunning() const override { return walk_.running(); }

    QLabel* statusLabel() const { return status_; }
    // The volume size asked about, and the advice for it.
    QLineEdit* capacityBox() const { return capacity_; }
    QLabel* adviceLabel() const { return advice_; }
    QTableWidget* table() const { return table_; }
    LengthsChart* chart() const { return chart_; }
    // The selected rows with a header line, tab-separated.
    QString selectedText() const;

signals:
    void finished();

private:
    void showProgress();
    void showAnswer(const LengthsComparison& comparison);
    // Which length to format with, for the last answer and the capacity.
    void showAdvice();
    void endRun();

    std::string folder_;
    long long driveLength_ = 0, convertLength_ = 0;
    QLabel* source_ = nullptr;
    QLabel* progress_ = nullptr;
    QLabel* fileBytes_ = nullptr;
    QLabel* status_ = nullptr;
    LengthsChart* chart_ = nullptr;
    QLineEdit* capacity_ = nullptr;
    QLabel* advice_ = nullptr;
    std::optional<LengthsAnswer> answer_;
    QTableWidget* table_ = nullptr;
    BackgroundWalk<LengthsComparison> walk_;
    QTimer tick_;
};

}  // namespace dorvelix
