#pragma once
// Hexadecimal address text and the checksummed "N3" record of the PD format.
// Hex text is uppercase, high digit first, without prefix or separator.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/result.h"

namespace fulgor {

// Two hex digits: 10 -> "0A", 255 -> "FF".
std::string HexByte(std::uint8_t value);

// Hex digits without leading zeros, as a custom hex pin is written: 0 -> "0",
// 20 -> "14". A negative pin passes as its 32-bit pattern (-1 -> "FFFFFFFF").
std::string hexDigits(std::uint32_t value);

// Four hex digits, high byte first: 300 -> "012C"; "FFFF" for 65536 and above.
// Nothing for a negative value (its high byte is outside 0..255).
std::optional<std::string> HexWord(std::int32_t value);

// Appends the one's complement of the 8-bit sum of the twelve hex byte pairs
// that follow the leading "N3". Precondition: head.size() >= 26 and characters
// 3..26 are hex digits.
std::string AppendChecksum(std::string_view head);

// The 28-character record "N3", HexWord(field 0), HexByte(fields 1..5),
// HexWord(fields 6 and 7), HexByte(field 8), checksum. Fails, returning no
// record at all, when a byte field lies outside 0..255 or a word field is negative.
// Fields 1..9 give "N3000102030405060007000809D2".
Result<std::string> BuildN3Record(const std::array<std::int32_t, 9>& fields);
// The same record appended to `out`, or, failing, nothing appended.
Status appendN3Record(const std::array<std::int32_t, 9>& fields, std::string& out);

}  // namespace fulgor
