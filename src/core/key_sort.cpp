#include "core/key_sort.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "core/in_order_worker.h"

namespace fulgor {
namespace {

constexpr std::uint64_t kSignBit = std::uint64_t{1} << 63;
// Below this many entries a bucket is finished by insertion, which beats
// another counting pass.
constexpr std::size_t kSmallBucket = 32;
// From this many entries, a helper thread sorts about half of them.
constexpr std::size_t kEntriesWorthAHelper = std::size_t{1} << 16;

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

// The entries of one pass, moved into the buckets of one byte of their keys.
struct Buckets {
    std::array<std::size_t, 256> count{};
    int shift = 0;  // the byte's lowest bit
};

// Most significant byte first, in place (the "American flag" sort): a pass
// counts one byte of the keys and moves every entry into its byte's bucket
// along cycles; each bucket is then sorted by the next byte. A byte that all
// the keys share costs one counting pass and moves nothing. Gives the buckets,
// or nothing when the entries are sorted already (few, or alike to the end).
std::optional<Buckets> distribute(std::span<std::uint64_t> keys, std::span<int> rows, int shift) {
    Buckets buckets;
    std::array<std::size_t, 256>& count = buckets.count;
    auto byteOf = [&shift](std::uint64_t key) { return (key >> shift) & 0xFF; };
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

// Entries still to be sorted by the bytes of their keys from `shift` down.
struct Stretch {
    std::span<std::uint64_t> keys;
    std::span<int> rows;
    int shift = 56;
};

// Calls `use` with each bucket of `stretch`, distributed, that is still to
// be sorted.
template <typename Use>
void forEachBucket(const Stretch& stretch, const Buckets& buckets, const Use& use) {
    if (buckets.shift == 0) return;
    std::size_t start = 0;
    for (const std::size_t n : buckets.count) {
        if (n > 1)
            use(Stretch{stretch.keys.subspan(start, n), stretch.rows.subspan(start, n),
                        buckets.shift - 8});
        start += n;
    }
}

void sortStretch(const Stretch& stretch) {
    if (const std::optional<Buckets> buckets =
            distribute(stretch.keys, stretch.rows, stretch.shift))
        forEachBucket(stretch, *buckets, sortStretch);
}

// Sorts on this thread and a helper, each taking about half the entries. The
// entries are first split, the largest stretch distributed into its buckets,
// until none holds more than half: the keys' leading bytes are often much
// alike (numbers of one size share their exponent), so the first byte's
// buckets alone seldom share fairly.
void sortSharedWithHelper(const Stretch& all) {
    std::vector<Stretch> stretches{all};
    const std::size_t half = all.keys.size() / 2;
    auto size = [](const Stretch& stretch) { return stretch.keys.size(); };
    auto bySize = [&](const Stretch& a, const Stretch& b) { return size(a) < size(b); };
    for (;;) {
        auto largest = std::max_element(stretches.begin(), stretches.end(), bySize);
        if (largest == stretches.end() || size(*largest) <= half) break;
        const Stretch stretch = *largest;
        stretches.erase(largest);
        if (const std::optional<Buckets> buckets =
                distribute(stretch.keys, stretch.rows, stretch.shift))
            forEachBucket(stretch, *buckets,
                          [&](const Stretch& bucket) { stretches.push_back(bucket); });
    }
    // The larger stretches first, each to the thread with the fewer entries.
    std::sort(stretches.begin(), stretches.end(),
              [&](const Stretch& a, const Stretch& b) { return size(a) > size(b); });
    std::vector<Stretch> mine;
    std::vector<Stretch> theirs;
    std::size_t mineSize = 0;
    std::size_t theirSize = 0;
    for (const Stretch& stretch : stretches) {
        if (mineSize <= theirSize) {
            mine.push_back(stretch);
            mineSize += size(stretch);
        } else {
            theirs.push_back(stretch);
            theirSize += size(stretch);
        }
    }
    InOrderWorker helper(1);
    static_cast<void>(helper.alongside(
        [&] {
            for (const Stretch& stretch : theirs) sortStretch(stretch);
            return Status{};
        },
        [&] {
            for (const Stretch& stretch : mine) sortStretch(stretch);
        }));
}

}  // namespace

std::uint64_t orderedKey(double x) {
    const auto bits = std::bit_cast<std::uint64_t>(x + 0.0);
    // Negative numbers order backwards by their bits, and below every positive.
    return (bits & kSignBit) ? ~bits : bits | kSignBit;
}

void sortByKey(std::span<std::uint64_t> keys, std::span<int> rows) {
    assert(keys.size() == rows.size());
    if (keys.size() <= kSmallBucket) return insertionSort(keys, rows);
    // Keys close together share their leading bits, as the keys of doubles
    // of like size share their exponent's: the first byte that tells them
    // apart would then split them into a few large buckets, to be passed
    // over again. So the keys are sorted as their distance from the least,
    // shifted up until the first byte is the first that differs, and given
    // back as they were afterwards. On a million times that is one pass
    // over all of them before the helper joins instead of two.
    const auto [least, most] = std::minmax_element(keys.begin(), keys.end());
    const std::uint64_t low = *least;
    const std::uint64_t spread = *most - low;
    if (spread == 0) return;
    const int up = std::countl_zero(spread);
    for (std::uint64_t& key : keys) key = (key - low) << up;
    if (keys.size() < kEntriesWorthAHelper) {
        sortStretch({keys, rows});
    } else {
        sortSharedWithHelper({keys, rows});
    }
    for (std::uint64_t& key : keys) key = (key >> up) + low;
}

}  // namespace fulgor
