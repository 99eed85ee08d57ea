#pragma once
// The comma-separated text that both script files share: lines ended by CR LF
// (a lone LF and a missing final line end are read as line ends too), fields
// separated by "," without quoting, bytes in Windows-1252.

#include <bit>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/in_order_worker.h"
#include "core/large_blocks.h"
#include "core/progress.h"
#include "core/result.h"
#include "core/table.h"
#include "files/file_io.h"

namespace fulgor {

// A set of a script's columns, column k as bit k.
using ColumnSet = std::uint64_t;
inline constexpr ColumnSet kEveryColumn = ~ColumnSet{0};
constexpr ColumnSet columnSet(std::initializer_list<int> columns) {
    ColumnSet set = 0;
    for (int column : columns) set |= ColumnSet{1} << column;
    return set;
}

// The columns a command reads of a script (see ScriptTextReader::keepOnly).
struct ColumnsRead {
    ColumnSet kept = kEveryColumn;
    ColumnSet asNumbers = 0;
};

// Where the script's column `column` (below 64), one of `kept`, stands in a
// table that holds the kept columns alone, side by side in the script's order.
constexpr int heldColumn(ColumnSet kept, int column) {
    return std::popcount(kept & ((ColumnSet{1} << column) - 1));
}

// Reads comma-separated text that arrives in pieces of any size (a file read
// block by block) into a table: every line is one row of `columns` cells,
// field k + 1 going to column k; missing fields are empty, fields after the
// last column are dropped, an empty line gives a row of empty cells. Cells
// keep their text exactly (decoded to UTF-8), never converted to numbers.
// With `headerLine`, the first line is kept apart instead of becoming a row.
// A large piece's lines are read on two threads, the rows keeping their order.
class ScriptTextReader {
public:
    ScriptTextReader(int columns, bool headerLine);

    // Makes room at once for a text of about `bytes` bytes (0: not known).
    void expect(std::uint64_t bytes) { m_expected = bytes; }
    // Told the part of the expected text read at every kRowsPerReport rows;
    // once it answers false the reader takes nothing more.
    void watch(const Progress& progress) { m_progress = progress; }
    // Reads only the fields of the columns in `columns.kept` and holds those
    // columns alone, side by side (see heldColumn): for a command that uses a
    // few of a script's columns and writes none of the others out, which
    // then cost nothing to read and no memory to hold.
    // A kept field of a column in `columns.asNumbers` that is a plain decimal
    // (see plainDecimal) is held as its number, any other as its text: for
    // columns such a command reads only as numbers, each then read once.
    // Called before the first feed.
    void keepOnly(ColumnsRead columns);
    // Holds where in the text each row's line begins, as a number in one more
    // column after the others: for a writer that copies the fields a command
    // leaves alone from the text's own bytes (see writeRowsOver), whichever
    // way the rows are sorted meanwhile. Called after keepOnly, if at all,
    // and before the first feed.
    void noteLineStarts();
    bool stopped() const { return m_stopped; }
    // Hands every line after the header on as the file holds it, without its
    // line end, instead of reading it into the table: for a command that
    // rewrites a script line by line (see appendWithFirstField). The lines go
    // in runs, as many as each piece fed ends, so that a taker can share a
    // run's work out: `take` is given the lines' bytes, valid until it
    // returns, and the first one's row index. A failure from `take` stops the
    // reading and is kept as failure().
    using LinesTaker = std::function<Status(std::span<const std::string_view> lines, int firstRow)>;
    void handOnLines(LinesTaker take);
    const Status& failure() const { return m_failure; }
    void feed(std::string_view bytes);
    // Ends the text, a last line without a line end being a line too, and
    // gives the table (empty when the lines were handed on). The reader is then spent.
    Table finish();

    // The first line's bytes without its line end (with `headerLine`).
    const std::string& headerLine() const { return m_header; }
    std::uint64_t bytesRead() const { return m_bytesRead; }

private:
    // Room for reading a line into a table: the line decoded, its row's cells.
    struct LineRoom {
        std::string decoded;
        std::vector<Cell> cells;
    };
    // `start`: where the line begins in the text.
    void appendRow(std::string_view line, std::uint64_t start, bool ascii, Table& table,
                   LineRoom& room) const;
    void readLines(std::string_view lines, std::uint64_t start, bool ascii);
    void readLinesInTurn(std::string_view lines, std::uint64_t start, bool ascii);
    void readLinesSharing(std::string_view lines, std::uint64_t start, bool ascii);
    // The memory of m_table that the cells of a piece's later half will take
    // once its rows join, the piece's `allBytes` beginning `start` bytes into
    // the text and its first `mineBytes` read into m_table first.
    std::span<const std::byte> laterRoom(std::size_t mineBytes, std::size_t allBytes,
                                         std::uint64_t start) const;
    bool reportAt(int row);
    void addLine(std::string_view line, bool ascii);
    void handOnRun();
    void makeRoom(std::string_view firstBytes);

