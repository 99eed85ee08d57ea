#pragma once

#include "core/table.h"

namespace fulgor {

// Writes each row's index + 1, as a number, into column 0 (Line), in the
// present row order. Nothing else changes.
void renumberLines(Table& table);

}  // namespace fulgor
