// Any bytes load as a Kavrin script; what a load saves loads and saves again
// unchanged; and a file already in the written form saves back byte for byte.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/script_columns.h"
#include "files/kavrin_file.h"
#include "fuzz_check.h"
#include "script_round_trip.h"

using namespace fulgor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    KavrinScript script = ImportKavrin(bytes);
    FUZZ_CHECK(script.table.columnCount() == kavrin::ColumnCount);

    Result<std::string> saved = formatKavrin(script);
    // The name ends at the first line feed, so a loaded name never holds one
    // and saving a loaded script must always work.
    FUZZ_CHECK(saved);
    Result<std::string> again = formatKavrin(ImportKavrin(saved.value()));
    FUZZ_CHECK(again && again.value() == saved.value());

    std::size_t nameEnd = bytes.find("\r\n");
    if (nameEnd != std::string_view::npos &&
        bytes.substr(0, nameEnd).find('\n') == std::string_view::npos &&
        fuzz::isWrittenRowsForm(bytes.substr(nameEnd + 2), kavrin::ColumnCount)) {
        FUZZ_CHECK(saved.value() == bytes);
    }
    return 0;
}
