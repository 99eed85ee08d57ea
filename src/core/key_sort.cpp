#include "core/key_sort.h"

#include <array>
#include <bit>
#include <cassert>
#include <cstddef>
#include <optional>
#include <utility>

#include "core/in_order_worker.h"

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

// The buckets of one pass: each byte value's count, in the byte at `shift`.
struct Buckets {
    int shift = 0;
    std::array<std::size_t, 256> count{};
};

// Most significant byte first, in place (the "American flag" sort): a pass
// counts one byte of the keys and moves every entry into its byte's bucket
// along cycles; each bucket is then sorted by the next byte. A byte that all
// the keys share costs one counting pass and moves nothing. Gives the buckets
// of the byte the keys were moved by, from `shift` down, or nothing when no
// bucket is left to sort: the keys were few enough to finish by insertion, or
// all alike.
std::optional<Buckets> distribute(std::span<std::uint64_t> keys, std::span<int> rows, int shift) {
    auto byteOf = [&shift](std::uint64_t key) { return (key >> shift) & 0xFF; };
    Buckets buckets;
    std::array<std::size_t, 256>& count = buckets.count;
    for (;;) {
        if (keys.size() <= kSmallBucket) {
            insertionSort(keys, rows);
            return std::nullopt;
        }
        count.fill(0);
        for (std::uint64_t key : keys) ++count[byteOf(key)];
        if (count[byteOf(keys[0])] != keys.size()) break;
        if (shift == 0) return std::nullopt;  // every key alike
        shift -= 8;
    }
    buckets.shift = shift;
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
    return buckets;
}

void sortFromByte(std::span<std::uint64_t> keys, std::span<int> rows, int shift);

// Sorts buckets [first, last) of a pass, which begin `start` entries into the
// keys, each by the bytes after the pass's.
void sortBuckets(std::span<std::uint64_t> keys, std::span<int> rows, const Buckets& buckets,
                 std::size_t first, std::size_t last, std::size_t start) {
    if (buckets.shift == 0) return;
    for (std::size_t b = first; b < last; ++b) {
        const std::size_t count = buckets.count[b];
        if (count > 1)
            sortFromByte(keys.subspan(start, count), rows.subspan(start, count), buckets.shift - 8);
        start += count;
    }
}

void sortFromByte(std::span<std::uint64_t> keys, std::span<int> rows, int shift) {
    if (std::optional<Buckets> buckets = distribute(keys, rows, shift))
        sortBuckets(keys, rows, *buckets, 0, 256, 0);
}

// From this many keys the buckets of the first pass are shared with a helper
// thread.
constexpr std::size_t kKeysWorthAHelper = std::size_t{1} << 16;

}  // namespace

std::uint64_t orderedKey(double x) {
    const auto bits = std::bit_cast<std::uint64_t>(x + 0.0);
    // Negative numbers order backwards by their bits, and below every positive.
    return (bits & kSignBit) ? ~bits : bits | kSignBit;
}

void sortByKey(std::span<std::uint64_t> keys, std::span<int> rows) {
    assert(keys.size() == rows.size());
    if (keys.size() < kKeysWorthAHelper) {
        sortFromByte(keys, rows, 56);
        return;
    }
    const std::optional<Buckets> buckets = distribute(keys, rows, 56);
    if (!buckets) return;
    // The buckets are sorted each on its own: the helper takes those after
    // the point where about half of the keys lie before.
    std::size_t split = 0;
    std::size_t before = 0;
    while (split < 256 && before + buckets->count[split] <= keys.size() / 2)
        before += buckets->count[split++];
    InOrderWorker helper(1);
    static_cast<void>(helper.add([&, split, before] {
        sortBuckets(keys, rows, *buckets, split, 256, before);
        return Status{};
    }));
    sortBuckets(keys, rows, *buckets, 0, split, 0);
    static_cast<void>(helper.finish());
}

}  // namespace fulgor
