#pragma once
// The 8-bit code page of script files and of the serial line (Windows-1252).
// Inside the program text is UTF-8. Decoding maps every byte to exactly one
// character, so that any file comes back byte for byte when encoded again: the
// five bytes the code page leaves undefined (81, 8D, 8F, 90, 9D) map to the
// control characters of the same number.

#include <cstddef>
#include <string>
#include <string_view>

#include "core/result.h"

namespace fulgor {

// Appends the UTF-8 form of the Windows-1252 bytes to `out`.
void appendDecoded1252(std::string_view bytes, std::string& out);
std::string decode1252(std::string_view bytes);

// The Windows-1252 bytes of a UTF-8 text. Fails, naming the first character
// that the code page cannot hold (or the first byte that is not UTF-8), so no
// character is ever dropped silently.
Result<std::string> encode1252(std::string_view utf8);

// Appends the encoded text to `out`; on failure `out` may hold part of it and
// the error names the offending character.
Status appendEncoded1252(std::string_view utf8, std::string& out);

// Encodes a text in its own storage, for a text too large to hold twice; on
// failure the text is left partly encoded and the error names the character.
Status encode1252InPlace(std::string& text);

// True when the text holds only ASCII (both encodings agree on it byte for byte).
bool isAscii(std::string_view text);

}  // namespace fulgor
