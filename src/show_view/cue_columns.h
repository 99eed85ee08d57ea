#pragma once
// Where a script table keeps what the show views read of a cue.

#include <optional>
#include <string>

#include "core/table.h"
#include "editing/cell_rules.h"

namespace fulgor {

struct CueColumns {
    int line;
    int time;
    int pos;
    int mod;
    int pin;
    int err;  // -1 for a table without an Err column (Talsen)
};

CueColumns cueColumns(ScriptGrid grid);

// The seconds in a cue's Time cell, when the cell holds a number (a number
// cell, or a text that is wholly a finite decimal number); nothing otherwise.
std::optional<double> cueTime(const Table& table, int row, const CueColumns& columns);

// The cue's Line cell as text, or "row N" (N counted from 1) when it is empty,
// so that every cue can be named.
std::string cueName(const Table& table, int row, const CueColumns& columns);

// True when every cell of the row is empty: a blank line, not a cue.
bool isBlankRow(const Table& table, int row);

}  // namespace fulgor
