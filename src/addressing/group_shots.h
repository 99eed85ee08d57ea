#pragma once
// Group Shots: numbers the shots of a Kavrin show and compares their count
// with the panel's fire memory.

#include <functional>
#include <vector>

#include "core/progress.h"
#include "core/script_columns.h"
#include "core/table.h"

namespace fulgor {

struct GroupShotsOutcome {
    int shots = 0;           // as NumberShots returns it
    int fireMemory = 0;      // the most shots the panel holds in the chosen timing
    std::vector<int> order;  // NumberShots' sort, to undo it by
    // When true the window shows kFireMemoryExceeded under kAbortedTitle.
    bool exceeded() const { return shots > fireMemory; }
};

// The panel's fire memory: 3168 shots with Miravel timing, 550 without.
int fireMemory(bool miravel);

// Runs NumberShots on the Kavrin table (see there) and reports the count
// against the fire memory. The numbering stays whatever the outcome.
// Stops part-way once `progress` asks to, as NumberShots does.
// `sorted` and `columns` as NumberShots takes them.
GroupShotsOutcome groupShots(Table& kavrin, bool miravel, const Progress& progress = {},
                             const std::function<void()>& sorted = {},
                             const kavrin::PanelColumns& columns = {});

}  // namespace fulgor
