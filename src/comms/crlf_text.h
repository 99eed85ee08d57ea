#pragma once
// Qt's text boxes keep lines, not line-end characters: the holding pen gives
// its text back with every line ended by a lone LF, whatever was put in. The
// panel needs CR LF, and the show statistics count both characters.

#include <string>
#include <string_view>

namespace fulgor {

// The text with every LF that does not follow a CR preceded by one:
// "a\nb\r\n" -> "a\r\nb\r\n". Read the holding pen through this before
// counting, formatting or transmitting its text.
std::string withCrLf(std::string_view text);

}  // namespace fulgor
