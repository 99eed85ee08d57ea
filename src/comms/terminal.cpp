#include "comms/terminal.h"

#include "core/cp1252.h"

namespace fulgor {

PortOutcome clearTerminal(const PortState& state, std::string_view portBoxText, SerialLink& link) {
    link.setScrollBack(0);
    link.clearTerminal();
    link.setScrollBack(kTerminalScrollBack);
    return SaxUpTransmit(state, portBoxText, link);
}

void appendTerminalText(std::string_view bytes, bool& afterCr, std::string& out) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c != '\r' && c != '\n') {
            afterCr = false;
            continue;
        }
        appendDecoded1252(bytes.substr(start, i - start), out);
        start = i + 1;
        if (!(c == '\n' && afterCr)) out += '\n';
        afterCr = c == '\r';
    }
    appendDecoded1252(bytes.substr(start), out);
}

}  // namespace fulgor
