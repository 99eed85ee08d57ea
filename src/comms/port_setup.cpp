#include "comms/port_setup.h"

#include <cstdlib>

#include "core/leading_number.h"
#include "core/rounding.h"

namespace fulgor {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view withoutBlanks(std::string_view text) {
    std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

std::string portBoxText(const PortState& state) {
    return state.PortPath.empty() ? std::to_string(state.PortNumber) : state.PortPath;
}

std::string portDevice(const PortState& state) {
    if (!state.PortPath.empty()) return state.PortPath;
    std::string variable = "FULGOR_PORT_" + std::to_string(state.PortNumber);
    if (const char* device = std::getenv(variable.c_str())) return device;
    return "/dev/ttyS" + std::to_string(state.PortNumber - 1);
}

bool takePortBox(PortState& state, std::string_view boxText) {
    std::string_view text = withoutBlanks(boxText);
    if (text.starts_with('/')) {
        state.PortPath = text;
        return true;
    }
    // Rounding first keeps PortNumber inside 1..32767 (0.4 and 32767.5 are refused).
    double number = roundHalfEven(leadingNumber(text));
    if (!(number >= 1 && number <= 32767)) return false;
    state.PortNumber = static_cast<std::int16_t>(number);
    state.PortPath.clear();
    return true;
}

std::string settingsLabel(std::string_view settings) {
    return "[Comm settings are " + std::string(settings) + "]";
}

PortOutcome SaxUpTransmit(const PortState& state, std::string_view portBoxText, SerialLink& link) {
    if (link.isOpen()) link.close();
    link.setPort(portDevice(state));
    link.setSettings(state.PortSettings);
    PortOutcome outcome{settingsLabel(state.PortSettings), std::nullopt, {}};
    link.discardOutput();
    link.setLineControl(true);
    link.open();
    if (!link.isOpen()) {
        outcome.message = "Comm Port: " + std::string(portBoxText) + " not available!";
        outcome.portLabel = kPortClosedLabel;
        outcome.reason = link.failureReason();
    }
    return outcome;
}

ApplyPortOutcome applyPort(PortState& state, std::string_view boxText, SerialLink& link) {
    if (!takePortBox(state, boxText)) return {portBoxText(state), std::nullopt};
    return {std::nullopt, SaxUpTransmit(state, boxText, link)};
}

ApplyPortOutcome choosePreset(PortState& state, const PortPreset& preset, std::string_view boxText,
                              SerialLink& link) {
    state.PortSettings = preset.settings;
    return applyPort(state, boxText, link);
}

}  // namespace fulgor
