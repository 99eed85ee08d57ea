#pragma once
// Which script rows the grids highlight, and in which colour.

#include "core/table.h"
#include "editing/cell_rules.h"

namespace fulgor {

enum class Highlight { None, Yellow, Red, Cyan };

// Talsen: yellow when Mod or Pin is empty (the cue has no address yet).
// Kavrin: rows not marked in Err keep the grid's style; a marked row is yellow
// when Mod or Pin is empty, else red when Time is empty or below 0, else cyan.
Highlight rowHighlight(ScriptGrid grid, const Table& table, int row);

}  // namespace fulgor
