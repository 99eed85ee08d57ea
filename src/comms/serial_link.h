#pragma once
// The serial port to the firing panel, as the Communications tab uses it. The
// program only ever calls the operations below; the Qt implementation lives
// in platform/ and tests substitute a scripted fake.
//
// All calls come from one thread. Queued output is sent in the background;
// callers learn of progress only by reading outputCount().

#include <cstdint>
#include <string>
#include <string_view>

#include "core/result.h"

namespace fulgor {

// The most characters output() takes at a time.
inline constexpr std::int64_t kMaxOutputPiece = 16380;
// Lines of scroll-back the terminal keeps.
inline constexpr int kTerminalScrollBack = 600;

class SerialLink {
public:
    virtual ~SerialLink() = default;

    // The device to open ("/dev/ttyS0") and the line settings ("19200,N,8,1":
    // baud, parity N/E/O/M/S, data bits, stop bits). Both take effect at the
    // next open().
    virtual void setPort(const std::string& device) = 0;
    virtual void setSettings(const std::string& settings) = 0;
    // Asks for the modem control lines to be raised at the next open().
    virtual void setLineControl(bool on) = 0;

    // Opening never fails loudly: afterwards isOpen() tells, and
    // failureReason() says why not. close() on a closed port does nothing.
    virtual void open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // The system's reason for the last failure: the last open() that did not
    // succeed, or the port closing by itself because the device failed or went
    // away. Empty when the port has not failed since it last opened.
    virtual std::string failureReason() const = 0;

    // Characters queued and not yet on the line, counting every buffer
    // between the caller and the wire; 0 for a closed port.
    virtual std::int64_t outputCount() const = 0;
    // Drops every queued character.
    virtual void discardOutput() = 0;
    // Queues UTF-8 text and returns at once; each character goes out as one
    // Windows-1252 byte. Precondition: at most kMaxOutputPiece characters.
    // Fails, queueing nothing, when the port is not open or a character cannot
    // be written in the code page (none is ever dropped).
    virtual Status output(std::string_view text) = 0;

    // A short text about the link for the operator (device, settings, queue).
    virtual std::string statusText() const = 0;

    // Logging what arrives from the panel: a path starts it, the empty text
    // stops it. Fails when the file cannot be opened; capturing then stays off.
    virtual std::string capturePath() const = 0;
    virtual Status setCapturePath(const std::string& path) = 0;

    // The terminal that shows what arrives: empty it; set how many lines it
    // keeps (0 drops every kept line).
    virtual void clearTerminal() = 0;
    virtual void setScrollBack(int lines) = 0;
};

}  // namespace fulgor
