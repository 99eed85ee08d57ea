#include "addressing/addressing_texts.h"

namespace fulgor {

std::string leftOverMessage(int linesLeft) {
    return "Out of Modules!\r\n" + std::to_string(linesLeft) + " Lines left!";
}

std::string conflictLabelText(int conflicts) {
    if (conflicts <= 0) return {};
    return std::to_string(conflicts) + " Time/Module Conflicts present!";
}

std::string conflictMessageText(int conflicts) {
    return std::to_string(conflicts) + " found!";
}

}  // namespace fulgor
