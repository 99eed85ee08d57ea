#include "core/key_sort.h"

#include <array>
#include <bit>
#include <cassert>
#include <cstddef>
#include <utility>

namespace fulgor {
namespace {

constexpr std::uint64_t kSignBit = std::uint64_t{1} << 63;
// Below this many entries a bucket is finished by insertion, which beats
// another counting pass.
constexpr std::size_t kSmallBucket = 32;

void insertionSort(std::span<std::uint64_t> keys, std::span<int> rows) {
    for (std::size_t i = 1; i < keys.size(); ++i) {
        const std::uint64_t key = keys[i];
        const int row = rows[i];
        std::size_t j = i;
        for (; j > 0 && keys[j - 1] > key; --j) {
            keys[j] = keys[j - 1];
            rows[j] = rows[j - 1];
        }
        keys[j] = key;
        rows[j] = row;
    }
}

// Most significant byte first, in place (the "American flag" sort): each pass
// counts one byte of the keys, moves every entry into its byte's bucket along
// cycles, then sorts each bucket by the next byte. A byte that all the keys
// share costs one counting pass and moves nothing.
void sortFromByte(std::span<std::uint64_t> keys, std::span<int> rows, int shift) {
    auto byteOf = [&shift](std::uint64_t key) { return (key >> shift) & 0xFF; };
    std::array<std::size_t, 256> count{};
    for (;;) {
        if (keys.size() <= kSmallBucket) {
            insertionSort(keys, rows);
            return;
        }
        count.fill(0);
        for (std::uint64_t key : keys) ++count[byteOf(key)];
        if (count[byteOf(keys[0])] != keys.size()) break;
        if (shift == 0) return;  // every key alike
        shift -= 8;
    }
    std::array<std::size_t, 256> next{};  // where the bucket's next entry goes
    std::array<std::size_t, 256> end{};
    std::size_t sum = 0;
    for (std::size_t b = 0; b < 256; ++b) {
        next[b] = sum;
        sum += count[b];
        end[b] = sum;
    }
    for (std::size_t b = 0; b < 256; ++b) {
        while (next[b] < end[b]) {
            std::uint64_t key = keys[next[b]];
            int row = rows[next[b]];
            for (std::size_t home = byteOf(key); home != b; home = byteOf(key)) {
                std::swap(key, keys[next[home]]);
                std::swap(row, rows[next[home]]);
                ++next[home];
            }
            keys[next[b]] = key;
            rows[next[b]] = row;
            ++next[b];
        }
    }
    if (shift == 0) return;
    std::size_t start = 0;
    for (std::size_t b = 0; b < 256; ++b) {
        if (count[b] > 1)
            sortFromByte(keys.subspan(start, count[b]), rows.subspan(start, count[b]), shift - 8);
        start += count[b];
    }
}

}  // namespace

std::uint64_t orderedKey(double x) {
    const auto bits = std::bit_cast<std::uint64_t>(x + 0.0);
    // Negative numbers order backwards by their bits, and below every positive.
    return (bits & kSignBit) ? ~bits : bits | kSignBit;
}

void sortByKey(std::span<std::uint64_t> keys, std::span<int> rows) {
    assert(keys.size() == rows.size());
    sortFromByte(keys, rows, 56);
}

}  // namespace fulgor
