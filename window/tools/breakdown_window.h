// "サブホルダの内訳": the last search's top-level rows in a sortable table,
// one per subfolder and "." for the folder's own files and table, each with
// its share of the converted total as a bar, and the totals of the subtree
// and converted rows under their columns. It browses the folders the search
// counted without walking again: a double-click or Enter on a subfolder
// shows that folder's rows, Backspace its parent's (above the searched
// folder: the parent is searched in the main window), Alt+Left and
// Alt+Right go back and forward, and the path bar goes to any folder on the
// way down. "このホルダを検索" searches the folder shown in the main window.
// The context menu and Ctrl+1 … Ctrl+9 sort by a column from the keyboard.
// Ctrl+C copies the selected rows as tab-separated text, and all rows can be
// saved as CSV. Not modal: it follows every search that ends.
#pragma once

#include "counted_tree.h"
#include "results.h"

#include <QDialog>
#include <functional>
#include <string>

class QLabel;
class QPushButton;
class QAbstractItemView;
class QStandardItemModel;
class QTableView;
class QSplitter;
class QToolButton;

namespace dorvelix {

class PathBar;
class TreemapView;
class ScanComparisonWindow;

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
    // The totals row under the table, in the table's columns.
    QTableView* totalsTable() const { return totalsTable_; }
    QString totalText(int column) const;
    QLabel* folderLabel() const { return folder_; }
    QLabel* lengthLabel() const { return length_; }
    // Sorts by column, the other way round when it is sorted by it already.
    void sortBy(int column);
    // The selected rows (all columns, in the order shown) with a header
    // line, tab-separated; the same of every row, comma-separated, for CSV.
    QString selectedRowsText() const;
    QString csvText() const;
    bool saveCsv(const QString& fileName) const;
    // The folder a row names, empty for "." and out-of-range rows.
    std::string rowFolder(int row) const;
    // The folder Backspace searches from the searched folder: its parent,
    // nothing at a drive's root.
    std::string parentFolder() const;

    // Browsing the counted folders: the folder shown (the searched one
    // after each search), going into one of them, up, back and forward.
    std::string shownFolder() const;
    void goInto(CountedTree::Index folder);
    void goUp();
    void goBack();
    void goForward();
    // The counted folders saved to fileName (the report's saved scan), and
    // the differences of a saved scan with them shown; false, and a message
    // box, when the file cannot be written or read.
    bool saveScan(const QString& fileName);
    bool compareWithScan(const QString& fileName);
    ScanComparisonWindow* comparison() const { return comparison_; }
    PathBar* pathBar() const { return pathBar_; }
    TreemapView* treemap() const { return treemap_; }
    QPushButton* searchThisFolderButton() const { return searchHere_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openRow(int row);
    // Shows folder's rows, remembered for going back unless it is a step
    // back or forward itself.
    void showFolder(CountedTree::Index folder, bool remember = true);
    void showRows(const std::vector<SubfolderRow>& rows, const std::optional<FolderRow>& total,
                  const std::vector<CountedTree::Index>& folders);
    void updateBrowseButtons();
    void addSortActions();
    void followColumnWidths();
    // Wide enough for every column, as far as the screen allows.
    void widenToColumns();
    void chooseCsvFile();
    void chooseScanToSave();
    void chooseScanToCompare();

    QLabel* folder_ = nullptr;
    QLabel* length_ = nullptr;
    QTableView* table_ = nullptr;
    QStandardItemModel* model_ = nullptr;
    QTableView* totalsTable_ = nullptr;
    QStandardItemModel* totals_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* searchHere_ = nullptr;
    PathBar* pathBar_ = nullptr;
    TreemapView* treemap_ = nullptr;
    QSplitter* split_ = nullptr;
    ScanComparisonWindow* comparison_ = nullptr;
    QPushButton* saveScan_ = nullptr;
    QPushButton* compareScan_ = nullptr;
    QToolButton* back_ = nullptr;
    QToolButton* forward_ = nullptr;
    QToolButton* up_ = nullptr;
    std::string searched_;
    // The last search's figures and the folders it counted; the folder
    // shown and the way back and forward.
    SearchResult result_;
    CountedTree::Index shown_ = 0;
    std::vector<CountedTree::Index> backStack_;
    std::vector<CountedTree::Index> forwardStack_;
};

}  // namespace dorvelix
