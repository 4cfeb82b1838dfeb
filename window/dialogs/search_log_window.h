// The window "検索ログ": every message of the last folder search, one row
// each with its kind, path and cause, to read and to copy (the selected rows
// with Ctrl+C, or all of them with the button).
#pragma once

#include "search_log.h"

#include <QDialog>

class QTableWidget;

namespace dorvelix {

class SearchLogWindow : public QDialog {
    Q_OBJECT
public:
    explicit SearchLogWindow(QWidget* parent = nullptr);

    // Shows log's messages (a copy: the next search does not change them).
    void setLog(const SearchLog& log);
    QTableWidget* table() const { return table_; }
    // Puts the selected rows, or every row when none is selected, on the
    // clipboard.
    void copyRows(bool selectedOnly);

private:
    QTableWidget* table_;
};

}  // namespace dorvelix
