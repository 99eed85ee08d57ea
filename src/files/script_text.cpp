#include "files/script_text.h"

#include <cstring>

#include "core/cp1252.h"
#include "core/number_format.h"

namespace fulgor {
namespace {

std::string_view trimCarriageReturn(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

// Appends the row's cells joined by ",", then CR LF: texts as they are
// (UTF-8) or, with `encode`, in Windows-1252, failing on a character the code
// page cannot hold and naming its place.
Status appendRowCells(const Table& table, int row, bool encode, std::string& out) {
    for (int column = 0; column < table.columnCount(); ++column) {
        if (column > 0) out.push_back(',');
        Cell cell = table.cell(row, column);
        if (cell.isNumber()) {
            appendShortestText(cell.number(), out);
        } else if (!encode) {
            out.append(cell.text());
        } else if (Status status = appendEncoded1252(cell.text(), out); !status) {
            return Error{"Row " + std::to_string(row + 1) + ", column " +
                         std::to_string(column + 1) + ": " + status.error()};
        }
    }
    out.append("\r\n");
    return {};
}

std::size_t countLineEnds(std::string_view bytes) {
    std::size_t count = 0;
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    while (const void* found = std::memchr(p, '\n', static_cast<std::size_t>(end - p))) {
        ++count;
        p = static_cast<const char*>(found) + 1;
    }
    return count;
}

}  // namespace

std::string_view takeFirstLine(std::string_view bytes, std::string_view& rest) {
    std::size_t end = bytes.find('\n');
    if (end == std::string_view::npos) {
        rest = {};
        return bytes;
    }
    rest = bytes.substr(end + 1);
    return trimCarriageReturn(bytes.substr(0, end));
}

Table parseRows(std::string_view bytes, int columns) {
    int rows =
        static_cast<int>(countLineEnds(bytes)) + ((!bytes.empty() && bytes.back() != '\n') ? 1 : 0);
    Table table(rows, columns);
    // Checked once for the whole text: a pure ASCII file, the usual case,
    // then needs no field decoded.
    const bool ascii = isAscii(bytes);
    std::string decoded;
    std::string_view rest = bytes;
    for (int row = 0; row < rows; ++row) {
        std::string_view line = takeFirstLine(rest, rest);
        const char* field = line.data();
        const char* end = line.data() + line.size();
        for (int column = 0; column < columns; ++column) {
            const char* comma = field;
            while (comma < end && *comma != ',') ++comma;
            std::string_view text(field, static_cast<std::size_t>(comma - field));
            if (ascii || isAscii(text)) {
                table.setText(row, column, text);
            } else {
                decoded.clear();
                appendDecoded1252(text, decoded);
                table.setText(row, column, decoded);
            }
            if (comma == end) break;
            field = comma + 1;
        }
    }
    return table;
}

Status appendLine(std::string_view line, std::string& out) {
    if (isAscii(line)) {
        out.append(line);
    } else if (Status status = appendEncoded1252(line, out); !status) {
        return status;
    }
    out.append("\r\n");
    return {};
}

Status appendRows(const Table& table, std::string& out) {
    // Room for every row at once: growing a show's worth of text step by step
    // would copy it several times over.
    constexpr std::size_t kShortCellBytes = 5;  // a typical inline cell and its comma
    out.reserve(out.size() + table.longTextBytes() +
                static_cast<std::size_t>(table.rowCount()) *
                    (table.columnCount() * kShortCellBytes + 2));
    for (int row = 0; row < table.rowCount(); ++row) {
        // Cells go out as they are and the row is checked for ASCII once; only
        // a row that holds other characters is written again, encoded.
        const std::size_t rowStart = out.size();
        if (Status status = appendRowCells(table, row, false, out); !status) return status;
        if (isAscii(std::string_view(out).substr(rowStart))) continue;
        out.resize(rowStart);
        if (Status status = appendRowCells(table, row, true, out); !status) return status;
    }
    return {};
}

}  // namespace fulgor
