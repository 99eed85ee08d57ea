#include "addressing/renumber_lines.h"

#include <charconv>
#include <string_view>

namespace fulgor {
namespace {

constexpr int kLine[] = {0};

// The decimal text of row + 1, in `digits`.
std::string_view lineText(int row, char (&digits)[16]) {
    return {digits, std::to_chars(digits, digits + sizeof digits, row + 1).ptr};
}

}  // namespace

void renumberLines(Table& table) {
    for (int r = 0; r < table.rowCount(); ++r) table.setNumber(r, 0, r + 1);
}

KeptLines keepLines(const Table& table) {
    KeptLines lines;
    const int rows = table.rowCount();
    bool numbers = true;
    for (int r = 0; r < rows && numbers; ++r) numbers = table.cell(r, 0) == Cell::number(r + 1);
    if (numbers) return lines;
    bool texts = true;
    char digits[16];
    for (int r = 0; r < rows && texts; ++r)
        texts = table.cell(r, 0) == Cell::text(lineText(r, digits));
    if (texts) {
        lines.form = KeptLines::Form::Texts;
        return lines;
    }
    lines.form = KeptLines::Form::Copied;
    lines.copy = table.copyColumns(kLine);
    return lines;
}

void restoreLines(Table& table, const KeptLines& lines) {
    char digits[16];
    switch (lines.form) {
        case KeptLines::Form::Numbers:
            renumberLines(table);
            return;
        case KeptLines::Form::Texts:
            for (int r = 0; r < table.rowCount(); ++r) table.setText(r, 0, lineText(r, digits));
            return;
        case KeptLines::Form::Copied:
            for (int r = 0; r < lines.copy.rowCount(); ++r) table.setCell(r, 0, lines.copy.cell(r, 0));
            return;
    }
}

}  // namespace fulgor
