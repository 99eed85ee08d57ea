#include "core/cell.h"

#include "core/leading_number.h"
#include "core/number_format.h"

namespace fulgor {

std::string cellText(const Cell& cell) {
    return cell.isNumber() ? shortestText(cell.number()) : std::string(cell.text());
}

double cellNumber(const Cell& cell) {
    return cell.isNumber() ? cell.number() : leadingNumber(cell.text());
}

}  // namespace fulgor
