#pragma once
// Counting characters in the program's UTF-8 text. On the serial line and in
// files every character is one Windows-1252 byte, so lengths the user sees
// (characters to send, characters of a show) count characters, not bytes.

#include <cstddef>
#include <string_view>

namespace fulgor {

// The number of characters in `text`: every byte that does not continue a
// UTF-8 sequence starts one. Text that is not valid UTF-8 still gets a count.
std::size_t utf8Length(std::string_view text);

// The byte offset at which character `index` (from 0) starts; text.size()
// when the text has `index` characters or fewer.
std::size_t utf8Offset(std::string_view text, std::size_t index);

}  // namespace fulgor