    int m_columns;  // the script's columns
    int m_fields;   // the fields of a line looked for: to the last column kept
    bool m_wantHeader;
    ColumnSet m_kept = kEveryColumn;
    ColumnSet m_numbers = 0;
    bool m_noteLineStarts = false;
    std::uint64_t m_expected = 0;
    std::uint64_t m_bytesRead = 0;
    std::uint64_t m_lineStart = 0;  // where the line being read began in the text
    Progress m_progress;
    bool m_stopped = false;
    LinesTaker m_takeLines;
    std::vector<std::string_view> m_run;  // lines not yet handed on
    int m_linesHandedOn = 0;              // lines handed on so far
    Status m_failure;
    std::string m_header;
    std::string m_partial;  // a line begun in one piece and not yet ended
    std::string m_joined;   // such a line once ended, while it waits in m_run
    LineRoom m_room;
    Table m_table;
    // Rows a helper thread reads from the later half of a piece, and its room,
    // until they join m_table. The helper comes last, so that it is stopped
    // before what it works with goes.
    Table m_side;
    LineRoom m_sideRoom;
    std::optional<InOrderWorker> m_helper;
};

// Reads the script file at `path` into `reader` block by block, telling
// `progress` the part of the file read every kRowsPerReport rows. Fails as
// readFileBytes does, when the file holds no bytes at all ("... the file is
// empty, not a KIND script"), when memory runs out, or when `progress`
// answers false ("... the reading was cancelled").
Status readScriptFile(const std::string& path, std::string_view kind, ScriptTextReader& reader,
                      const Progress& progress = {});

// A script held for a command that changes a few of its columns and writes
// the others back as the file holds them (see writeRowsOver): the file's
// bytes, and in `table` the columns the command uses alone (see
// ScriptTextReader::keepOnly) and where each row's line begins (see
// ScriptTextReader::noteLineStarts).
struct HeldRows {
    WholeFile file;
    Table table;
    ColumnSet kept = 0;
};
// Reads the script file at `path` into `rows` with `reader`, which keeps
// only `columns` and is left finished, its header line kept; fails as
// readScriptFile does.
Status readHeldScriptFile(const std::string& path, std::string_view kind, ColumnsRead columns,
                          ScriptTextReader& reader, HeldRows& rows);

// Reads every line of `bytes` as one row (see ScriptTextReader).
Table parseRows(std::string_view bytes, int columns);

// Appends a line of a script's bytes, without its line end, as reading it
// into a table of `columns` columns and writing that row back would give it,
// but with `first` in place of its first field: fields after the last column
// dropped, missing ones empty, CR LF at the end. The other fields' bytes stay
// as they are, since a Windows-1252 text decoded and encoded again is the same.
void appendWithFirstField(std::string_view line, int columns, std::string_view first,
                          std::string& out);

// The line's first fields.size() fields, as reading the line into a table
// row of that many columns gives them: fields after the last dropped, missing
// ones empty. The fields view the line's bytes.
void splitFields(std::string_view line, std::span<std::string_view> fields);

// Appends the cells as a table row is written, but without encoding them: a
// number in its shortest decimal form, a text as it is, joined by ",", then
// CR LF. For cells that view a file's own bytes, which then stay as they are.
void appendCellsLine(std::span<const Cell> cells, std::string& out);

// Appends `line`, encoded in Windows-1252, and CR LF.
Status appendLine(std::string_view line, std::string& out);

// A writer hands its output on in pieces of all but the last kRowRoom bytes of
// a huge page (see core/large_blocks.cpp), so that a piece and the row that
// ends it fit in one: a row longer than that room is rare.
inline constexpr std::size_t kRowRoom = std::size_t{1} << 16;
inline constexpr std::size_t kPieceBytes = kHugePageBytes - kRowRoom;

// Hands every row to `sink` in pieces of kPieceBytes or so: its cells as text
// (a number in its shortest form) joined by ",", then CR LF, in Windows-1252.
// Fails naming the row and column of a character the code page cannot hold.
// A table that is a part of a larger one names its rows in messages counting
// from `firstRow` + 1. Stops with kSaveCancelled once `progress` asks to.
Status writeRows(const Table& table, const ByteSink& sink, int firstRow = 0,
                 const Progress& progress = {});
inline constexpr std::string_view kSaveCancelled = "the save was cancelled";

// A table read with keepOnly and noteLineStarts, its rows perhaps sorted
// since, beside the text it was read from: for writing back a script of
// which a command changed a few columns.
struct RowsOverText {
    std::string_view text;  // the whole text read
    int columns = 0;        // the script's
    ColumnSet kept = 0;     // the columns the table holds (see heldColumn)
    ColumnSet changed = 0;  // of those, the ones written from the table
};
// Hands every row to `sink` as writeRows would hand on the row of the whole
// script's table: the fields of the `changed` columns from the table's
// cells, every other field as the row's line holds it (its bytes, which
// decoded and encoded again would be the same); fields after the last column
// dropped, missing ones empty, CR LF at the end. Fails as writeRows does.
Status writeRowsOver(const Table& table, const RowsOverText& over, const ByteSink& sink);
// writeRowsOver for held rows of a script of `columns` columns.
Status writeHeldRows(const HeldRows& rows, int columns, ColumnSet changed, const ByteSink& sink);

// The pieces a writer hands on, gathered into one text.
Result<std::string> gatherBytes(const ByteProducer& produce);

}  // namespace fulgor
