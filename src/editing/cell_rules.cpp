#include "editing/cell_rules.h"

#include <cmath>

#include "addressing/time_text.h"
#include "core/leading_number.h"
#include "core/rounding.h"
#include "core/script_columns.h"

namespace fulgor {
namespace {

// Decimals a checked column is rounded to; nothing for columns stored as typed.
std::optional<int> checkedDecimals(ScriptGrid grid, int column) {
    if (grid == ScriptGrid::Talsen &&
        (column == talsen::Time || column == talsen::Prefire || column == talsen::Cost)) {
        return 2;
    }
    if (grid == ScriptGrid::Kavrin && column == kavrin::Time) return 1;
    return std::nullopt;
}

}  // namespace

TypedCell checkTypedCell(ScriptGrid grid, int column, std::string_view typed) {
    std::optional<int> decimals = checkedDecimals(grid, column);
    if (!decimals) return {};
    std::optional<double> number = decimalNumber(typed);
    double rounded = number ? roundToDecimals(*number, *decimals) : 0;
    if (!number || !std::isfinite(rounded)) return {.refused = true, .number = std::nullopt};
    return {.refused = false, .number = rounded};
}

std::optional<CellPatch> typedCellPatch(ScriptGrid grid, const Table& table, int row, int column,
                                        std::string_view typed) {
    TypedCell checked = checkTypedCell(grid, column, typed);
    if (checked.refused) return std::nullopt;
    CellPatch patch;
    Cell stored = checked.number ? Cell::number(*checked.number) : Cell::text(typed);
    // A stored Kavrin row's clock text follows its Time, even over text typed into the clock.
    if (grid == ScriptGrid::Kavrin) {
        Cell time = column == kavrin::Time ? stored : table.cell(row, kavrin::Time);
        std::string clock = kavrinClockText(time);
        if (column != kavrin::Clock) patch.add(row, column, stored);
        patch.add(row, kavrin::Clock, Cell::text(clock));
        return patch;
    }
    patch.add(row, column, stored);
    return patch;
}

std::string kavrinClockText(const Cell& time) {
    std::optional<double> seconds = numericValue(time);
    if (!seconds) return {};
    std::optional<std::int32_t> hundredths = roundToInt32(*seconds * 100);
    return hundredths ? FormatHundredths(*hundredths) : std::string();
}

}  // namespace fulgor
