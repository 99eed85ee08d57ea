#include "files/kavrin_file.h"

#include <new>

#include "core/cp1252.h"
#include "core/script_columns.h"
#include "files/file_io.h"
#include "files/script_text.h"

namespace fulgor {

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

KavrinScript ImportKavrin(std::string_view bytes, const Progress& progress) {
    KavrinScript script;
    std::string_view rows;
    script.showName = decode1252(takeFirstLine(bytes, rows));
    script.table = parseRows(rows, kavrin::ColumnCount, progress);
    return script;
}

Result<std::string> formatKavrin(std::string_view showName, const Table& table) {
    if (showName.find('\n') != std::string_view::npos)
        return Error{std::string(kShowNameOnOneLine)};
    std::string out;
    if (Status status = appendLine(showName, out); !status)
        return Error{"Show name: " + status.error()};
    if (Status status = appendRows(table, out); !status) return Error{status.error()};
    return out;
}

Result<KavrinScript> readKavrinFile(const std::string& path, const Progress& progress) {
    Result<std::string> bytes = readFileBytes(path);
    if (!bytes) return Error{bytes.error()};
    if (bytes.value().empty())
        return Error{"Cannot read \"" + path + "\": the file is empty, not a Kavrin script"};
    try {
        ProgressWatch watch(progress);
        KavrinScript script = ImportKavrin(bytes.value(), std::ref(watch));
        if (watch.stopped()) return readingStopped(path);
        return script;
    } catch (const std::bad_alloc&) {
        return outOfMemoryReading(path);
    }
}

Status SaveKavrinScript(const std::string& path, std::string_view showName, const Table& table) {
    Result<std::string> bytes = formatKavrin(showName, table);
    if (!bytes) return Error{"Cannot save \"" + path + "\": " + bytes.error()};
    return writeFileAtomically(path, bytes.value());
}

}  // namespace fulgor
