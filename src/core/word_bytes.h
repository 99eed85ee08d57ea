#pragma once
// Eight bytes of a text at once, in one word: for the passes that read every
// byte of a large script, a loop a byte at a time mispredicting every end.

#include <bit>
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

// The eight bytes at `bytes` in a word, the first in its lowest byte.
inline std::uint64_t wordAt(const char* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// A word with the byte `c` in every byte.
constexpr std::uint64_t everyByte(unsigned char c) {
    return 0x0101'0101'0101'0101ULL * c;
}

// The bytes of `word` that are zero, marked by the top bit of each: exact,
// as no carry crosses from one byte into the next.
constexpr std::uint64_t zeroBytes(std::uint64_t word) {
    constexpr std::uint64_t kLow7 = everyByte(0x7F);
    return ~(((word & kLow7) + kLow7) | word | kLow7);
}

// The bytes of `word` that are `c`, marked as zeroBytes marks them.
constexpr std::uint64_t bytesOf(std::uint64_t word, char c) {
    static_assert(std::endian::native == std::endian::little);
    return zeroBytes(word ^ everyByte(static_cast<unsigned char>(c)));
}

// How many bytes such marks mark.
constexpr int markedBytes(std::uint64_t marks) {
    return static_cast<int>(((marks >> 7) * everyByte(1)) >> 56);
}

}  // namespace fulgor
