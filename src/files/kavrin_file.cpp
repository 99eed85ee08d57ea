#include "files/kavrin_file.h"

#include "core/cp1252.h"
#include "core/script_columns.h"
#include "files/file_io.h"
#include "files/script_text.h"

namespace fulgor {

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

namespace {

KavrinScript finishKavrin(ScriptTextReader& reader) {
    KavrinScript script;
    script.table = reader.finish();
    script.showName = decode1252(reader.headerLine());
    return script;
}

}  // namespace

KavrinScript ImportKavrin(std::string_view bytes) {
    ScriptTextReader reader(kavrin::ColumnCount, true);
    reader.expect(bytes.size());
    reader.feed(bytes);
    return finishKavrin(reader);
}

Status writeKavrinShowName(std::string_view showName, const ByteSink& sink) {
    if (showName.find('\n') != std::string_view::npos)
        return Error{std::string(kShowNameOnOneLine)};
    std::string out;
    if (Status status = appendLine(showName, out); !status)
        return Error{"Show name: " + status.error()};
    return sink(out);
}

Status writeKavrin(std::string_view showName, const Table& table, const ByteSink& sink,
                   const Progress& progress) {
    if (Status status = writeKavrinShowName(showName, sink); !status) return status;
    return writeRows(table, sink, 0, progress);
}

Result<std::string> formatKavrin(std::string_view showName, const Table& table) {
    return gatherBytes([&](const ByteSink& sink) { return writeKavrin(showName, table, sink); });
}

Result<KavrinScript> readKavrinFile(const std::string& path, const Progress& progress,
                                    ColumnsRead columns) {
    ScriptTextReader reader(kavrin::ColumnCount, true);
    reader.keepOnly(columns);
    if (Status read = readScriptFile(path, "Kavrin", reader, progress); !read)
        return Error{read.error()};
    return finishKavrin(reader);
}

Result<HeldKavrinScript> holdKavrinFile(const std::string& path, ColumnsRead columns) {
    ScriptTextReader reader(kavrin::ColumnCount, true);
    HeldKavrinScript script;
    if (Status read = readHeldScriptFile(path, "Kavrin", columns, reader, script.rows); !read)
        return Error{read.error()};
    script.showName = decode1252(reader.headerLine());
    return script;
}

Status writeHeldKavrin(const HeldKavrinScript& script, ColumnSet changed, const ByteSink& sink) {
    if (Status status = writeKavrinShowName(script.showName, sink); !status) return status;
    return writeHeldRows(script.rows, kavrin::ColumnCount, changed, sink);
}

Status SaveKavrinScript(const std::string& path, std::string_view showName, const Table& table,
                        const Progress& progress) {
    return writeFileFrom(
        path, [&](const ByteSink& sink) { return writeKavrin(showName, table, sink, progress); });
}

}  // namespace fulgor
