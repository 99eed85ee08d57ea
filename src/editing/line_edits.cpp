#include "editing/line_edits.h"

#include <algorithm>

namespace fulgor {

RowsPlacement placeInsertedLine(int rowCount, int currentRow) {
    int first = currentRow >= 0 && currentRow < rowCount ? currentRow : rowCount;
    return {first, first};
}

RowsPlacement placeAddedLine(int rowCount) {
    return {rowCount, rowCount};
}

RowsPlacement placePastedRows(int rowCount, int currentRow, int count) {
    if (currentRow >= 0 && currentRow < rowCount) return {currentRow, currentRow + count};
    return {rowCount, count > 0 ? rowCount + count - 1 : rowCount - 1};
}

std::vector<int> rowsToDelete(std::span<const int> selection, int rowCount) {
    std::vector<int> rows;
    rows.reserve(selection.size());
    for (int row : selection) {
        if (row >= 0 && row < rowCount) rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int currentAfterDelete(int lowestDeleted, int rowCountAfter) {
    return std::min(lowestDeleted, rowCountAfter - 1);
}

}  // namespace fulgor
