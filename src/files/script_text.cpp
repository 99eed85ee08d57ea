#include "files/script_text.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
#include <new>
#include <optional>

#include "core/cp1252.h"
#include "core/fresh_pages.h"
#include "core/leading_number.h"
#include "core/number_format.h"
#include "core/pieces_in_turn.h"
#include "core/word_bytes.h"

namespace fulgor {
namespace {

// Calls `take` with each of the line's first `columns` fields, in order: the
// text between its commas. Fields after the last column are dropped; an empty
// line is one empty field.
template <class Take>
void forEachField(std::string_view line, int columns, Take&& take) {
    const char* field = line.data();  // where the field being read begins
    const char* p = field;
    const char* end = field + line.size();
    int taken = 0;
    auto endField = [&](const char* comma) {
        take(std::string_view(field, static_cast<std::size_t>(comma - field)));
        field = comma + 1;
        return ++taken == columns;
    };
    // Eight bytes at a time, most fields being a few bytes long.
    for (; end - p >= 8; p += 8) {
        for (std::uint64_t commas = bytesOf(wordAt(p), ','); commas != 0; commas &= commas - 1) {
            if (endField(p + std::countr_zero(commas) / 8)) return;
        }
    }
    for (; p < end; ++p) {
        if (*p == ',' && endField(p)) return;
    }
    take(std::string_view(field, static_cast<std::size_t>(end - field)));
}

// A cell as a line holds it before encoding: a number in its shortest
// decimal form, a text as it is.
void appendCell(const Cell& cell, std::string& out) {
    if (cell.isNumber()) {
        appendShortestText(cell.number(), out);
    } else {
        out.append(cell.text());
    }
}

// Appends the cell as a line holds it, a text in Windows-1252, failing on a
// character the code page cannot hold and naming its place: row `row` and
// column `column`, both counted from 0.
Status appendEncodedCell(const Cell& cell, int row, int column, std::string& out) {
    if (cell.isNumber()) {
        appendCell(cell, out);
    } else if (Status status = appendEncoded1252(cell.text(), out); !status) {
        return Error{"Row " + std::to_string(row + 1) + ", column " + std::to_string(column + 1) +
                     ": " + status.error()};
    }
    return {};
}

// Appends the row's cells joined by ",", then CR LF, as appendEncodedCell does.
Status appendEncodedRow(const Table& table, int row, int firstRow, std::string& out) {
    for (int column = 0; column < table.columnCount(); ++column) {
        if (column > 0) out.push_back(',');
        if (Status status = appendEncodedCell(table.cell(row, column), firstRow + row, column, out);
            !status)
            return status;
    }
    out.append("\r\n");
    return {};
}

}  // namespace

ScriptTextReader::ScriptTextReader(int columns, bool headerLine)
    : m_columns(columns),
      m_fields(columns),
      m_wantHeader(headerLine),
      m_table(0, columns),
      m_side(0, columns) {}

void ScriptTextReader::keepOnly(ColumnsRead columns) {
    m_kept = columns.kept;
    m_numbers = columns.asNumbers;
    m_fields = std::min(m_columns, static_cast<int>(std::bit_width(m_kept)));
    const int held = heldColumn(m_kept, m_fields);
    m_table = Table(0, held);
    m_side = Table(0, held);
}

void ScriptTextReader::noteLineStarts() {
    m_noteLineStarts = true;
    m_table = Table(0, m_table.columnCount() + 1);
    m_side = Table(0, m_side.columnCount() + 1);
}

// Room for the whole table at once, judged from the first piece's lines, so
// that a large file's rows and texts are never moved as the table grows. Room that is
// never filled costs no memory the system has to provide.
void ScriptTextReader::makeRoom(std::string_view firstBytes) {
    // A block's worth of lines tells their length well enough; a whole file
    // fed at once need not be walked twice.
    firstBytes = firstBytes.substr(0, kHugePageBytes);
    std::size_t lines = 0;
    std::size_t lastEnd = 0;
    for (std::size_t at = firstBytes.find('\n'); at != std::string_view::npos;
         at = firstBytes.find('\n', at + 1)) {
        ++lines;
        lastEnd = at + 1;
    }
    if (lines == 0 || m_expected == 0) return;
    double bytesPerLine = static_cast<double>(lastEnd) / static_cast<double>(lines);
    auto rows = static_cast<std::size_t>(static_cast<double>(m_expected) / bytesPerLine * 1.1) + 16;
    rows = std::min<std::size_t>(rows, INT32_MAX / 2);
    m_table.reserveRows(static_cast<int>(rows));
    // The long texts are a part of the file's bytes (more only where
    // Windows-1252 letters take two or three bytes in UTF-8), so room for the
    // whole file spares the pool from being copied as it grows.
    m_table.reserveLongText(
        std::min<std::size_t>(static_cast<std::size_t>(m_expected),
                              static_cast<std::size_t>(static_cast<double>(rows) * bytesPerLine)));
}

void ScriptTextReader::handOnLines(LinesTaker take) {
    m_takeLines = std::move(take);
}

void ScriptTextReader::handOnRun() {
    if (m_run.empty() || m_stopped) return;
    Status taken = m_takeLines(m_run, m_linesHandedOn);
    m_linesHandedOn += static_cast<int>(m_run.size());
    m_run.clear();
    if (!taken) {
        m_failure = taken;
        m_stopped = true;
    }
}

// Calls `take` with each line of `lines`, which ends with a line end, without
// its line end (CR LF or LF), and where the next line begins.
template <class Take>
void forEachLine(std::string_view lines, Take&& take) {
    const char* p = lines.data();
    const char* const end = p + lines.size();
    while (p < end) {
        const auto* lineEnd =
            static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        std::string_view line(p, static_cast<std::size_t>(lineEnd - p));
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        p = lineEnd + 1;
        if (!take(line, p)) return;
    }
}

void ScriptTextReader::feed(std::string_view bytes) {
    if (m_stopped) return;
    if (m_bytesRead == 0 && !m_takeLines) makeRoom(bytes);
    m_bytesRead += bytes.size();
    // Lines handed on keep their bytes, so their code page never matters.
    const bool ascii = m_takeLines || isAscii(bytes);
    if (!m_partial.empty()) {
        // A line begun in an earlier piece ends here, if the piece has a line end.
        const std::size_t lineEnd = bytes.find('\n');
        if (lineEnd == std::string_view::npos) {
            m_partial.append(bytes);
            return;
        }
        m_partial.append(bytes.substr(0, lineEnd));
        m_joined.swap(m_partial);
        m_partial.clear();
        std::string_view joined = m_joined;
        if (!joined.empty() && joined.back() == '\r') joined.remove_suffix(1);
        addLine(joined, isAscii(joined));
        if (m_stopped) return;
        bytes.remove_prefix(lineEnd + 1);
        m_lineStart = m_bytesRead - bytes.size();
    }
    const std::size_t lastEnd = bytes.rfind('\n');
    const std::size_t whole = lastEnd == std::string_view::npos ? 0 : lastEnd + 1;
    readLines(bytes.substr(0, whole), m_bytesRead - bytes.size(), ascii);
    if (m_stopped) return;
    m_partial.append(bytes.substr(whole));
    handOnRun();
}

// A piece's lines are read on two threads once they are this many bytes: a
// helper reads the later half into m_side meanwhile.
constexpr std::size_t kBytesToShare = std::size_t{1} << 18;

void ScriptTextReader::readLines(std::string_view lines, std::uint64_t start, bool ascii) {
    if (m_takeLines || lines.size() < kBytesToShare) return readLinesInTurn(lines, start, ascii);
    if (m_wantHeader) {
        // The header stays apart.
        forEachLine(lines, [&](std::string_view header, const char* next) {
            addLine(header, ascii);
            const auto taken = static_cast<std::size_t>(next - lines.data());
            lines.remove_prefix(taken);
            start += taken;
            m_lineStart = start;
            return false;
        });
    }
    // A piece larger than a file's block is shared a block's worth at a
    // time, so that the helper's table stays as small as a file's reading keeps it.
    while (!lines.empty() && !m_stopped) {
        const std::size_t end =
            lines.size() <= kHugePageBytes ? lines.size() : lines.find('\n', kHugePageBytes) + 1;
        readLinesSharing(lines.substr(0, end), start, ascii);
        lines.remove_prefix(end);
        start += end;
    }
}

void ScriptTextReader::readLinesInTurn(std::string_view lines, std::uint64_t start, bool ascii) {
    forEachLine(lines, [&](std::string_view line, const char* next) {
        addLine(line, ascii);
        m_lineStart = start + static_cast<std::uint64_t>(next - lines.data());
        return !m_stopped;
    });
}

// Judged from the rows read so far, which `start` bytes held: a piece's
// lines differ, so a tenth more is taken either way. Should this thread's
// rows outgrow the room made and move the table meanwhile, the pages brought
// in are the old room's: time lost, nothing changed. The long texts the rows
// add to the pool are left to come as they come: bringing theirs in too
// measured no faster.
std::span<const std::byte> ScriptTextReader::laterRoom(std::size_t mineBytes, std::size_t allBytes,
                                                       std::uint64_t start) const {
    const auto rows = static_cast<std::size_t>(m_table.rowCount());
    if (rows == 0) return {};
    const double bytesPerRow = static_cast<double>(start) / static_cast<double>(rows);
    auto rowsIn = [bytesPerRow](std::size_t bytes, double share) {
        return static_cast<std::size_t>(static_cast<double>(bytes) / bytesPerRow * share);
    };
    return m_table.rowRoom(rows + rowsIn(mineBytes, 0.9), rows + rowsIn(allBytes, 1.1));
}

void ScriptTextReader::readLinesSharing(std::string_view lines, std::uint64_t start, bool ascii) {
    // Halves: giving either thread more measured no faster.
    const std::size_t split = lines.find('\n', lines.size() / 2) + 1;
    const std::string_view mine = lines.substr(0, split);
    const std::string_view later = lines.substr(split);
    if (!m_helper) m_helper.emplace(1);
    const std::span<const std::byte> room = laterRoom(mine.size(), lines.size(), start);
    // The helper reads the piece, which is gone once this returns. Its rows
    // need no moving, so it is done first as a rule; it then brings in the
    // fresh memory their cells will take in m_table, where this thread would
    // otherwise stop on every new page as it moves them there.
    const std::uint64_t laterStart = start + split;
    static_cast<void>(m_helper->alongside(
        [this, later, laterStart, ascii, room] {
            forEachLine(later, [&](std::string_view line, const char*) {
                appendRow(line, laterStart + static_cast<std::uint64_t>(line.data() - later.data()),
                          ascii, m_side, m_sideRoom);
                return true;
            });
            bringPagesIn(room);
            return Status{};
        },
        [&] { readLinesInTurn(mine, start, ascii); }));
    if (m_stopped) return;
    const int firstLater = m_table.rowCount();
    m_table.takeRows(m_side);
    // The reports that fall on the later rows, each telling where its line began.
    const char* lineStart = later.data();
    int row = firstLater;
    for (int report = (firstLater + kRowsPerReport - 1) / kRowsPerReport * kRowsPerReport;
         report < m_table.rowCount(); report += kRowsPerReport) {
        for (; row < report; ++row)
            lineStart = static_cast<const char*>(std::memchr(
                            lineStart, '\n', static_cast<std::size_t>(later.end() - lineStart))) +
                        1;
        m_lineStart = start + static_cast<std::uint64_t>(lineStart - lines.data());
        if (!reportAt(report)) return;
    }
    m_lineStart = start + lines.size();
}

Table ScriptTextReader::finish() {
    // A last line without a line end keeps everything it holds, even a CR.
    if (!m_partial.empty() && !m_stopped) {
        m_joined.swap(m_partial);
        addLine(m_joined, isAscii(m_joined));
        handOnRun();
    }
    m_partial.clear();
    return std::move(m_table);
}

bool ScriptTextReader::reportAt(int row) {
    if (!m_progress || row % kRowsPerReport != 0) return true;
    double done =
        m_expected > 0 ? static_cast<double>(m_lineStart) / static_cast<double>(m_expected) : 0;
    if (!m_progress(std::min(done, 1.0))) m_stopped = true;
    return !m_stopped;
}

void ScriptTextReader::addLine(std::string_view line, bool ascii) {
    if (m_wantHeader) {
        m_header.assign(line);
        m_wantHeader = false;
        return;
    }
    if (!reportAt(m_linesHandedOn + static_cast<int>(m_run.size()) + m_table.rowCount())) return;
    if (m_takeLines) {
        m_run.push_back(line);
        return;
    }
    appendRow(line, m_lineStart, ascii, m_table, m_room);
}

void ScriptTextReader::appendRow(std::string_view line, std::uint64_t start, bool ascii,
                                 Table& table, LineRoom& room) const {
    if (!ascii && !isAscii(line)) {
        // Windows-1252 letters become UTF-8 bytes of 0x80 and above, so the
        // decoded line keeps its commas where they were.
        room.decoded.clear();
        appendDecoded1252(line, room.decoded);
        line = room.decoded;
    }
    // Room for the whole row, made once and filled by index: a row is read
    // per line, and growing a vector cell by cell costs more than the cells.
    std::vector<Cell>& cells = room.cells;
    cells.resize(static_cast<std::size_t>(table.columnCount()));
    std::size_t filled = 0;
    // Fields after the last column kept are not even looked for.
    if (m_fields > 0) {
        int column = 0;
        forEachField(line, m_fields, [&](std::string_view field) {
            const int at = column++;
            if (!((m_kept >> at) & 1)) return;
            // An empty field, common where cues have no address yet, is no
            // number and is held as the empty text without a reading.
            if (((m_numbers >> at) & 1) && !field.empty()) {
                if (std::optional<double> x = plainDecimal(field)) {
                    cells[filled++] = Cell::number(*x);
                    return;
                }
            }
            cells[filled++] = Cell::text(field);
        });
    }
    if (m_noteLineStarts) {
        for (; filled + 1 < cells.size(); ++filled) cells[filled] = Cell();
        cells[filled++] = Cell::number(static_cast<double>(start));
    }
    table.appendRow(std::span(cells).first(filled));
}

namespace {

// Reads with `read`, then fails as readScriptFile does.
Status readAndJudge(const std::string& path, std::string_view kind, const ScriptTextReader& reader,
                    const std::function<Status()>& read) {
    try {
        if (Status status = read(); !status) return status;
    } catch (const std::bad_alloc&) {
        return outOfMemoryReading(path);
    }
    if (reader.stopped()) return readingStopped(path);
    if (reader.bytesRead() == 0)
        return Error{"Cannot read \"" + path + "\": the file is empty, not a " + std::string(kind) +
                     " script"};
    return {};
}

}  // namespace

Status readScriptFile(const std::string& path, std::string_view kind, ScriptTextReader& reader,
                      const Progress& progress) {
    reader.watch(progress);
    return readAndJudge(path, kind, reader, [&] {
        return readFileBlocks(path, {[&](std::uint64_t size) { reader.expect(size); },
                                     [&](std::string_view block) {
                                         reader.feed(block);
                                         return !reader.stopped();
                                     }});
    });
}

Status readHeldScriptFile(const std::string& path, std::string_view kind, ColumnsRead columns,
                          ScriptTextReader& reader, HeldRows& rows) {
    reader.keepOnly(columns);
    reader.noteLineStarts();
    Status read = readAndJudge(path, kind, reader, [&]() -> Status {
        Result<WholeFile> held = holdWholeFile(path);
        if (!held) return Error{held.error()};
        rows.file = std::move(held.value());
        reader.expect(rows.file.bytes().size());
        reader.feed(rows.file.bytes());
        rows.table = reader.finish();
        // The command's work, a sort as a rule, then needs room of its own
        // before the writing reads the bytes again: room enough for a sort
        // to move the rows through a copy of the cells, the faster way.
        rows.file.putAside();
        rows.table.setRowMoving(Table::RowMoving::ThroughCopy);
        return {};
    });
    rows.kept = columns.kept;
    return read;
}

Table parseRows(std::string_view bytes, int columns) {
    ScriptTextReader reader(columns, false);
    reader.expect(bytes.size());
    reader.feed(bytes);
    return reader.finish();
}

void appendWithFirstField(std::string_view line, int columns, std::string_view first,
                          std::string& out) {
    out.append(first);
    // The second to the last kept field stand together in the line.
    int fields = 0;
    const char* second = nullptr;
    const char* keptEnd = nullptr;
    forEachField(line, columns, [&](std::string_view field) {
        if (++fields == 2) second = field.data();
        keptEnd = field.data() + field.size();
    });
    if (second) {
        out.push_back(',');
        out.append(second, static_cast<std::size_t>(keptEnd - second));
    }
    out.append(static_cast<std::size_t>(columns - fields), ',');
    out.append("\r\n");
}

void splitFields(std::string_view line, std::span<std::string_view> fields) {
    std::size_t taken = 0;
    forEachField(line, static_cast<int>(fields.size()),
                 [&](std::string_view field) { fields[taken++] = field; });
    std::fill(fields.begin() + static_cast<std::ptrdiff_t>(taken), fields.end(),
              std::string_view());
}

void appendCellsLine(std::span<const Cell> cells, std::string& out) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) out.push_back(',');
        appendCell(cells[i], out);
    }
    out.append("\r\n");
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

