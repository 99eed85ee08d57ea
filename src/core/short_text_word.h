#pragma once
// A text of at most eight bytes gathered into one word.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace fulgor {

// The `n` bytes at `bytes` (n at most 8) in a word, the first in its lowest
// byte, the bytes above them zero. Gathered from two loads that overlap where
// they must: a copy of a varying length into a word that is then loaded whole
// stalls the processor, and a loop a byte mispredicts its end.
inline std::uint64_t shortTextWord(const char* bytes, std::size_t n) {
    if (n >= 4) {
        std::uint32_t first, last;
        std::memcpy(&first, bytes, sizeof first);
        std::memcpy(&last, bytes + n - 4, sizeof last);
        return first | (std::uint64_t{last} << (8 * (n - 4)));
    }
    if (n >= 2) {
        std::uint16_t first, last;
        std::memcpy(&first, bytes, sizeof first);
        std::memcpy(&last, bytes + n - 2, sizeof last);
        return first | (std::uint64_t{last} << (8 * (n - 2)));
    }
    return n == 1 ? static_cast<unsigned char>(bytes[0]) : 0;
}

}  // namespace fulgor
