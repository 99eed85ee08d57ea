#include "addressing/hex_text.h"

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

}  // namespace

std::string HexByte(std::uint8_t value) {
    return {kDigits[value >> 4], kDigits[value & 15]};
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
    if (value >= 65536) return "FFFF";
    if (value < 0) return std::nullopt;
    return HexByte(static_cast<std::uint8_t>(value / 256)) +
           HexByte(static_cast<std::uint8_t>(value % 256));
}

std::string AppendChecksum(std::string_view head) {
    assert(head.size() >= 26);
    int sum = 0;
    for (int i = 1; i <= 12; ++i) {
        std::size_t pos = static_cast<std::size_t>(2 * i);  // 0-based start of pair i
        sum = (sum + hexValue(head[pos]) * 16 + hexValue(head[pos + 1])) % 256;
    }
    std::string record(head);
    record += HexByte(static_cast<std::uint8_t>(255 - sum));
    return record;
}

Result<std::string> BuildN3Record(const std::array<std::int32_t, 9>& fields) {
    std::string head = "N3";
    for (int i = 0; i < 9; ++i) {
        bool word = i == 0 || i == 6 || i == 7;
        if (word) {
            std::optional<std::string> hex = HexWord(fields[i]);
            if (!hex) return overflow(i, fields[i], "0 and up");
            head += *hex;
        } else {
            if (fields[i] < 0 || fields[i] > 255) return overflow(i, fields[i], "0..255");
            head += HexByte(static_cast<std::uint8_t>(fields[i]));
        }
    }
    return AppendChecksum(head);
}

}  // namespace fulgor
