#include "comms/capture.h"

namespace fulgor {

std::string_view captureCaption(const SerialLink& link) {
    return link.capturePath().empty() ? kBeginCaptureCaption : kEndCaptureCaption;
}

Status toggleCapture(SerialLink& link, std::string_view programFolder) {
    if (!link.capturePath().empty()) return link.setCapturePath({});
    return link.setCapturePath(std::string(programFolder) + "/" + std::string(kCaptureFileName));
}

}  // namespace fulgor
