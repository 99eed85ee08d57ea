#pragma once
// Script rows through the system clipboard: TAB between the cells of a row,
// CR LF after every row, the last included; no header, no quoting.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/table.h"
#include "editing/cell_rules.h"

namespace fulgor {

inline constexpr std::string_view kNothingSelected = "Please select a range of cells";

// The clipboard text of `rows` (in the order given, which is the order the
// user selected them): every cell of each row as its text, an empty cell as
// nothing. Precondition: every row lies inside the table.
std::string clipboardText(const Table& table, std::span<const int> rows);

// The report after a copy of `rows` rows of `columns` cells:
// Talsen "3 Rows of 11 cells have been copied ...", Kavrin "Range of 13 x 3 cells ...".
std::string copiedReport(ScriptGrid grid, int rows, int columns);

// Cuts `text` at every `separator` into pieces; empty pieces are kept, so
// "a,,b," gives "a", "", "b", "". The pieces view `text`.
std::vector<std::string_view> splitAt(std::string_view text, char separator);

// The lines a paste inserts: the text cut at every CR, the LF that begins a
// piece dropped (the LF of a CR LF line end), and the last piece, the text
// after the last CR, never pasted. A text without CR gives no line, and a
// lone LF inside a line stays in it. The lines view `text`.
std::vector<std::string_view> pastedLines(std::string_view text);

// The rows a paste of `text` inserts into a table of `columns` columns, in
// clipboard order: field j of a line (cut at TAB) goes to column j - 1, fields
// beyond the last column are dropped, columns without a field stay empty.
// Every field is stored as text, except that on the Talsen table the first
// field becomes its leading number (0 when it has none); a first field whose
// number is too large for a double is kept as text rather than lost.
Table pastedRows(ScriptGrid grid, std::string_view text, int columns);

}  // namespace fulgor
