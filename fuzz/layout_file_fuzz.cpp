// The layout file reader on any text: a file it takes holds only layouts it
// would write itself, and writing them out reads back unchanged.

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

#include "fuzz_check.h"
#include "platform/grid_layout.h"

using namespace fulgor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    Result<LayoutFile> file = parseLayoutFile(text, QStringLiteral("Pellor.grx"));
    if (!file) {
        FUZZ_CHECK(!file.error().empty());
        return 0;
    }
    for (const auto& [name, layout] : file.value()) {
        for (const ColumnLayout& column : layout) {
            FUZZ_CHECK(!column.name.isEmpty());
            FUZZ_CHECK(column.width >= 1 && column.width <= kMaxColumnWidth);
        }
    }
    Result<LayoutFile> again =
        parseLayoutFile(serialiseLayoutFile(file.value()), QStringLiteral("Pellor.grx"));
    FUZZ_CHECK(again && again.value() == file.value());
    return 0;
}
