#include "core/cell.h"

#include <cmath>

#include "core/leading_number.h"
#include "core/number_format.h"

namespace fulgor {

std::string cellText(const Cell& cell) {
    return cell.isNumber() ? shortestText(cell.number()) : std::string(cell.text());
}

double textCellNumber(std::string_view text) {
    // An empty cell is the commonest text a number is asked of (a cue not
    // yet given a module or pin), and reads as 0 without a scan.
    if (text.empty()) return 0;
    return leadingNumber(text);
}

std::optional<double> textCellValue(std::string_view text) {
    std::optional<double> x = decimalNumber(text);
    if (!x || !std::isfinite(*x)) return std::nullopt;
    return x;
}

}  // namespace fulgor