namespace {

// How far ahead of the row being written a writer asks for memory that a
// sort has scattered.
constexpr int kRowsAhead = 8;

// Makes the text of rows [begin, end) in `out`, as the file holds it. Cells go
// out as they are and the text is checked for ASCII at once; one that holds
// other characters is encoded where it stands, and only one holding a
// character the code page cannot hold is made again, row by row, to name that cell.
Status formatRows(const Table& table, int begin, int end, int firstRow, std::string& out) {
    out.clear();
    for (int row = begin; row < end; ++row) {
        // After a sort the long texts of neighbouring rows lie far apart.
        if (row + kRowsAhead < end) table.prefetchLongTexts(row + kRowsAhead);
        table.appendRowText(row, ',', out);
        out.append("\r\n");
    }
    if (isAscii(out) || encode1252InPlace(out)) return {};
    out.clear();
    for (int row = begin; row < end; ++row) {
        if (Status status = appendEncodedRow(table, row, firstRow, out); !status) return status;
    }
    return {};
}

// Rows to a piece: about kPieceBytes of text, `bytesPerRow` being a guess at
// a row's, and never past a report, so that the reports fall where they
// always did.
int rowsPerPiece(std::size_t bytesPerRow) {
    return static_cast<int>(std::clamp<std::size_t>(
        kPieceBytes / std::max<std::size_t>(1, bytesPerRow), 1, kRowsPerReport));
}

// Makes the text of `rows` rows in pieces of `pieceRows` with `make` (see
// makePiecesInTurn), each in room for `room` bytes, and hands it to `sink`.
Status writePieces(int rows, int pieceRows, std::size_t room, const PieceStep<std::string>& make,
                   const ByteSink& sink, const Progress& progress) {
    ProgressWatch watch(progress);
    std::string first;
    std::string second;
    first.reserve(room);
    if (rows > pieceRows) second.reserve(room);
    // Reports and the sink stay on the calling thread.
    return makePiecesInTurn<std::string>(rows, pieceRows, first, second, make,
                                         [&](int begin, int end, std::string& out) -> Status {
                                             if (!reportRows(watch, begin, end, rows))
                                                 return Error{std::string(kSaveCancelled)};
                                             return sink(out);
                                         });
}

// The line that begins `start` bytes into `text`, as the reader took it: to
// its line end, a CR before the LF dropped; a last line without a line end
// keeps everything it holds.
std::string_view lineAt(std::string_view text, std::uint64_t start) {
    std::string_view rest = text.substr(static_cast<std::size_t>(start));
    const std::size_t end = rest.find('\n');
    if (end == std::string_view::npos) return rest;
    std::string_view line = rest.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

// Where row `row`'s line begins in the text.
std::uint64_t lineStartOf(const Table& table, int row) {
    return static_cast<std::uint64_t>(table.cell(row, table.columnCount() - 1).number());
}

// Where the field `commas` commas on from `from` begins (`commas` at least
// 1), or nothing when fewer stand before `end`, `found` then telling how many
// do. Counted a word at a time: a writer passing over the fields it leaves
// alone need not meet them one by one.
const char* afterCommas(const char* from, const char* end, int commas, int& found) {
    int left = commas;
    const char* p = from;
    for (; end - p >= 8; p += 8) {
        std::uint64_t marks = bytesOf(wordAt(p), ',');
        const int here = markedBytes(marks);
        if (here >= left) {
            for (; left > 1; --left) marks &= marks - 1;
            return p + std::countr_zero(marks) / 8 + 1;
        }
        left -= here;
    }
    for (; p < end; ++p) {
        if (*p == ',' && --left == 0) return p + 1;
    }
    found = commas - left;
    return nullptr;
}

// Appends row `row` as writeRowsOver writes it, then CR LF.
Status appendRowOver(const Table& table, const RowsOverText& over, int row, std::string& out) {
    Status status;
    auto appendChanged = [&](int column) {
        if (status)
            status =
                appendEncodedCell(table.cell(row, heldColumn(over.kept, column)), row, column, out);
    };
    const std::string_view line = lineAt(over.text, lineStartOf(table, row));
    const char* const end = line.data() + line.size();
    // The fields left alone go out in runs, commas and all, straight from the
    // line: `copied` is where the bytes not yet out begin, `field` where field
    // `column` does, while the line holds that field.
    const char* copied = line.data();
    const char* field = line.data();
    int column = 0;
    int found = 0;
    for (ColumnSet changed = over.changed; changed != 0; changed &= changed - 1) {
        const int next = std::countr_zero(changed);
        if (next >= over.columns) break;
        if (next > column) {
            field = afterCommas(field, end, next - column, found);
            if (!field) {
                column += found;
                break;
            }
            column = next;
        }
        const char* const after = afterCommas(field, end, 1, found);
        out.append(copied, static_cast<std::size_t>(field - copied));
        appendChanged(column);
        copied = after ? after - 1 : end;
        field = after;
        if (!field) break;
        ++column;
    }
    // The rest up to the last column; `column` becomes the last field written.
    if (!field) {
        out.append(copied, static_cast<std::size_t>(end - copied));
    } else if (column == over.columns) {
        --column;
    } else {
        const char* const dropped = afterCommas(field, end, over.columns - column, found);
        out.append(copied, static_cast<std::size_t>((dropped ? dropped - 1 : end) - copied));
        column = dropped ? over.columns - 1 : column + found;
    }
    // Fields the line lacks.
    for (++column; column < over.columns; ++column) {
        out.push_back(',');
        if ((over.changed >> column) & 1) appendChanged(column);
    }
    out.append("\r\n");
    return status;
}

}  // namespace

Status writeRows(const Table& table, const ByteSink& sink, int firstRow, const Progress& progress) {
    const int rows = table.rowCount();
    if (rows == 0) return {};
    // A small table takes room for its whole text, some bytes a cell, instead
    // of a whole piece: a huge page made and cleared for a few rows costs more
    // than it saves.
    constexpr std::size_t kBytesPerCellGuess = 8;
    const std::size_t room =
        std::min(kPieceBytes + kRowRoom, static_cast<std::size_t>(rows) *
                                             static_cast<std::size_t>(table.columnCount() + 1) *
                                             kBytesPerCellGuess);
    return writePieces(
        rows, rowsPerPiece(table.memoryBytes() / static_cast<std::size_t>(rows)), room,
        [&](int begin, int end, std::string& out) {
            return formatRows(table, begin, end, firstRow, out);
        },
        sink, progress);
}

Status writeRowsOver(const Table& table, const RowsOverText& over, const ByteSink& sink) {
    const int rows = table.rowCount();
    if (rows == 0) return {};
    // The text read tells a row's bytes closely: a changed field is a number
    // or empty, most often as long as the one it replaces.
    const std::size_t bytesPerRow = over.text.size() / static_cast<std::size_t>(rows) + 1;
    return writePieces(
        rows, rowsPerPiece(bytesPerRow),
        std::min(kPieceBytes + kRowRoom, static_cast<std::size_t>(rows) * bytesPerRow),
        [&](int begin, int end, std::string& out) -> Status {
            out.clear();
            for (int row = begin; row < end; ++row) {
                // Sorted rows read their lines far apart in the text.
                if (row + kRowsAhead < end) {
                    const char* ahead = over.text.data() + lineStartOf(table, row + kRowsAhead);
                    __builtin_prefetch(ahead);
                    __builtin_prefetch(ahead + 64);
                }
                if (Status status = appendRowOver(table, over, row, out); !status) return status;
            }
            return {};
        },
        sink, {});
}

Status writeHeldRows(const HeldRows& rows, int columns, ColumnSet changed, const ByteSink& sink) {
    // The sort's room, kept for reuse, makes way for the file's pages, which
    // come back at once rather than one trap into the kernel at a time.
    giveBackKeptLargeBlocks();
    rows.file.bringBack();
    return writeRowsOver(rows.table, {rows.file.bytes(), columns, rows.kept, changed}, sink);
}

Result<std::string> gatherBytes(const ByteProducer& produce) {
    std::string out;
    Status made = produce([&out](std::string_view piece) -> Status {
        out.append(piece);
        return {};
    });
    if (!made) return Error{made.error()};
    return out;
}

}  // namespace fulgor
