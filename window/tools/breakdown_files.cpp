// What the breakdown writes and reads: its rows copied and saved as CSV,
// the counted folders kept in a file (the same document as dorvelix-report
// --json --depth writes), and a later search compared with one.
#include "breakdown_window.h"

#include "answer_in_time.h"
#include "breakdown_columns.h"
#include "file_dialogs.h"
#include "mount_table.h"
#include "saved_scan.h"
#include "scan_comparison_window.h"
#include "scan_rows.h"
#include "text.h"
#include "tool_texts.h"
#include "ui_text.h"
#include "window_placement.h"

#include <QSaveFile>
#include <QStandardItemModel>
#include <QTableView>

namespace dorvelix {

namespace {

// Every level the search kept.
constexpr int AllLevels = 65535;

// The mount that holds path, for bounding the first touch of a file there.
std::string mountOf(const std::string& path)
{
    const auto boundaries = MountBoundaries::current();
    const MountEntry* mount = mountHolding(boundaries->table(), path);
    return mount ? mount->mountPoint : std::string("/");
}

}  // namespace

using namespace breakdown;

QString BreakdownWindow::selectedRowsText() const
{
    return row_table::copiedRows(*table_, CopiedFields);
}

QString BreakdownWindow::csvText() const
{
    return row_table::csvOf(*model_, CopiedFields);
}

bool BreakdownWindow::saveCsv(const QString& fileName) const
{
    return row_table::saveText(fileName, csvText());
}

void BreakdownWindow::chooseCsvFile()
{
    const QString fileName = runSaveDialog(this, tool_text::withoutMnemonic(tool_text::SaveCsv),
                                           uiText(tool_text::CsvFilter), {searched_});
    if (!fileName.isEmpty() && !saveCsv(fileName) && showMessage)
        showMessage(uiText(tool_text::SaveFailed) + CrLf + fileName);
}

bool BreakdownWindow::saveScan(const QString& fileName)
{
    if (!result_.tree)
        return false;
    const std::string document = savedScanDocument(result_, displayText(searched_), AllLevels);
    QSaveFile file(fileName);
    const bool saved = file.open(QIODevice::WriteOnly)
        && file.write(document.data(), static_cast<qint64>(document.size())) == static_cast<qint64>(document.size())
        && file.commit();
    if (!saved && showMessage)
        showMessage(uiText(tool_text::SaveFailed) + CrLf + fileName);
    return saved;
}

bool BreakdownWindow::compareWithScan(const QString& fileName)
{
    if (!result_.tree)
        return false;
    const std::string path = fileName.toStdString();
    // Read on a worker within the bound of a first touch: a file on a drive
    // that has stopped answering never holds the window.
    struct Read {
        std::optional<SavedScan> scan;
        QString error;
    };
    const std::optional<Read> read = answerInTime<Read>(mountOf(path), [path]() -> Read {
        try {
            return {readSavedScan(path), {}};
        } catch (const SavedScanError& e) {
            return {std::nullopt, uiText(tool_text::ScanErrors[static_cast<int>(e.kind)])};
        } catch (const std::bad_alloc&) {
            return {std::nullopt, uiText(tool_text::ScanErrors[0])};
        }
    });
    if (!read || !read->scan) {
        if (showMessage)
            showMessage(uiText(read ? tool_text::ScanUnreadable : tool_text::ScanNotAnswering) + CrLf + fileName
                        + (read ? CrLf + read->error : QString()));
        return false;
    }
    const ScanDifference difference = compareScans(*read->scan, result_);
    const bool opened = !comparison_;
    if (opened)
        comparison_ = new ScanComparisonWindow(this);
    comparison_->showDifference(difference, QString::fromStdString(read->scan->folder), displayText(searched_));
    if (opened)
        placeBeside(comparison_, parentWidget() ? parentWidget() : this);
    comparison_->show();
    comparison_->raise();
    comparison_->activateWindow();
    return true;
}

void BreakdownWindow::chooseScanToSave()
{
    const QString fileName = runSaveDialog(this, tool_text::withoutMnemonic(tool_text::SaveScan),
                                           uiText(tool_text::ScanFilter), {searched_});
    if (!fileName.isEmpty())
        saveScan(fileName);
}

void BreakdownWindow::chooseScanToCompare()
{
    const QString fileName = runOpenDialog(this, tool_text::withoutMnemonic(tool_text::CompareScan),
                                           uiText(tool_text::ScanFilter), {searched_});
    if (!fileName.isEmpty())
        compareWithScan(fileName);
}

}  // namespace dorvelix
