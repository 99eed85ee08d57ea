#pragma once
// Renumber Cues: gives every cue of the Talsen table a firing address (Mod and
// Pin) under the chosen numbering scheme, one position after another.

#include <functional>
#include <vector>

#include "addressing/numbering_scheme.h"
#include "core/progress.h"
#include "core/result.h"
#include "core/script_columns.h"
#include "core/table.h"

namespace fulgor {

struct RenumberOutcome {
    int linesLeft = 0;       // cues with a position that got no address; see leftOverMessage
    std::vector<int> order;  // the sort's, as Table::sortRows gives it, to undo it by
};

// Needs a Talsen table (talsen::ColumnCount columns). Decides the scheme with
// decideNumbering, then sorts all rows by Pos (number), Type (text, byte
// order), Size (text, byte order) and Time (number), stably, and walks them:
// - a row's position is its Pos by the leading-number reading, rounded to a
//   whole number (halves to even); a Pos that is empty, not a number, or beyond
//   the 32-bit range counts as 0;
// - rows at position 0 or below get empty Mod and Pin, start no module and are
//   not counted;
// - every new position starts a fresh module, unless the previous module was
//   exactly filled and so is fresh already; pins run from the scheme's first
//   to its last, then the next module begins;
// - Talsen scheme: the first position from 100 on switches to module 100 with
//   45 pins and modules up to 199, unless modules 1..99 are used up already;
// - once the module limit is passed, and always under the None scheme, rows
//   with a position get empty Mod and Pin and are counted as left over.
// Mod and Pin are written as text: decimal schemes "00" (at least two digits),
// the custom hex scheme HexByte of the module and the pin in uppercase hex
// without leading zeros. No other column changes; Line is not renumbered.
// A table without rows is left as it is, with nothing left over.
// Fails, leaving the table untouched (row order too), when decideNumbering fails.
// Stops part-way, the table part-addressed, once `progress` asks to.
// `sorted`, when given, runs once the rows stand in their new order and before
// any cell changes (not when nothing is sorted): the window keeps the cells it
// needs for undo then, once the sort's working memory is free again.
// The table's columns stand where `columns` says.
Result<RenumberOutcome> RenumberQues(Table& talsen, const NumberingChoice& choice,
                                     const Progress& progress = {},
                                     const std::function<void()>& sorted = {},
                                     const talsen::AddressColumns& columns = {});

}  // namespace fulgor
