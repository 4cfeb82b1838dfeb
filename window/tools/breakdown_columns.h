// The breakdown's table as its files share it: its columns and the roles
// its cells keep their values in.
#pragma once

#include "row_table.h"

#include <Qt>

namespace dorvelix::breakdown {

// The figures' columns (name, seven figures) that are copied and saved, and
// the share column after them, which is shown only.
inline constexpr int ColumnCount = 8;
inline constexpr int ShareColumn = 8;
inline constexpr int ShownColumns = 9;
inline constexpr int ConvertBytesColumn = 6;
// The treemap's width beside the table, as the window widens for both; it
// gives up to half of it where the screen is too narrow for the columns.
inline constexpr int TreemapWidth = 280;
// The value a column sorts and is copied by; the display text is formatted.
inline constexpr int ValueRole = Qt::UserRole + 1;
// The row's folder name as bytes, for opening it.
inline constexpr int NameBytesRole = Qt::UserRole + 2;
// The row's folder in the counted tree, for going into it; none for ".".
inline constexpr int TreeIndexRole = Qt::UserRole + 3;
// Copied and saved: the figures' columns, as values.
inline constexpr row_table::Fields CopiedFields{ColumnCount, ValueRole};

}  // namespace dorvelix::breakdown
