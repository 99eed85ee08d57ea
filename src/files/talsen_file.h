#pragma once
// The Talsen script file (.csv): a header line "wave file name,TC offset,time
// type", then one line of 11 comma-separated cells per row of the table.

#include <functional>
#include <string>
#include <string_view>

#include "core/number_format.h"
#include "core/progress.h"
#include "core/result.h"
#include "core/table.h"
#include "files/file_io.h"
#include "files/script_text.h"

namespace fulgor {

// The form in which the TC offset is shown and, from there, saved.
inline constexpr std::string_view kTcOffsetMask = "0.00";

struct TalsenHeader {
    std::string waveName;
    std::string tcOffset = formatMask(0, kTcOffsetMask);  // as shown, and so as written
    std::string timeType;
};

struct TalsenScript : TalsenHeader {
    Table table{0, 11};
};

// Reads the file's bytes the way a Talsen script is opened: the header's
// second field by its leading number (0 when missing or unreadable) in the
// form kTcOffsetMask, fields after the third ignored; then the rows (see
// parseRows).
TalsenScript ImportTalsen(std::string_view bytes);

// Hands the file's bytes to `sink` piece by piece (see formatTalsen), so
// that a large script is never held whole as text; writeTalsenHeader the
// first line alone, for a writer that hands on the rows itself.
Status writeTalsenHeader(const TalsenHeader& header, const ByteSink& sink);
Status writeTalsen(const TalsenHeader& header, const Table& table, const ByteSink& sink,
                   const Progress& progress = {});

// The file's bytes: the header, then every row, each line ended by CR LF.
// Fails naming the row and column of a character the code page cannot hold.
Result<std::string> formatTalsen(const TalsenHeader& header, const Table& table);
inline Result<std::string> formatTalsen(const TalsenScript& script) {
    return formatTalsen(script, script.table);
}

// File conveniences over the two above; the errors name the file. A file with
// no bytes at all holds no header and is refused. Reading fails, naming the
// file, when `progress` (told the part of the file read every kRowsPerReport
// rows) answers false. Only the `columns` asked for are read (see
// ScriptTextReader::keepOnly).
Result<TalsenScript> readTalsenFile(const std::string& path, const Progress& progress,
                                    ColumnsRead columns = {});
inline Result<TalsenScript> readTalsenFile(const std::string& path) {
    return readTalsenFile(path, {});
}
// Reads the Talsen script at `path` a run of lines at a time, each line as
// the file holds it (see ScriptTextReader::handOnLines), for a command that
// rewrites lines one by one and so never needs a large script whole: `begin`
// gets the header, before any line, then `take` gets every line. Fails as
// readTalsenFile does, or as the first of `begin` and `take` that fails.
Status readTalsenLines(const std::string& path,
                       const std::function<Status(const TalsenHeader&)>& begin,
                       const ScriptTextReader::LinesTaker& take);
// A Talsen script held for a command that changes a few of its columns and
// writes the others back as the file holds them (see HeldRows).
struct HeldTalsenScript {
    TalsenHeader header;
    HeldRows rows;
};
// Fails as readTalsenFile does.
Result<HeldTalsenScript> holdTalsenFile(const std::string& path, ColumnsRead columns);
// Hands on the bytes SaveTalsenScript would save for the whole script: the
// header, then every row as the table holds it now (see writeRowsOver), the
// `changed` columns from the table.
Status writeHeldTalsen(const HeldTalsenScript& script, ColumnSet changed, const ByteSink& sink);
// Saving fails with kSaveCancelled, the file as it was, when `progress` asks to stop.
Status SaveTalsenScript(const std::string& path, const TalsenHeader& header, const Table& table,
                        const Progress& progress = {});
inline Status SaveTalsenScript(const std::string& path, const TalsenScript& script) {
    return SaveTalsenScript(path, script, script.table);
}

}  // namespace fulgor
