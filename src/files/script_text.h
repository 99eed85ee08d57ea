#pragma once
// The comma-separated text that both script files share: lines ended by CR LF
// (a lone LF and a missing final line end are read as line ends too), fields
// separated by "," without quoting, bytes in Windows-1252.

#include <string>
#include <string_view>

#include "core/progress.h"
#include "core/result.h"
#include "core/table.h"

namespace fulgor {

// Splits off the first line of `bytes`; `rest` receives what follows its line end.
std::string_view takeFirstLine(std::string_view bytes, std::string_view& rest);

// Reads every line of `bytes` as one row of `columns` cells: field k + 1 goes
// to column k, missing fields are empty, fields after the last column are
// dropped, an empty line gives a row of empty cells. Cells keep their text
// exactly (decoded to UTF-8), never converted to numbers. Reports to
// `progress` every kRowsPerReport rows; when it answers false, stops there and
// returns a table only partly filled, which the caller, having asked to stop,
// must not use.
Table parseRows(std::string_view bytes, int columns, const Progress& progress = {});

// Appends `line`, encoded in Windows-1252, and CR LF.
Status appendLine(std::string_view line, std::string& out);

// Appends every row: its cells as text (a number in its shortest form) joined
// by ",", then CR LF. Fails naming the row and column of a character the code
// page cannot hold.
Status appendRows(const Table& table, std::string& out);

}  // namespace fulgor
