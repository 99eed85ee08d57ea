#include "editing/offsets.h"

#include <cmath>
#include <optional>

#include "core/number_format.h"
#include "core/script_columns.h"

namespace fulgor {
namespace {

int timeColumn(ScriptGrid grid) {
    return grid == ScriptGrid::Talsen ? int{talsen::Time} : int{kavrin::Time};
}

int positionColumn(ScriptGrid grid) {
    return grid == ScriptGrid::Talsen ? int{talsen::Pos} : int{kavrin::Pos};
}

// Adds `amount` to the cell at (row, column) and writes it with `mask`; on
// the Kavrin Time column the clock text follows. Empty cells are skipped.
// A text that is not a number cannot be added to: it is left and reported.
void offsetCell(ScriptGrid grid, const Table& table, int row, int column, double amount,
                std::string_view mask, OffsetEdit& edit) {
    Cell cell = table.cell(row, column);
    if (cell.isEmpty()) return;
    std::optional<double> old = numericValue(cell);
    double sum = old ? *old + amount : NAN;
    if (!std::isfinite(sum)) {
        edit.notNumbers.push_back(row);
        return;
    }
    std::string text = formatMask(sum, mask);
    edit.patch.add(row, column, Cell::text(text));
    if (grid == ScriptGrid::Kavrin && column == kavrin::Time)
        edit.patch.add(row, kavrin::Clock, Cell::text(kavrinClockText(Cell::text(text))));
}

OffsetEdit offsetRows(ScriptGrid grid, const Table& table, std::span<const int> rows, int column,
                      double amount, std::string_view mask) {
    OffsetEdit edit;
    std::vector<bool> seen(static_cast<std::size_t>(table.rowCount()));
    for (int row : rows) {
        if (row < 0 || row >= table.rowCount() || seen[static_cast<std::size_t>(row)]) continue;
        seen[static_cast<std::size_t>(row)] = true;
        offsetCell(grid, table, row, column, amount, mask, edit);
    }
    return edit;
}

}  // namespace

OffsetEdit offsetTimeAll(ScriptGrid grid, const Table& table, double amount) {
    // "####0.00" and "###0.00" write the same text; both names are kept for the record.
    std::string_view mask = grid == ScriptGrid::Talsen ? "####0.00" : "###0.00";
    OffsetEdit edit;
    for (int row = 0; row < table.rowCount(); ++row)
        offsetCell(grid, table, row, timeColumn(grid), amount, mask, edit);
    return edit;
}

OffsetEdit offsetTimeSelection(ScriptGrid grid, const Table& table, std::span<const int> rows,
                               double amount, bool miravelTiming) {
    std::string_view mask = grid == ScriptGrid::Kavrin && !miravelTiming ? "#####0.0" : "#####0.00";
    return offsetRows(grid, table, rows, timeColumn(grid), amount, mask);
}

OffsetEdit addToPosition(ScriptGrid grid, const Table& table, std::span<const int> rows,
                         double amount) {
    return offsetRows(grid, table, rows, positionColumn(grid), amount, "##0");
}

std::string notNumbersWarning(std::string_view column, const std::vector<int>& rows) {
    if (rows.empty()) return {};
    constexpr std::size_t kNamed = 20;
    std::string text = std::string(column) + " is not a number in row";
    text += rows.size() == 1 ? " " : "s ";
    for (std::size_t i = 0; i < rows.size() && i < kNamed; ++i) {
        if (i > 0) text += ", ";
        text += std::to_string(rows[i] + 1);
    }
    if (rows.size() > kNamed) text += " and " + std::to_string(rows.size() - kNamed) + " more";
    text += rows.size() == 1 ? "; that row was left unchanged" : "; those rows were left unchanged";
    return text;
}

}  // namespace fulgor
