#pragma once
// Where Insert Line, Add Line, Paste Lines and Delete Lines put or take rows,
// and which row is current afterwards. Rows are counted from 0; a current row
// of -1 means there is none.

#include <span>
#include <vector>

namespace fulgor {

struct RowsPlacement {
    int first = 0;  // index of the first inserted row
    int currentAfter = 0;
};

// Insert Line: one row before the current row, which it replaces as current.
// Without a current row (an empty table, or a grid that lost its current
// row) the row is added at the end rather than written over row 0.
RowsPlacement placeInsertedLine(int rowCount, int currentRow);

// Add Line: one row at the end, which becomes current.
RowsPlacement placeAddedLine(int rowCount);

// Paste Lines: `count` rows directly above the current row, which stays
// current (now `count` rows further down). Without a current row they go to
// the end, as Insert Line does, and the last of them becomes current.
RowsPlacement placePastedRows(int rowCount, int currentRow, int count);

// The rows Delete Lines removes: the selected rows inside the table, in
// ascending order, each once (the deletion runs from the highest down, so no
// removal shifts a row still to be removed).
std::vector<int> rowsToDelete(std::span<const int> selection, int rowCount);

// The current row after a deletion: the lowest deleted row, or the new last
// row when that lies beyond it; -1 when no row is left.
int currentAfterDelete(int lowestDeleted, int rowCountAfter);

}  // namespace fulgor
