#include "editing/row_highlight.h"

#include "core/script_columns.h"

namespace fulgor {

Highlight rowHighlight(ScriptGrid grid, const Table& table, int row) {
    if (grid == ScriptGrid::Talsen) {
        bool unaddressed =
            table.cell(row, talsen::Mod).isEmpty() || table.cell(row, talsen::Pin).isEmpty();
        return unaddressed ? Highlight::Yellow : Highlight::None;
    }
    if (table.cell(row, kavrin::Err).isEmpty()) return Highlight::None;
    if (table.cell(row, kavrin::Mod).isEmpty() || table.cell(row, kavrin::Pin).isEmpty())
        return Highlight::Yellow;
    Cell time = table.cell(row, kavrin::Time);
    if (time.isEmpty() || cellNumber(time) < 0) return Highlight::Red;
    return Highlight::Cyan;
}

}  // namespace fulgor
