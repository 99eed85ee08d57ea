#pragma once
// The terminal that shows what arrives from the panel.

#include <string>
#include <string_view>

#include "comms/port_setup.h"
#include "comms/serial_link.h"

namespace fulgor {

// Clear Terminal: drops the terminal's kept lines, empties it, restores its
// scroll-back to kTerminalScrollBack lines and reopens the port (which also
// drops any queued output). The window shows the outcome as for Apply Port.
PortOutcome clearTerminal(const PortState& state, std::string_view portBoxText, SerialLink& link);

// Appends Windows-1252 bytes from the panel to `out` as UTF-8 terminal text
// with "\n" line ends: CR LF, a lone CR and a lone LF each end one line.
// `afterCr` carries a CR that ended the previous chunk, so a CR LF split
// between two chunks still ends one line.
void appendTerminalText(std::string_view bytes, bool& afterCr, std::string& out);

}  // namespace fulgor
