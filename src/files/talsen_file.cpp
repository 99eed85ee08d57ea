#include "files/talsen_file.h"

#include <cmath>
#include <new>

#include "core/cp1252.h"
#include "core/leading_number.h"
#include "core/number_format.h"
#include "core/script_columns.h"
#include "files/file_io.h"
#include "files/script_text.h"

namespace fulgor {

TalsenScript ImportTalsen(std::string_view bytes, const Progress& progress) {
    TalsenScript script;
    std::string_view rows;
    std::string header = decode1252(takeFirstLine(bytes, rows));

    std::string_view fields = header;
    std::size_t comma = fields.find(',');
    script.waveName = std::string(fields.substr(0, comma));
    if (comma != std::string_view::npos) {
        fields.remove_prefix(comma + 1);
        comma = fields.find(',');
        double offset = leadingNumber(fields.substr(0, comma));
        script.tcOffset = formatMask(std::isfinite(offset) ? offset : 0, kTcOffsetMask);
        if (comma != std::string_view::npos) {
            fields.remove_prefix(comma + 1);
            script.timeType = std::string(fields.substr(0, fields.find(',')));
        }
    }
    script.table = parseRows(rows, talsen::ColumnCount, progress);
    return script;
}

Result<std::string> formatTalsen(const TalsenHeader& header, const Table& table) {
    std::string out;
    std::string line = header.waveName + "," + header.tcOffset + "," + header.timeType;
    if (Status status = appendLine(line, out); !status) return Error{"Header: " + status.error()};
    if (Status status = appendRows(table, out); !status) return Error{status.error()};
    return out;
}

Result<TalsenScript> readTalsenFile(const std::string& path, const Progress& progress) {
    Result<std::string> bytes = readFileBytes(path);
    if (!bytes) return Error{bytes.error()};
    if (bytes.value().empty())
        return Error{"Cannot read \"" + path + "\": the file is empty, not a Talsen script"};
    try {
        ProgressWatch watch(progress);
        TalsenScript script = ImportTalsen(bytes.value(), std::ref(watch));
        if (watch.stopped()) return readingStopped(path);
        return script;
    } catch (const std::bad_alloc&) {
        return outOfMemoryReading(path);
    }
}

Status SaveTalsenScript(const std::string& path, const TalsenHeader& header, const Table& table) {
    Result<std::string> bytes = formatTalsen(header, table);
    if (!bytes) return Error{"Cannot save \"" + path + "\": " + bytes.error()};
    return writeFileAtomically(path, bytes.value());
}

}  // namespace fulgor
