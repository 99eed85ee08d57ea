// The serial presets' readers: a line settings text and the port box. A
// settings text that reads gives values a serial port takes; a port box that
// is refused leaves the choice as it was.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "comms/line_settings.h"
#include "comms/port_setup.h"
#include "fuzz_check.h"

using namespace fulgor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);

    Result<LineSettings> settings = parseLineSettings(text);
    if (settings) {
        FUZZ_CHECK(settings.value().baud > 0);
        FUZZ_CHECK(settings.value().dataBits >= 5 && settings.value().dataBits <= 8);
    }

    PortState state;
    state.PortNumber = 7;
    bool taken = takePortBox(state, text);
    if (taken) {
        if (state.PortPath.empty())
            FUZZ_CHECK(state.PortNumber >= 1 && state.PortNumber <= 32767);
        else
            FUZZ_CHECK(state.PortPath.find('/') != std::string::npos);
    } else {
        FUZZ_CHECK(state.PortNumber == 7 && state.PortPath.empty());
    }
    FUZZ_CHECK(!portDevice(state).empty());
    return 0;
}
