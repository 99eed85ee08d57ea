#include "show_view/cue_columns.h"

#include <cmath>

#include "core/script_columns.h"

namespace fulgor {

CueColumns cueColumns(ScriptGrid grid) {
    if (grid == ScriptGrid::Kavrin)
        return {kavrin::Line, kavrin::Time, kavrin::Pos, kavrin::Mod, kavrin::Pin, kavrin::Err};
    return {talsen::Line, talsen::Time, talsen::Pos, talsen::Mod, talsen::Pin, -1};
}

std::optional<double> cueTime(const Table& table, int row, const CueColumns& columns) {
    std::optional<double> seconds = numericValue(table.cell(row, columns.time));
    if (!seconds || !std::isfinite(*seconds)) return std::nullopt;
    return seconds;
}

std::string cueName(const Table& table, int row, const CueColumns& columns) {
    std::string line = cellText(table.cell(row, columns.line));
    if (!line.empty()) return line;
    return "row " + std::to_string(row + 1);
}

bool isBlankRow(const Table& table, int row) {
    for (int column = 0; column < table.columnCount(); ++column)
        if (!table.cell(row, column).isEmpty()) return false;
    return true;
}

}  // namespace fulgor
