// Tool windows sized to their tables: wide enough that every column shows
// its header and its values whole, as far as the screen allows; and where a
// window stays narrower than that, the columns it is about kept next to the
// name column, in view, while the others scroll.
#pragma once

#include <vector>

class QTableView;
class QWidget;

namespace dorvelix {

// The width table needs to show every column whole: each column as wide as
// its header and its widest value (no wider than widestColumn, when that is
// given), with the table's frame and vertical scroll bar.
int columnsWidth(const QTableView& table, int widestColumn = 0);

// Widens window (never narrows it) until table shows every column whole,
// as far as the screen's room allows. A shown window that now reaches past
// the screen, over the main window's figures or newly over the main window
// is placed again by placeBeside's rule.
void widenToColumns(QWidget* window, QTableView* table, int widestColumn = 0);

// While table is narrower than its columns, keyColumns stand next to its
// first column (in that order), so that the name and the figures the window
// is about stay in view while the rest scroll; back in their own order when
// it is wide enough again. The copied and saved rows keep the model's order.
void keepInView(QTableView* table, std::vector<int> keyColumns);

}  // namespace dorvelix
