#include "files/talsen_file.h"

#include <cmath>

#include "core/cp1252.h"
#include "core/leading_number.h"
#include "core/number_format.h"
#include "core/script_columns.h"
#include "files/file_io.h"
#include "files/script_text.h"

namespace fulgor {

namespace {

// The header line's fields: the wave file, the TC offset by its leading number
// (0 when missing or unreadable), the time type; fields after the third ignored.
void readHeader(std::string_view bytes, TalsenHeader& header) {
    std::string line = decode1252(bytes);
    std::string_view fields = line;
    std::size_t comma = fields.find(',');
    header.waveName = std::string(fields.substr(0, comma));
    if (comma == std::string_view::npos) return;
    fields.remove_prefix(comma + 1);
    comma = fields.find(',');
    double offset = leadingNumber(fields.substr(0, comma));
    header.tcOffset = formatMask(std::isfinite(offset) ? offset : 0, kTcOffsetMask);
    if (comma == std::string_view::npos) return;
    fields.remove_prefix(comma + 1);
    header.timeType = std::string(fields.substr(0, fields.find(',')));
}

TalsenScript finishTalsen(ScriptTextReader& reader) {
    TalsenScript script;
    script.table = reader.finish();
    readHeader(reader.headerLine(), script);
    return script;
}

}  // namespace

TalsenScript ImportTalsen(std::string_view bytes) {
    ScriptTextReader reader(talsen::ColumnCount, true);
    reader.expect(bytes.size());
    reader.feed(bytes);
    return finishTalsen(reader);
}

Status writeTalsenHeader(const TalsenHeader& header, const ByteSink& sink) {
    std::string out;
    std::string line = header.waveName + "," + header.tcOffset + "," + header.timeType;
    if (Status status = appendLine(line, out); !status) return Error{"Header: " + status.error()};
    return sink(out);
}

Status writeTalsen(const TalsenHeader& header, const Table& table, const ByteSink& sink,
                   const Progress& progress) {
    if (Status status = writeTalsenHeader(header, sink); !status) return status;
    return writeRows(table, sink, 0, progress);
}

Result<std::string> formatTalsen(const TalsenHeader& header, const Table& table) {
    return gatherBytes([&](const ByteSink& sink) { return writeTalsen(header, table, sink); });
}

Result<TalsenScript> readTalsenFile(const std::string& path, const Progress& progress,
                                    ColumnsRead columns) {
    ScriptTextReader reader(talsen::ColumnCount, true);
    reader.keepOnly(columns);
    if (Status read = readScriptFile(path, "Talsen", reader, progress); !read)
        return Error{read.error()};
    return finishTalsen(reader);
}

Status readTalsenLines(const std::string& path,
                       const std::function<Status(const TalsenHeader&)>& begin,
                       const ScriptTextReader::LinesTaker& take) {
    ScriptTextReader reader(talsen::ColumnCount, true);
    // `begin` gets the header before the first line, or at the end when there is none.
    bool begun = false;
    auto beginOnce = [&]() -> Status {
        if (begun) return {};
        begun = true;
        TalsenHeader header;
        readHeader(reader.headerLine(), header);
        return begin(header);
    };
    reader.handOnLines([&](std::span<const std::string_view> lines, int firstRow) -> Status {
        if (Status started = beginOnce(); !started) return started;
        return take(lines, firstRow);
    });
    Status read = readScriptFile(path, "Talsen", reader);
    if (!reader.failure()) return reader.failure();
    if (!read) return read;
    reader.finish();
    if (!reader.failure()) return reader.failure();
    return beginOnce();
}

Result<HeldTalsenScript> holdTalsenFile(const std::string& path, ColumnsRead columns) {
    ScriptTextReader reader(talsen::ColumnCount, true);
    HeldTalsenScript script;
    if (Status read = readHeldScriptFile(path, "Talsen", columns, reader, script.rows); !read)
        return Error{read.error()};
    readHeader(reader.headerLine(), script.header);
    return script;
}

Status writeHeldTalsen(const HeldTalsenScript& script, ColumnSet changed, const ByteSink& sink) {
    if (Status status = writeTalsenHeader(script.header, sink); !status) return status;
    return writeHeldRows(script.rows, talsen::ColumnCount, changed, sink);
}

Status SaveTalsenScript(const std::string& path, const TalsenHeader& header, const Table& table,
                        const Progress& progress) {
    return writeFileFrom(
        path, [&](const ByteSink& sink) { return writeTalsen(header, table, sink, progress); });
}

}  // namespace fulgor
