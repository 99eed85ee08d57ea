#pragma once
// The columns of the two script grids: captions, display formats, edit masks,
// maximum widths, alignments and starting widths.

#include <array>
#include <span>
#include <vector>

#include "core/script_columns.h"
#include "platform/grid_layout.h"
#include "platform/script_table_model.h"

namespace fulgor {

extern const std::array<GridColumn, talsen::ColumnCount> kTalsenGridColumns;
extern const std::array<GridColumn, kavrin::ColumnCount> kKavrinGridColumns;

// The columns in model order at their starting widths, none hidden: a grid as it starts.
std::vector<PlacedColumn> startingColumns(std::span<const GridColumn> columns);

}  // namespace fulgor
