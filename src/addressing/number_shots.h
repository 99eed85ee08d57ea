#pragma once
// Shot numbering of a Kavrin show: cues fired at one moment share one shot.

#include <functional>
#include <vector>

#include "core/progress.h"
#include "core/script_columns.h"
#include "core/table.h"

namespace fulgor {

// Needs a Kavrin table, its columns where `columns` says. Sorts all rows stably by
// Time, Mod and Shot, each read as a number (leading-number reading, so a text
// that is not a number sorts as 0), and writes Line 1, 2, 3 ... as numbers in
// the new order. Rows whose Time is not empty and whose Err is empty get Shot
// numbers: 1 for the first, the same number while the leading-number reading
// of Time stays equal to that of the shot's first row, the next number when it
// changes. Every other row gets an empty Shot.
struct ShotNumbering {
    int shots = 0;           // the highest Shot given (0 when no row qualifies)
    std::vector<int> order;  // the sort's, as Table::sortRows gives it, to undo it by
};
// Stops part-way, leaving the table part-numbered, once `progress` asks to.
// `sorted`, when given, runs once the rows stand in their new order and before
// any cell changes (see RenumberQues).
ShotNumbering NumberShots(Table& kavrin, const Progress& progress = {},
                          const std::function<void()>& sorted = {},
                          const kavrin::PanelColumns& columns = {});

}  // namespace fulgor
