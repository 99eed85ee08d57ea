#pragma once
// The record of one transmission: a line in "Transmissions.log" in the
// program's folder, printed by `fulgor send` and shown on the Communications
// tab, so that the operator can prove what reached the panel and compare it
// with the panel's own display.

#include <cstdint>
#include <string>
#include <string_view>

namespace fulgor {

inline constexpr std::string_view kTransmissionLogName = "Transmissions.log";

enum class SendEnding { Complete, Cancelled, PortLost };

// What a transmission sent, as it ended.
struct SentShow {
    std::string port;         // the device it was sent to
    std::string settings;     // the line settings, "19200,N,8,1"
    std::int64_t length = 0;  // bytes of the text the transmission set out to send
    std::string sent;         // the bytes that left the port, in order
    std::string firstLine;    // the text's first line (UTF-8), without its line end
    SendEnding ending = SendEnding::Complete;
};

// A moment as the operator's clock shows it: seconds since 1970-01-01 UTC and
// the local offset from UTC.
struct RecordTime {
    std::int64_t secondsSinceEpoch = 0;
    int utcOffsetSeconds = 0;
};

// CRC-32 (the zlib / PNG / Ethernet polynomial) of `bytes`; "123456789" gives CBF43926.
std::uint32_t crc32Of(std::string_view bytes);

// The first line of `text`: everything before its first CR or LF.
std::string_view firstLineOf(std::string_view text);

// "complete", "cancelled at byte N" or "port lost at byte N", N the bytes that
// left the port.
std::string transmissionEnding(const SentShow& show);

// "2026-12-06 05:09:12 +01:00" (local time, offset from UTC).
std::string recordTimeText(RecordTime when);

// One line, without line end, fields separated by " | ":
//   TIME | PORT | SETTINGS | BYTES | CRC-32 XXXXXXXX | "FIRST LINE" | ENDING
// BYTES is "N bytes" when the whole text went out, else "N of LENGTH bytes";
// the CRC covers the N bytes sent. In the quoted first line a backslash, a
// quote, TAB and other control characters are written as \\, \", \t and \xNN,
// and a line longer than 60 characters is cut there and followed by "...".
std::string transmissionRecordLine(const SentShow& show, RecordTime when);

}  // namespace fulgor
