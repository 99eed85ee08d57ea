// Any bytes load as a Talsen script; what a load saves loads and saves again
// unchanged; and rows already in the written form save back byte for byte.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/script_columns.h"
#include "files/talsen_file.h"
#include "fuzz_check.h"
#include "script_round_trip.h"

using namespace fulgor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TalsenScript script = ImportTalsen(bytes);
    FUZZ_CHECK(script.table.columnCount() == talsen::ColumnCount);

    // Every byte decodes to a character the code page holds, so saving cannot fail.
    Result<std::string> saved = formatTalsen(script);
    FUZZ_CHECK(saved);
    Result<std::string> again = formatTalsen(ImportTalsen(saved.value()));
    FUZZ_CHECK(again && again.value() == saved.value());

    std::size_t headerEnd = bytes.find("\r\n");
    std::size_t savedHeaderEnd = saved.value().find("\r\n");
    if (headerEnd != std::string_view::npos &&
        bytes.substr(0, headerEnd + 2) ==
            std::string_view(saved.value()).substr(0, savedHeaderEnd + 2) &&
        fuzz::isWrittenRowsForm(bytes.substr(headerEnd + 2), talsen::ColumnCount)) {
        FUZZ_CHECK(saved.value() == bytes);
    }
    return 0;
}
