#pragma once
// Rounding as every command does it: an exact half goes to the even neighbour.

#include <cstdint>
#include <optional>

namespace fulgor {

// Rounds to a whole number, ties to even. Non-finite values come back unchanged.
double roundHalfEven(double x);

// Rounds to `decimals` places (0..15): roundHalfEven(x * 10^decimals) / 10^decimals
// in double arithmetic, so 12.125 to 2 places is 12.12 and 10.25 to 1 place is 10.2.
double roundToDecimals(double x, int decimals);

// Rounds to a whole number (ties to even) and converts it to a 32-bit signed
// integer; nothing when the result lies outside the 32-bit range or x is not finite.
std::optional<std::int32_t> roundToInt32(double x);

}  // namespace fulgor
