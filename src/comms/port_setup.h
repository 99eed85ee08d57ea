#pragma once
// Choosing the serial port and its line settings, and (re)opening it.
//
// Every function works on the window's PortState and the SerialLink and
// returns what the window must show; none shows anything itself.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "comms/port_presets.h"
#include "comms/serial_link.h"

namespace fulgor {

inline constexpr std::string_view kPortClosedLabel = "[Comm Port Closed]";

// The port choice shared by the whole window, kept for the life of the program.
struct PortState {
    std::int16_t PortNumber = 1;  // 1..32767
    // A device path typed into the port box ("/dev/ttyUSB0"); when set it
    // names the port instead of PortNumber.
    std::string PortPath;
    std::string PortSettings{kKavrinPreset.settings};
};

// What the port box shows for the present choice: the path, else the number.
std::string portBoxText(const PortState& state);

// The device the present choice opens: the path; else, for port N, the device
// named by the environment variable FULGOR_PORT_N when it is set, else
// /dev/ttyS<N-1>.
std::string portDevice(const PortState& state);

// Reads the port box the way Apply Port does. Text that starts with "/"
// (blanks aside) is a device path. Anything else is read as a number by its
// leading number and rounded to a whole number, ties to even (2.5 -> 2,
// 3.5 -> 4); the result must lie in 1..32767. On success sets PortNumber or
// PortPath (clearing the other) and returns true; otherwise changes nothing.
bool takePortBox(PortState& state, std::string_view boxText);

// "[Comm settings are " + settings + "]".
std::string settingsLabel(std::string_view settings);

struct PortOutcome {
    std::string portLabel;               // the new text of lblPortSets
    std::optional<std::string> message;  // for a message box when the port did not open
    std::string reason;                  // the system's reason when it did not open
};

// Reopens the port with the state's device and settings: closes it when open,
// sets port and settings, discards queued output, raises the line control and
// opens. `portBoxText` is the port box's present text, which the message quotes:
// "Comm Port: " + portBoxText + " not available!".
PortOutcome SaxUpTransmit(const PortState& state, std::string_view portBoxText, SerialLink& link);

// Exactly one member is set.
struct ApplyPortOutcome {
    std::optional<std::string> restoredBoxText;  // box refused: write this back; port untouched
    std::optional<PortOutcome> reopened;         // box taken and the port reopened
};

// Apply Port: takes the port box (takePortBox) and reopens the port, or, when
// the box is refused, gives the present choice back for the box.
ApplyPortOutcome applyPort(PortState& state, std::string_view boxText, SerialLink& link);

// A click on a preset's option button: its settings become PortSettings, then
// Apply Port runs. A refused port box leaves the port as it was.
ApplyPortOutcome choosePreset(PortState& state, const PortPreset& preset, std::string_view boxText,
                              SerialLink& link);

}  // namespace fulgor
