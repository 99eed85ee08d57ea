#pragma once
// A set of cell values bound for a table: what an edit writes, and after it
// has been applied, what the cells held before. Applying a patch swaps its
// values with the table's, so applying it again undoes it; an undo step can
// keep the changed cells alone instead of a copy of the table.

#include <vector>

#include "core/table.h"

namespace fulgor {

struct CellPosition {
    int row = 0;
    int column = 0;
};

class CellPatch {
public:
    // Adds a value for one cell. Precondition: that cell is not in the patch yet.
    void add(int row, int column, const Cell& value);

    bool empty() const { return m_at.empty(); }
    std::size_t size() const { return m_at.size(); }
    const std::vector<CellPosition>& positions() const { return m_at; }
    Cell value(std::size_t i) const { return m_values.cell(static_cast<int>(i), 0); }
    // The lowest and highest row the patch touches. Precondition: !empty().
    int firstRow() const { return m_firstRow; }
    int lastRow() const { return m_lastRow; }

    // Swaps every value with the table's cell at its position.
    // Precondition: every position lies inside the table.
    void swapWith(Table& table);

private:
    std::vector<CellPosition> m_at;
    Table m_values{0, 1};
    int m_firstRow = 0;
    int m_lastRow = 0;
};

}  // namespace fulgor
