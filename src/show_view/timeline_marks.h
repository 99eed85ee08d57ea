#pragma once
// The marks of a show's timeline: one per cue with a time, placed on the row
// of its position, coloured by its module, hollow without an address and red
// when the conflict check flagged it.

#include <string>
#include <vector>

#include "core/table.h"
#include "editing/cell_rules.h"

namespace fulgor {

struct TimelineMark {
    double time = 0;         // seconds, finite
    int row = 0;             // the cue's row in the table
    int positionRow = 0;     // index into TimelineMarks::positions
    int module = -1;         // index into TimelineMarks::modules; -1 without a Mod
    bool addressed = false;  // both Mod and Pin are filled in
    bool flagged = false;    // the Err cell holds a conflict number (Kavrin only)
};

struct TimelineMarks {
    std::vector<TimelineMark> marks;  // in table order
    // Labels of the position rows, top to bottom: positions in ascending
    // order, then "no Pos" when some cue has no readable position.
    std::vector<std::string> positions;
    // Modules as written (first spelling met), ascending; a mark's module
    // index picks its colour.
    std::vector<std::string> modules;
    // For each table row, the index of its mark, or -1 when it has none.
    std::vector<int> markOfRow;
    // True when the last position row is "no Pos".
    bool missingPositions = false;
    // Rows that are not blank but have no readable time, so are not drawn.
    int untimed = 0;
    // The earliest and latest time of a mark; both 0 when there is no mark.
    double firstTime = 0;
    double lastTime = 0;

    // The number of positions, "no Pos" not counted.
    int positionCount() const {
        return static_cast<int>(positions.size()) - (missingPositions ? 1 : 0);
    }
};

// The label of the position row that holds cues without a readable Pos.
inline constexpr const char* kNoPositionLabel = "no Pos";

// Builds the marks of a Talsen or Kavrin table, in time linear in its rows
// (sorting only the distinct positions and modules). Blank rows are skipped.
TimelineMarks timelineMarks(const Table& table, ScriptGrid grid);

}  // namespace fulgor
