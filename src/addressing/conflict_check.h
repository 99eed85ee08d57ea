#pragma once
// Check Conflicts: groups the shots of a Kavrin show, then tests every row
// against the panel's address limits and the rule that cues fired at one
// moment sit on one module. Offending rows are numbered 1, 2, 3 ... in Err.

#include <functional>
#include <vector>

#include "addressing/group_shots.h"
#include "core/script_columns.h"
#include "core/table.h"

namespace fulgor {

struct ConflictRules {
    bool miravel = false;          // "Miravel Timing" ticked
    bool talsenNumbering = false;  // "Talsen" cue numbering selected
    // Whether the rules read Pos: the Talsen rules alone do.
    bool readsPosition() const { return miravel && talsenNumbering; }
};

// The state carried from row to row.
struct ConflictWalk {
    int counter = 0;               // conflicts found so far
    double previousModule = 0;     // a whole number; a double so no Mod can overflow it
    float previousTime = 0;        // single precision, as the panel's time is compared
    std::vector<int> markedRows;   // rows marked, in the order they were marked
    kavrin::PanelColumns columns;  // where the table holds the columns the rules read
};

// Records one conflict on the row: adds 1 to the counter, writes the counter
// as a number into Err and appends the row to markedRows.
void MarkConflictRow(Table& kavrin, int row, ConflictWalk& walk);

// Applies the rules to one row of a Kavrin table and marks it (once) if it
// breaks one. Shot, Pos, Mod and Pin are read by the leading-number reading.
// - Every rule set: Time must hold a number (numericValue: an empty Time, or
//   text such as "12abc" that is not wholly a number, has no moment to fire
//   at and is a conflict) that is not below 0.
// - Without Miravel timing (Kavrin rules): Shot 1..550 (0 or above 550 is a
//   conflict, below 0 is not), Mod 1..12, Pin 1..45; then a row whose Time,
//   taken to single precision, equals the previous time is a conflict when
//   the previous module is 1 or more and Mod differs from it; a row at a new
//   time becomes the previous time and has its Err emptied.
// - With Miravel timing and Talsen numbering (Talsen rules): Shot 1..3168;
//   Pos 0..99 needs Mod 1..99 and Pin 1..32, Pos from 100 needs Mod 100..199
//   and Pin 1..45 (a passing row becomes the previous time and has its Err
//   emptied); Pos below 0 is not checked further.
// - With Miravel timing otherwise: the Time rule only.
// Last, for every row, a Mod above 0 rounded to a whole number (halves to
// even) becomes the previous module.
void CheckConflictRow(Table& kavrin, int row, const ConflictRules& rules, ConflictWalk& walk);

struct ConflictReport {
    GroupShotsOutcome grouping;  // the Group Shots run inside the check
    int conflicts = 0;           // the window's conflict count; see conflictLabelText
    // The grid's selection: the first becomes the current row and highlighting
    // is switched on when there are any.
    std::vector<int> markedRows;
};

// The whole check on a Kavrin table: runs groupShots (which sorts and
// renumbers Line and Shot), emptying every Err once the rows are sorted and
// before the shots are numbered; then starts the previous time at the first
// row whose Time holds a number (taken to single precision; 0 when none does)
// and the previous module at 0, then runs CheckConflictRow on every row in
// order. Two times that read as the same number, such as "12.1" and "12.10",
// are the same moment, however single precision holds them.
// Stops part-way, the table part-checked, once `progress` asks to.
// `sorted`, when given, runs once the rows stand in their new order and before
// any cell changes (see NumberShots).
// The table's columns stand where `columns` says; Pos need not be held (nor
// `columns.pos` name a column) where the rules do not read it.
ConflictReport checkConflicts(Table& kavrin, const ConflictRules& rules,
                              const Progress& progress = {},
                              const std::function<void()>& sorted = {},
                              const kavrin::PanelColumns& columns = {});

}  // namespace fulgor
