#pragma once
// Sorting a script table by a click on one of its column headers. Each
// column has fixed tie-breaking columns, all ascending.

#include <vector>

#include "core/table.h"
#include "editing/cell_rules.h"

namespace fulgor {

// The keys a click on `column`'s header sorts by; empty when that column does
// not sort (Talsen Prefire and Qty).
std::vector<SortKey> headerSortKeys(ScriptGrid grid, int column);

// Sorts all rows by headerSortKeys; on the Kavrin table Line is then rewritten
// to each row's index + 1 (as a number), whatever column was clicked.
void sortByHeader(ScriptGrid grid, Table& table, int column);

}  // namespace fulgor
