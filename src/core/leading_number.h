#pragma once
// Reading the number at the start of a text, the way every command turns a
// cell or a typed answer into a number.

#include <optional>
#include <string_view>

namespace fulgor {

// Reads the leading number of `text`:
// - blanks, tabs and line feeds are ignored wherever they stand;
// - then an optional sign, digits, an optional point and fraction, and an
//   optional exponent (E or D, optional sign, digits);
// - "&H" / "&O" (either case) read an unsigned hexadecimal / octal integer;
// - reading stops at the first character that does not fit;
// - nothing readable gives 0 (never -0).
// Never returns NaN. A number too large for a double gives +/- infinity, which
// callers must treat as an invalid value (it must never be stored in a cell);
// one too small to represent gives 0.
double leadingNumber(std::string_view text);

// True when the whole of `text`, blanks, tabs and line feeds aside, is one
// decimal number in the form leadingNumber reads (sign, digits, point,
// exponent), with at least one digit and nothing after it.
bool isDecimalNumber(std::string_view text);

// The leading number of `text` when leadingNumber finds one at all (at least
// one digit), so that "12abc" gives 12 and "", "abc" and "&H" give nothing.
std::optional<double> foundLeadingNumber(std::string_view text);

// The leading number of `text` when isDecimalNumber(text), read in one pass;
// nothing otherwise. Like leadingNumber it may be infinite.
std::optional<double> decimalNumber(std::string_view text);

// The number of `text` when it is a plain decimal: an optional sign, then at
// most 15 digits with at least one digit and an optional point among them,
// and nothing else, not even a blank. Every reading above gives that same
// number for such a text, and it is far from too large for a double.
std::optional<double> plainDecimal(std::string_view text);

// True when the whole of `text`, blanks, tabs and line feeds aside, is "&H"
// (either case) followed by at least one hexadecimal digit and nothing else.
bool isHexNumber(std::string_view text);

}  // namespace fulgor
