// "前回との比較": what changed in the searched folder since a saved scan, one
// row per folder that changed down to the levels the scan keeps, the
// largest growth in occupied bytes first, folders added and gone marked,
// and the whole folder on top. Its rows copy (Ctrl+C) like every tool
// table's; Tab leaves the table.
#pragma once

#include "scan_difference.h"

#include <QDialog>

class QLabel;
class QTableWidget;

namespace dorvelix {

class ScanComparisonWindow : public QDialog {
    Q_OBJECT
public:
    explicit ScanComparisonWindow(QWidget* parent);

    // Shows the differences of the saved scan of savedFolder with a search of now.
    void showDifference(const ScanDifference& difference, const QString& savedFolder, const QString& folderNow);
    QTableWidget* table() const { return table_; }

private:
    QLabel* folders_ = nullptr;
    QTableWidget* table_ = nullptr;
};

}  // namespace dorvelix
