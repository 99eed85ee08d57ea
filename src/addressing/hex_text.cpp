#include "addressing/hex_text.h"

#include <algorithm>
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

// HexByte and HexWord written straight onto the end of `out`: the records of
// a PD script, a million of them, are made without a string per field.
void appendHexByte(std::string& out, std::uint8_t value) {
    out += kDigits[value >> 4];
    out += kDigits[value & 15];
}

// False, appending nothing, for a negative value.
bool appendHexWord(std::string& out, std::int32_t value) {
    if (value < 0) return false;
    const std::int32_t word = std::min(value, 65535);  // 65536 and above read "FFFF"
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
    // A PD script is a million of these: each is made where it goes.
    const std::size_t start = out.size();
    out += "N3";
    for (int i = 0; i < 9; ++i) {
        const bool word = i == 0 || i == 6 || i == 7;
        const bool fits = word ? fields[i] >= 0 : fields[i] >= 0 && fields[i] <= 255;
        if (!fits) {
            out.resize(start);
            return overflow(i, fields[i], word ? "0 and up" : "0..255");
        }
        if (word) {
            appendHexWord(out, fields[i]);
        } else {
            appendHexByte(out, static_cast<std::uint8_t>(fields[i]));
        }
    }
    appendChecksum(out, start);
    return {};
}

Result<std::string> BuildN3Record(const std::array<std::int32_t, 9>& fields) {
    std::string record;
    record.reserve(28);
    if (Status appended = appendN3Record(fields, record); !appended) return Error{appended.error()};
    return record;
}

}  // namespace fulgor
