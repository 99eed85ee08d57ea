#include "core/rounding.h"

#include <cassert>
#include <cmath>

namespace fulgor {

double roundHalfEven(double x) {
    // The processor's own rounding: to nearest, ties to even, as the program
    // never changes the rounding mode. The "+ 0.0" turns -0 into 0.
    return std::nearbyint(x) + 0.0;
}

double roundToDecimals(double x, int decimals) {
    assert(decimals >= 0 && decimals <= 15);
    double scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    // A number too large to scale has no decimals to round.
    if (!std::isfinite(x * scale)) return x;
    return roundHalfEven(x * scale) / scale + 0.0;
}

std::optional<std::int32_t> roundToInt32(double x) {
    double r = roundHalfEven(x);
    if (!std::isfinite(r) || r < -2147483648.0 || r > 2147483647.0) return std::nullopt;
    return static_cast<std::int32_t>(r);
}

}  // namespace fulgor
