// The tool windows' tables of rows, written once: read-only, whole rows
// selected, no row numbers; Ctrl+C copies the selected rows under a header
// line, tab-separated, and the whole table goes to a CSV file the same way.
// The breakdown, the copy check's list of what will not copy and the
// cluster length comparison all build their tables through it.
#pragma once

#include <QList>
#include <QString>
#include <Qt>

class QAbstractItemModel;
class QAbstractItemView;
class QTableView;

namespace dorvelix::row_table {

// What is copied and saved of a table: its first columns (all when -1),
// each field read in role (the breakdown copies its figures unformatted).
struct Fields {
    int columns = -1;
    int role = Qt::DisplayRole;
};

// Read-only, whole rows selected, no row numbers, and Ctrl+C (the
// platform's copy key) copies the selected rows instead of the current cell.
void setUp(QTableView* table, Fields fields = {});

// The rows (in the order given) under a header line, fields separated by
// separator and, for CSV, quoted where they hold a separator, a quote or a
// line break.
QString rowsText(const QAbstractItemModel& model, const QList<int>& rows, QChar separator, bool csv, Fields fields = {});
// The selected rows in the order shown, tab-separated; "" when none is.
QString copiedRows(const QAbstractItemView& view, Fields fields = {});
// Every row, comma-separated, for a CSV file.
QString csvOf(const QAbstractItemModel& model, Fields fields = {});
// Writes text to fileName in UTF-8, whole or not at all; false when it
// could not be written.
bool saveText(const QString& fileName, const QString& text);

}  // namespace dorvelix::row_table
