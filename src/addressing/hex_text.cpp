#include "addressing/hex_text.h"

#include <algorithm>
#include <array>
#include <cassert>

namespace fulgor {
namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

Error overflow(int field, std::int32_t value, const char* range) {
    return Error{"Overflow: record field " + std::to_string(field) + " holds " +
                 std::to_string(value) + ", outside " + range};
}

// The two digits of HexByte, written at `at`.
void writeHexByte(char* at, std::uint8_t value) {
    at[0] = kDigits[value >> 4];
    at[1] = kDigits[value & 15];
}

// HexByte and HexWord written straight onto the end of `out`.
void appendHexByte(std::string& out, std::uint8_t value) {
    std::array<char, 2> digits{};
    writeHexByte(digits.data(), value);
    out.append(digits.data(), digits.size());
}

// A word of at least 0 as it is written: 65536 and above read "FFFF".
std::uint16_t wordWritten(std::int32_t value) {
    return static_cast<std::uint16_t>(std::min(value, 65535));
}

// False, appending nothing, for a negative value.
bool appendHexWord(std::string& out, std::int32_t value) {
    if (value < 0) return false;
    const std::uint16_t word = wordWritten(value);
    appendHexByte(out, static_cast<std::uint8_t>(word / 256));
    appendHexByte(out, static_cast<std::uint8_t>(word % 256));
    return true;
}

// The two checksum digits of AppendChecksum, appended to `out`, whose record
// begins at `start`.
void appendChecksum(std::string& out, std::size_t start) {
    assert(out.size() >= start + 26);
    int sum = 0;
    for (std::size_t pos = start + 2; pos < start + 26; pos += 2)
        sum = (sum + hexValue(out[pos]) * 16 + hexValue(out[pos + 1])) % 256;
    appendHexByte(out, static_cast<std::uint8_t>(255 - sum));
}

}  // namespace

std::string HexByte(std::uint8_t value) {
    std::string text;
    appendHexByte(text, value);
    return text;
}

std::string hexDigits(std::uint32_t value) {
    std::string text;
    do {
        text.insert(text.begin(), kDigits[value & 15]);
        value >>= 4;
    } while (value != 0);
    return text;
}

std::optional<std::string> HexWord(std::int32_t value) {
    std::string text;
    if (!appendHexWord(text, value)) return std::nullopt;
    return text;
}

std::string AppendChecksum(std::string_view head) {
    std::string record(head);
    appendChecksum(record, 0);
    return record;
}

Status appendN3Record(const std::array<std::int32_t, 9>& fields, std::string& out) {
    // A PD script is a million of these: each is made in a few bytes here and
    // appended whole, its checksum summed from the bytes it spells out.
    std::array<std::uint8_t, 12> bytes{};
    std::size_t count = 0;
    for (int i = 0; i < 9; ++i) {
        const bool word = i == 0 || i == 6 || i == 7;
        const std::int32_t value = fields[static_cast<std::size_t>(i)];
        const bool fits = word ? value >= 0 : value >= 0 && value <= 255;
        if (!fits) return overflow(i, value, word ? "0 and up" : "0..255");
        if (word) {
            const std::uint16_t written = wordWritten(value);
            bytes[count++] = static_cast<std::uint8_t>(written / 256);
            bytes[count++] = static_cast<std::uint8_t>(written % 256);
        } else {
            bytes[count++] = static_cast<std::uint8_t>(value);
        }
    }
    std::array<char, 28> record{'N', '3'};
    std::uint8_t sum = 0;  // modulo 256, as AppendChecksum sums
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        writeHexByte(&record[2 + 2 * k], bytes[k]);
        sum = static_cast<std::uint8_t>(sum + bytes[k]);
    }
    writeHexByte(&record[26], static_cast<std::uint8_t>(255 - sum));
    out.append(record.data(), record.size());
    return {};
}

Result<std::string> BuildN3Record(const std::array<std::int32_t, 9>& fields) {
    std::string record;
    record.reserve(28);
    if (Status appended = appendN3Record(fields, record); !appended) return Error{appended.error()};
    return record;
}

}  // namespace fulgor
