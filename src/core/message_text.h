#pragma once
// Pieces of the messages that name rows and quote cell values to the operator.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace fulgor {

// How many Lines a message names before it ends the list with ", ...".
inline constexpr std::size_t kLinesNamed = 10;

// The Lines of `rows` (each row from 0 is Line row + 1) for a message: "Line 3"
// for one, "Lines 3, 5, 7" for more, the first kLinesNamed of them followed by
// ", ..." when there are more. The empty text for no rows.
std::string lineList(std::span<const int> rows);

// `text` as a message quotes it: at most `maxCharacters` characters of its
// UTF-8 text, the cut marked by "..." (a pasted value can be a megabyte long).
std::string shortened(std::string_view text, std::size_t maxCharacters = 40);

}  // namespace fulgor
