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

// The two checksum digits of AppendChecksum, added to `head` itself.
void appendChecksum(std::string& head) {
    assert(head.size() >= 26);
    int sum = 0;
    for (int i = 1; i <= 12; ++i) {
        std::size_t pos = static_cast<std::size_t>(2 * i);  // 0-based start of pair i
        sum = (sum + hexValue(head[pos]) * 16 + hexValue(head[pos + 1])) % 256;
    }
    appendHexByte(head, static_cast<std::uint8_t>(255 - sum));
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
    appendChecksum(record);
    return record;
}

Result<std::string> BuildN3Record(const std::array<std::int32_t, 9>& fields) {
    // A PD script is a million of these: the record is made in one string
    // sized for it.
    std::string head;
    head.reserve(28);
    head = "N3";
    for (int i = 0; i < 9; ++i) {
        bool word = i == 0 || i == 6 || i == 7;
        if (word) {
            if (!appendHexWord(head, fields[i])) return overflow(i, fields[i], "0 and up");
        } else {
            if (fields[i] < 0 || fields[i] > 255) return overflow(i, fields[i], "0..255");
            appendHexByte(head, static_cast<std::uint8_t>(fields[i]));
        }
    }
    appendChecksum(head);
    return head;
}

}  // namespace fulgor
