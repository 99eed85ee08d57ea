#include "editing/clipboard_rows.h"

#include <cmath>

#include "core/leading_number.h"

namespace fulgor {

std::string clipboardText(const Table& table, std::span<const int> rows) {
    std::string text;
    for (int row : rows) {
        for (int c = 0; c < table.columnCount(); ++c) {
            text += cellText(table.cell(row, c));
            text += c + 1 < table.columnCount() ? "\t" : "\r\n";
        }
    }
    return text;
}

std::string copiedReport(ScriptGrid grid, int rows, int columns) {
    const std::string tail = " cells have been copied to the clipboard in TAB delimited format";
    if (grid == ScriptGrid::Talsen)
        return std::to_string(rows) + " Rows of " + std::to_string(columns) + tail;
    return "Range of " + std::to_string(columns) + " x " + std::to_string(rows) + tail;
}

std::vector<std::string_view> splitAt(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    for (;;) {
        std::size_t end = text.find(separator);
        pieces.push_back(text.substr(0, end));
        if (end == std::string_view::npos) return pieces;
        text.remove_prefix(end + 1);
    }
}

std::vector<std::string_view> pastedLines(std::string_view text) {
    std::vector<std::string_view> lines = splitAt(text, '\r');
    lines.pop_back();
    for (std::string_view& line : lines) {
        if (line.starts_with('\n')) line.remove_prefix(1);
    }
    return lines;
}

Table pastedRows(ScriptGrid grid, std::string_view text, int columns) {
    std::vector<std::string_view> lines = pastedLines(text);
    Table rows(static_cast<int>(lines.size()), columns);
    for (std::size_t r = 0; r < lines.size(); ++r) {
        const auto row = static_cast<int>(r);
        std::vector<std::string_view> fields = splitAt(lines[r], '\t');
        for (int c = 0; c < columns && c < static_cast<int>(fields.size()); ++c) {
            std::string_view field = fields[static_cast<std::size_t>(c)];
            const bool lineNumber = c == 0 && grid == ScriptGrid::Talsen;
            double number = lineNumber ? leadingNumber(field) : 0;
            if (lineNumber && std::isfinite(number)) {
                rows.setNumber(row, c, number);
            } else {
                rows.setText(row, c, field);
            }
        }
    }
    return rows;
}

}  // namespace fulgor
