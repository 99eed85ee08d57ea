#include "addressing/renumber_lines.h"

#include <charconv>
#include <string_view>

#include "core/script_columns.h"

namespace fulgor {

// Both tables put Line first, so one column number serves them.
static_assert(talsen::Line == kLineColumn && kavrin::Line == kLineColumn);

std::string_view lineText(int row, char (&digits)[16]) {
    return {digits, std::to_chars(digits, digits + sizeof digits, row + 1).ptr};
}

void renumberLines(Table& table, int rowsBefore) {
    for (int r = 0; r < table.rowCount(); ++r) table.setNumber(r, kLineColumn, rowsBefore + r + 1);
}

KeptLines::Form lineForm(const Table& table) {
    const int rows = table.rowCount();
    bool numbers = true;
    for (int r = 0; r < rows && numbers; ++r)
        numbers = table.cell(r, kLineColumn) == Cell::number(r + 1);
    if (numbers) return KeptLines::Form::Numbers;
    char digits[16];
    for (int r = 0; r < rows; ++r) {
        if (!(table.cell(r, kLineColumn) == Cell::text(lineText(r, digits))))
            return KeptLines::Form::Copied;
    }
    return KeptLines::Form::Texts;
}

KeptLines keepLines(const Table& table) {
    static constexpr int kLine[] = {kLineColumn};
    KeptLines lines{lineForm(table), {}};
    if (lines.form == KeptLines::Form::Copied) lines.copy = table.copyColumns(kLine);
    return lines;
}

void restoreLines(Table& table, const KeptLines& lines) {
    char digits[16];
    switch (lines.form) {
        case KeptLines::Form::Numbers:
            renumberLines(table);
            return;
        case KeptLines::Form::Texts:
            for (int r = 0; r < table.rowCount(); ++r)
                table.setText(r, kLineColumn, lineText(r, digits));
            return;
        case KeptLines::Form::Copied:
            for (int r = 0; r < lines.copy.rowCount(); ++r)
                table.setCell(r, kLineColumn, lines.copy.cell(r, 0));
            return;
    }
}

}  // namespace fulgor
