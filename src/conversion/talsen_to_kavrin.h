#pragma once
// Import Talsen: builds a Kavrin script table from a Talsen script table, row
// for row, with the firing time worked out from the Talsen Time and Prefire.

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/progress.h"
#include "core/script_columns.h"
#include "core/table.h"

namespace fulgor {

struct KavrinImport {
    Table table{0, kavrin::ColumnCount};
    // Rows (from 0) whose Time is not empty yet gives no firing time: see
    // talsenToKavrin. The window and the command line warn with untimedRowsMessage.
    std::vector<int> untimedRows;
};

// Needs a Talsen table (talsen::ColumnCount columns); returns a Kavrin table
// of as many rows, in the same order. For row i:
//   Line i + 1 (a number); Shot and "TS Ref" the Talsen Line; Pos, Mod, Pin,
//   Size, Qty, Type, Notes copied as they are; Err empty; Cost not carried.
//   Time: Talsen Time minus Prefire (an empty Prefire counts as 0), rounded to
//   tenths with halves to even, or left unrounded with Miravel timing; stored
//   as a number. "hh:mm:ss.t": FormatHundredths of that time times 100,
//   rounded to a whole number.
//   An empty Talsen Time gives empty Time and clock text.
// A row whose Time or Prefire is text that is not wholly a number, whose
// Prefire is larger than its Time, or whose time does not fit the clock's
// 32-bit hundredths, has no firing time that could be trusted: it gets empty
// Time and clock text (so the conflict check flags it) and is listed in
// untimedRows, rather than firing at a guessed moment.
// Stops part-way, the table part-made, once `progress` asks to.
KavrinImport talsenToKavrin(const Table& talsen, bool miravel, const Progress& progress = {});

// The same a line at a time, for a writer that never holds a large show
// whole: each Kavrin line is what reading the Talsen line into a table row,
// talsenToKavrin and writing the Kavrin row back give, byte for byte. The
// Talsen fields' bytes go out as they stand, since a Windows-1252 text
// decoded and encoded again is the same.
class KavrinLineMaker {
public:
    explicit KavrinLineMaker(bool miravel) : m_miravel(miravel) {}
    // Appends the Kavrin line, CR LF ended, of the Talsen line `line` (as the
    // file holds it, without its line end), the script's row `row`. False
    // when the row is one talsenToKavrin lists in untimedRows. A maker
    // works in its own room: one for each thread that makes lines.
    bool append(std::string_view line, int row, std::string& out);

private:
    bool m_miravel;
    std::array<std::string_view, talsen::ColumnCount> m_fields;
    std::array<Cell, talsen::ColumnCount> m_cells;
    std::array<Cell, kavrin::ColumnCount> m_made;
    std::string m_clock;
};

// The warning for `count` untimed rows, naming the Kavrin Lines (row + 1) of
// the first ten; `firstRows` need hold no more than the first kLinesNamed + 1
// of them. The empty text when there are none.
std::string untimedRowsMessage(std::span<const int> firstRows, std::size_t count);

}  // namespace fulgor
