#pragma once

#include <string_view>

#include "core/table.h"

namespace fulgor {

// Line is the first column of every script table.
inline constexpr int kLineColumn = 0;

// Writes each row's index + 1, as a number, into Line, in the present row
// order; `rowsBefore` + index + 1 for a table that is a part of a larger
// script, after `rowsBefore` rows. Nothing else changes.
void renumberLines(Table& table, int rowsBefore = 0);
// The decimal text of row + 1, the Line renumberLines gives the row, in `digits`.
std::string_view lineText(int row, char (&digits)[16]);

// The Line column as it was before a command rewrote it. When it held each
// row's index + 1, in the present row order, only that is kept, and whether as
// numbers or as decimal texts (as a script just read holds them): a million
// cells spared on a big show. Any other column is kept as a copy.
struct KeptLines {
    enum class Form { Numbers, Texts, Copied };
    Form form = Form::Numbers;
    Table copy;  // the column, when Copied
};
KeptLines::Form lineForm(const Table& table);
KeptLines keepLines(const Table& table);
// Puts the Line column back as `lines` kept it.
void restoreLines(Table& table, const KeptLines& lines);

}  // namespace fulgor
