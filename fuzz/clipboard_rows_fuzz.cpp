// The Paste Lines splitter on any clipboard text: pieces join back to the
// text, and every pasted line becomes exactly one row of the table's width.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/script_columns.h"
#include "editing/clipboard_rows.h"
#include "fuzz_check.h"

using namespace fulgor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);

    std::vector<std::string_view> pieces = splitAt(text, '\t');
    FUZZ_CHECK(pieces.size() ==
               static_cast<std::size_t>(std::count(text.begin(), text.end(), '\t')) + 1);
    std::string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) joined += '\t';
        joined += pieces[i];
    }
    FUZZ_CHECK(joined == text);

    std::vector<std::string_view> lines = pastedLines(text);
    FUZZ_CHECK(lines.size() ==
               static_cast<std::size_t>(std::count(text.begin(), text.end(), '\r')));
    for (std::string_view line : lines) FUZZ_CHECK(line.find('\r') == std::string_view::npos);

    Table talsen = pastedRows(ScriptGrid::Talsen, text, talsen::ColumnCount);
    FUZZ_CHECK(talsen.rowCount() == static_cast<int>(lines.size()));
    FUZZ_CHECK(talsen.columnCount() == talsen::ColumnCount);
    Table kavrin = pastedRows(ScriptGrid::Kavrin, text, kavrin::ColumnCount);
    FUZZ_CHECK(kavrin.rowCount() == static_cast<int>(lines.size()));
    FUZZ_CHECK(kavrin.columnCount() == kavrin::ColumnCount);
    return 0;
}
