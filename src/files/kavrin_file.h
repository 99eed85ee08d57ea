#pragma once
// The Kavrin script file (.kvn): the show name as the whole first line, then
// one line of 13 comma-separated cells per row of the table.

#include <string>
#include <string_view>

#include "core/progress.h"
#include "core/result.h"
#include "core/script_columns.h"
#include "core/table.h"
#include "files/file_io.h"
#include "files/script_text.h"

namespace fulgor {

struct KavrinScript {
    std::string showName;
    Table table{0, 13};
};

// A line break in the show name would start a row of its own in the file.
inline constexpr std::string_view kShowNameOnOneLine =
    "the show name must be one line: it holds a line break";
// True when `text` holds a line feed or a carriage return.
bool hasLineBreak(std::string_view text);

KavrinScript ImportKavrin(std::string_view bytes);

// Hands the file's bytes to `sink` piece by piece (see formatKavrin), so
// that a large script is never held whole as text.
Status writeKavrin(std::string_view showName, const Table& table, const ByteSink& sink,
                   const Progress& progress = {});
// The file's first line alone, for a writer that hands on the rows itself
// (with writeRows) as it makes them.
Status writeKavrinShowName(std::string_view showName, const ByteSink& sink);

// The file's bytes: the show name, then every row, each line ended by CR LF.
// Fails when the show name holds a line feed (kShowNameOnOneLine), or naming
// the row and column of a character the code page cannot hold.
Result<std::string> formatKavrin(std::string_view showName, const Table& table);
inline Result<std::string> formatKavrin(const KavrinScript& script) {
    return formatKavrin(script.showName, script.table);
}

// File conveniences; the errors name the file. A file with no bytes at all is
// refused. Reading fails, naming the file, when `progress` (see
// readTalsenFile) answers false. Only the `columns` asked for are read (see
// ScriptTextReader::keepOnly).
Result<KavrinScript> readKavrinFile(const std::string& path, const Progress& progress,
                                    ColumnsRead columns = {});
inline Result<KavrinScript> readKavrinFile(const std::string& path) {
    return readKavrinFile(path, {});
}
// A Kavrin script held for a command that changes a few of its columns and
// writes the others back as the file holds them (see HeldRows).
struct HeldKavrinScript {
    std::string showName;
    HeldRows rows;
};
// Where the table of a script held with `kept` holds the panel columns; -1
// for one it does not hold, which the command must then never read.
constexpr kavrin::PanelColumns heldPanelColumns(ColumnSet kept) {
    auto place = [kept](int column) {
        return (kept >> column) & 1 ? heldColumn(kept, column) : -1;
    };
    return {place(kavrin::Line), place(kavrin::Shot), place(kavrin::Pos), place(kavrin::Time),
            place(kavrin::Mod),  place(kavrin::Pin),  place(kavrin::Err)};
}
// Fails as readKavrinFile does.
Result<HeldKavrinScript> holdKavrinFile(const std::string& path, ColumnsRead columns);
// Hands on the bytes SaveKavrinScript would save for the whole script: the
// show name, then every row as the table holds it now (see writeRowsOver), the
// `changed` columns from the table.
Status writeHeldKavrin(const HeldKavrinScript& script, ColumnSet changed, const ByteSink& sink);

// Saving fails with kSaveCancelled, the file as it was, when `progress` asks to stop.
Status SaveKavrinScript(const std::string& path, std::string_view showName, const Table& table,
                        const Progress& progress = {});
inline Status SaveKavrinScript(const std::string& path, const KavrinScript& script) {
    return SaveKavrinScript(path, script.showName, script.table);
}

}  // namespace fulgor
