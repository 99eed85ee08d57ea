#pragma once
// Turning numbers into text: the shortest decimal form and the format masks
// that commands use. Both ignore the user's locale: the point is always ".".

#include <cstdint>
#include <string>
#include <string_view>

namespace fulgor {

// The shortest decimal form of a number: at most 15 significant digits, no
// trailing zeros, no "-0" (as printf("%.15g")): 12 -> "12", 2.5 -> "2.5",
// 0.1 + 0.2 -> "0.3", 1e20 -> "1e+20". Precondition: x is finite.
std::string shortestText(double x);
// The same, appended to `out`, for writers of many numbers.
void appendShortestText(double x, std::string& out);

// Formats x with a numeric mask made of an integer part of '#' and '0'
// placeholders, an optional '.' followed by '0' placeholders, and a literal
// suffix: "0.00", "00", "##0", "###0.00", "#####0.0", "#0:", "00:", "00.".
// Each '0' before the point is a digit always shown (leading zeros pad), each
// '0' after it a decimal always shown; '#' adds nothing. The value is rounded
// to the mask's decimals with ties to even; a negative value gets a leading
// "-" unless it rounds to zero. Precondition: x is finite.
std::string formatMask(double x, std::string_view mask);

// A whole number with at least `minDigits` digits, zeros padding on the left
// and "-" before a negative one: what formatMask gives a whole value under a
// mask of '0's such as "00", written without floating point for the commands
// that write one address or clock text per cue of a show of a million cues.
std::string formatWhole(std::int64_t value, int minDigits);
// The same, appended to `out`.
void appendWhole(std::int64_t value, int minDigits, std::string& out);

}  // namespace fulgor
