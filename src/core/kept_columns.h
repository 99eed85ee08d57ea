#pragma once
// Some columns of a table kept aside, to be put back: what a command that
// rewrites those columns keeps so that it can be undone.

#include <cstdint>
#include <vector>

#include "core/table.h"

namespace fulgor {

class KeptColumns {
public:
    KeptColumns() = default;
    // The cells of the listed columns of `table`, every row.
    KeptColumns(const Table& table, std::vector<int> columns);

    // Whether the listed columns of `table` hold the kept cells.
    bool matches(const Table& table) const;
    // Puts the kept cells back into the listed columns of `table` and keeps
    // the cells they replace. Precondition: `table` has as many rows as the
    // one kept from.
    void exchange(Table& table);

private:
    // One column's cells. The columns such a command rewrites (addresses,
    // shot numbers, errors) mostly hold a few values again and again: then
    // each distinct value is kept once, and a cell as the 2-byte number of
    // its value, a quarter of the memory of a copy. A column of more values
    // than those numbers reach is kept whole.
    struct Column {
        Table values;                        // one column: the distinct values, or every cell
        std::vector<std::uint16_t> valueOf;  // a number a row; empty when kept whole
        Cell cell(int row) const {
            return values.cell(valueOf.empty() ? row : valueOf[static_cast<std::size_t>(row)], 0);
        }
    };
    static Column keep(const Table& table, int column);

    std::vector<int> m_columns;
    std::vector<Column> m_kept;  // one for each of m_columns
};

}  // namespace fulgor
