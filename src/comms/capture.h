#pragma once
// The capture button: logging what arrives from the panel to "Serial.log" in
// the program's folder.

#include <string>
#include <string_view>

#include "comms/serial_link.h"
#include "core/result.h"

namespace fulgor {

inline constexpr std::string_view kBeginCaptureCaption = "Begin Capture";
inline constexpr std::string_view kEndCaptureCaption = "End Capture";
inline constexpr std::string_view kCaptureFileName = "Serial.log";

// The caption of cmdCaptureSerial, which follows the link's capture state.
std::string_view captureCaption(const SerialLink& link);

// cmdCaptureSerial: stops capturing when it runs, else starts it into
// `programFolder` + "/Serial.log". Fails, capture staying off, when the file
// cannot be opened. Afterwards the caption is captureCaption(link).
Status toggleCapture(SerialLink& link, std::string_view programFolder);

}  // namespace fulgor
