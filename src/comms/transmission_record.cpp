#include "comms/transmission_record.h"

#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "core/utf8_text.h"

namespace fulgor {
namespace {

constexpr std::size_t kFirstLineShown = 60;

// 0 to 99 with a leading zero.
std::string twoDigits(long long value) {
    std::string text = std::to_string(value);
    if (text.size() < 2) text.insert(0, 1, '0');
    return text;
}

// Control characters would break the line or hide in it; they are shown as escapes.
std::string quoted(std::string_view line) {
    std::string_view shown = line.substr(0, utf8Offset(line, kFirstLineShown));
    std::string out = "\"";
    for (char c : shown) {
        auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"') {
            out += '\\';
            out += c;
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            char escape[16];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    out += '"';
    if (shown.size() < line.size()) out += "...";
    return out;
}

}  // namespace

std::uint32_t crc32Of(std::string_view bytes) {
    return static_cast<std::uint32_t>(
        crc32_z(crc32_z(0, Z_NULL, 0), reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()));
}

std::string_view firstLineOf(std::string_view text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

std::string transmissionEnding(const SentShow& show) {
    std::string at = " at byte " + std::to_string(show.sent.size());
    switch (show.ending) {
        case SendEnding::Complete:
            return "complete";
        case SendEnding::Cancelled:
            return "cancelled" + at;
        case SendEnding::PortLost:
            return "port lost" + at;
    }
    return {};
}

std::string recordTimeText(RecordTime when) {
    using namespace std::chrono;
    const sys_seconds local{seconds{when.secondsSinceEpoch + when.utcOffsetSeconds}};
    const sys_days day = floor<days>(local);
    const year_month_day date{day};
    const hh_mm_ss clock{local - day};
    const int offsetMinutes = std::abs(when.utcOffsetSeconds) / 60;
    return std::to_string(static_cast<int>(date.year())) + '-' +
           twoDigits(static_cast<unsigned>(date.month())) + '-' +
           twoDigits(static_cast<unsigned>(date.day())) + ' ' + twoDigits(clock.hours().count()) +
           ':' + twoDigits(clock.minutes().count()) + ':' + twoDigits(clock.seconds().count()) +
           ' ' + (when.utcOffsetSeconds < 0 ? '-' : '+') + twoDigits(offsetMinutes / 60) + ':' +
           twoDigits(offsetMinutes % 60);
}

std::string transmissionRecordLine(const SentShow& show, RecordTime when) {
    const auto sent = static_cast<std::int64_t>(show.sent.size());
    std::string bytes = std::to_string(sent);
    if (show.ending != SendEnding::Complete || sent != show.length)
        bytes += " of " + std::to_string(show.length);
    char crc[16];
    std::snprintf(crc, sizeof crc, "%08X", static_cast<unsigned>(crc32Of(show.sent)));
    constexpr std::string_view kBar = " | ";
    std::string line = recordTimeText(when);
    for (const std::string& field :
         {show.port, show.settings, bytes + " bytes", "CRC-32 " + std::string(crc),
          quoted(show.firstLine), transmissionEnding(show)}) {
        line += kBar;
        line += field;
    }
    return line;
}

}  // namespace fulgor
