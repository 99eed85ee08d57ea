#include "core/cell.h"

#include <cmath>

#include "core/leading_number.h"
#include "core/number_format.h"

namespace fulgor {

std::string cellText(const Cell& cell) {
    return cell.isNumber() ? shortestText(cell.number()) : std::string(cell.text());
}

double cellNumber(const Cell& cell) {
    if (cell.isNumber()) return cell.number();
    // An empty cell is the commonest text a number is asked of (a cue not
    // yet given a module or pin), and reads as 0 without a scan.
    if (cell.text().empty()) return 0;
    return leadingNumber(cell.text());
}

std::optional<double> numericValue(const Cell& cell) {
    if (cell.isNumber()) return cell.number();
    std::optional<double> x = decimalNumber(cell.text());
    if (!x || !std::isfinite(*x)) return std::nullopt;
    return x;
}

}  // namespace fulgor
