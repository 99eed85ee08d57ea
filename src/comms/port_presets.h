#pragma once
// The three line-setting presets of the "Comm Port Settings" frame.

#include <array>
#include <string_view>

namespace fulgor {

struct PortPreset {
    std::string_view option;    // objectName of its option button
    std::string_view caption;   // the option button's caption
    std::string_view settings;  // the PortSettings it selects
};

inline constexpr PortPreset kKavrinPreset{"optKavrinBaud", "Kavrin", "19200,N,8,1"};
inline constexpr PortPreset kFskModemPreset{"optTcModem", "FSK Modem", "1200,N,8,1"};
inline constexpr PortPreset kPdPreset{"optPDBaud", "9600 Baud", "9600,N,8,1"};

// In the order the frame shows them; the Kavrin preset is selected at start.
inline constexpr std::array<PortPreset, 3> kPortPresets = {kKavrinPreset, kFskModemPreset,
                                                           kPdPreset};

}  // namespace fulgor
