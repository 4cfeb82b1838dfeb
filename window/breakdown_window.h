// "サブホルダの内訳": the last search's top-level rows in a sortable table,
// one per subfolder and "." for the folder's own files and table, with the
// totals of the subtree and converted rows under it. A double-click on a
// subfolder opens and searches it in the main window, Backspace its parent;
// Ctrl+C copies the selected rows as tab-separated text, and all rows can be
// saved as CSV. Not modal: it follows every search that ends.
#pragma once

#include "results.h"

#include <QDialog>
#include <functional>
#include <string>

class QLabel;
class QPushButton;
class QAbstractItemView;
class QStandardItemModel;
class QTableView;

namespace dorvelix {

// Ctrl+C (the platform's copy key) on view runs copy instead of the view's
// own copy of its current cell.
void onCopyKey(QAbstractItemView* view, std::function<void()> copy);

class BreakdownWindow : public QDialog {
    Q_OBJECT
public:
    explicit BreakdownWindow(QWidget* mainWindow);

    // Shows the rows of a search of folder (nothing before the first one).
    void showResult(const SearchResult& result, const std::string& folder);
    // Asked to open and search a folder in the main window.
    std::function<void(const std::string& folder)> openFolder;
    // Shows a message box (a CSV file that could not be written).
    std::function<void(const QString& text)> showMessage;

    QTableView* table() const { return table_; }
    QStandardItemModel* model() const { return model_; }
    QLabel* totalLabel(int column) const { return totals_[column]; }
    QLabel* folderLabel() const { return folder_; }
    // The selected rows (all columns, in the order shown) with a header
    // line, tab-separated; the same of every row, comma-separated, for CSV.
    QString selectedRowsText() const;
    QString csvText() const;
    bool saveCsv(const QString& fileName) const;
    // The folder a row names, empty for "." and out-of-range rows.
    std::string rowFolder(int row) const;
    // The folder Backspace opens: the searched folder's parent, nothing at
    // a drive's root.
    std::string parentFolder() const;

private:
    void copySelection() const;
    void chooseCsvFile();
    QString rowsText(const QList<int>& rows, QChar separator, bool quote) const;

    QLabel* folder_ = nullptr;
    QTableView* table_ = nullptr;
    QStandardItemModel* model_ = nullptr;
    QLabel* totals_[8] = {};
    QPushButton* save_ = nullptr;
    std::string searched_;
};

}  // namespace dorvelix
