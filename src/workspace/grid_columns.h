#pragma once
// The columns of the two script grids: captions, display formats, edit masks,
// maximum widths and alignments.

#include <array>

#include "core/script_columns.h"
#include "platform/script_table_model.h"

namespace fulgor {

extern const std::array<GridColumn, talsen::ColumnCount> kTalsenGridColumns;
extern const std::array<GridColumn, kavrin::ColumnCount> kKavrinGridColumns;

}  // namespace fulgor
