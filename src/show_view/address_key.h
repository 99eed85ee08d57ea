#pragma once
// Telling firing addresses apart. A module or pin is written in decimal
// ("01", "7") or, under the custom hex scheme, in hexadecimal ("7F", "A"); a
// table uses one scheme, but nothing in it says which. Comparing the written
// digits without leading zeros and without regard to case works under both:
// "01" and "1" are one module, "0a" and "A" one pin, and no two different
// addresses of one scheme ever share a key.

#include <string>
#include <string_view>

namespace fulgor {

// The key of a Mod or Pin text: blanks, tabs and line feeds dropped, letters
// in uppercase, leading zeros dropped from a text of digits and letters (one
// zero kept for "0", "00"). Empty for an empty or blank text.
std::string addressKey(std::string_view text);

// Order of keys as numbers in the table's own base: a shorter key of digits
// and letters first, then by character (digits before letters, as in both
// bases); keys of other characters after those, by character.
bool addressKeyLess(const std::string& a, const std::string& b);

}  // namespace fulgor
