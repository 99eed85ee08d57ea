#pragma once
// Sorting a script table by a click on one of its column headers. Each
// column has fixed tie-breaking columns, all ascending.

#include <vector>

#include "addressing/renumber_lines.h"
#include "core/table.h"
#include "editing/cell_rules.h"

namespace fulgor {

// The keys a click on `column`'s header sorts by; empty when that column does
// not sort (Talsen Prefire and Qty).
std::vector<SortKey> headerSortKeys(ScriptGrid grid, int column);

// What a header sort changed, enough to undo and redo it without a second copy
// of a table that may hold a million rows.
struct HeaderSort {
    std::vector<int> order;   // as Table::sortRows gives it; empty when no row moved
    bool renumbered = false;  // the Kavrin table: Line was rewritten after the sort
    KeptLines linesBefore;    // then the Line column as it was, in the old row order
    bool changedAnything = false;
};

// Sorts all rows by headerSortKeys; on the Kavrin table Line is then rewritten
// to each row's index + 1 (as a number), whatever column was clicked.
HeaderSort sortByHeader(ScriptGrid grid, Table& table, int column);
// Puts a sorted table back as it was, and sorts it again.
void undoHeaderSort(Table& table, const HeaderSort& sort);
void redoHeaderSort(Table& table, const HeaderSort& sort);

}  // namespace fulgor
