#pragma once
// The round-trip property shared by the two script readers.

#include <algorithm>
#include <string_view>

namespace fulgor::fuzz {

// True when `rows` is exactly what the writer produces for rows of `columns`
// cells: every line ends with CR LF, no other CR or LF, columns - 1 commas a
// line. Such text must come back from a load and a save unchanged.
inline bool isWrittenRowsForm(std::string_view rows, int columns) {
    while (!rows.empty()) {
        std::size_t end = rows.find("\r\n");
        if (end == std::string_view::npos) return false;
        std::string_view line = rows.substr(0, end);
        if (line.find_first_of("\r\n") != std::string_view::npos) return false;
        if (std::count(line.begin(), line.end(), ',') != columns - 1) return false;
        rows.remove_prefix(end + 2);
    }
    return true;
}

}  // namespace fulgor::fuzz
