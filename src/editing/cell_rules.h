#pragma once
// What the script grids do with a cell the user has typed: the check and
// rounding before it is stored, and the Kavrin clock text that follows a
// stored row's time.

#include <optional>
#include <string>
#include <string_view>

#include "core/table.h"
#include "editing/cell_patch.h"

namespace fulgor {

enum class ScriptGrid { Talsen, Kavrin };

// The outcome of checking typed content before it is stored.
struct TypedCell {
    bool refused = false;          // leave the cell as it was
    std::optional<double> number;  // store this number; otherwise store the typed text
};

// Talsen Time, Prefire and Cost must be a number (optional blanks and sign,
// digits, point, exponent) and are stored rounded to 2 decimals; Kavrin Time
// the same, rounded to 1 decimal. Anything else there, an empty text or a
// number too large for a double included, is refused. Other columns are
// stored as typed.
TypedCell checkTypedCell(ScriptGrid grid, int column, std::string_view typed);

// What storing `typed` into (row, column) writes: the checked cell and, on
// the Kavrin table, the row's clock text that follows its Time. Nothing when
// the check refuses the content. Precondition: the cell lies inside the table.
std::optional<CellPatch> typedCellPatch(ScriptGrid grid, const Table& table, int row, int column,
                                        std::string_view typed);

// The clock text that follows a Kavrin row's Time: FormatHundredths of Time x 100
// rounded; empty when Time is empty or not a number (or too large to count).
std::string kavrinClockText(const Cell& time);

}  // namespace fulgor
