#include "core/key_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <numeric>
#include <random>
#include <vector>

namespace fulgor {
namespace {

TEST(OrderedKey, OrdersAsTheNumbersDo) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    constexpr double kTiny = std::numeric_limits<double>::denorm_min();
    const std::vector<double> ascending = {-kInf, -1e300, -2.5, -1,  -kTiny, 0,
                                           kTiny, 1e-300, 1,    2.5, 1e300,  kInf};
    for (std::size_t i = 0; i < ascending.size(); ++i)
        for (std::size_t j = 0; j < ascending.size(); ++j)
            EXPECT_EQ(orderedKey(ascending[i]) < orderedKey(ascending[j]), i < j)
                << ascending[i] << " against " << ascending[j];
    EXPECT_EQ(orderedKey(-0.0), orderedKey(0.0));
}

// Sorts `keys` with sortByKey and checks the result against std::sort: the
// keys in order, and each row still beside the key it came with.
void expectSortedAlong(std::vector<std::uint64_t> keys) {
    std::vector<int> rows(keys.size());
    std::iota(rows.begin(), rows.end(), 0);
    const std::vector<std::uint64_t> original = keys;
    std::vector<std::uint64_t> expected = keys;
    std::sort(expected.begin(), expected.end());
    sortByKey(keys, rows);
    ASSERT_EQ(keys, expected);
    std::vector<bool> seen(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ASSERT_EQ(original[static_cast<std::size_t>(rows[i])], keys[i]) << "entry " << i;
        ASSERT_FALSE(seen[static_cast<std::size_t>(rows[i])]) << "row " << rows[i] << " twice";
        seen[static_cast<std::size_t>(rows[i])] = true;
    }
}

// Sizes on both sides of the point where buckets are finished by insertion
// and of the one where a helper thread shares the sorting, and key sets that
// exercise the shared-byte passes and the sharing out: every key alike, keys
// apart only in their lowest or only in their highest byte, few distinct
// numbers (a script's positions), times of a show (all of one leading byte),
// nearly every key one value, and keys spread over all 64 bits.
TEST(SortByKey, SortsLikeStdSortAndKeepsRowsWithTheirKeys) {
    std::mt19937_64 random(7);
    for (std::size_t size : {0, 1, 2, 31, 32, 33, 257, 5000, 65535, 65536, 100000}) {
        SCOPED_TRACE(size);
        std::vector<std::uint64_t> spread(size), lowByte(size), highByte(size), alike(size, 42),
            positions(size), times(size), mostlyOne(size);
        for (std::size_t i = 0; i < size; ++i) {
            spread[i] = random();
            lowByte[i] = 0x1234'5678'9ABC'DE00ULL | (random() & 0xFF);
            highByte[i] = (random() & 0xFF) << 56 | 0x00FF'FFFF'0000'FFFFULL;
            positions[i] = orderedKey(static_cast<double>(random() % 12) - 3);
            times[i] = orderedKey(static_cast<double>(random() % 3'600'000) / 100);
            mostlyOne[i] = random() % 10 == 0 ? random() : orderedKey(12.5);
        }
        expectSortedAlong(spread);
        expectSortedAlong(lowByte);
        expectSortedAlong(highByte);
        expectSortedAlong(alike);
        expectSortedAlong(positions);
        expectSortedAlong(times);
        expectSortedAlong(mostlyOne);
    }
}

}  // namespace
}  // namespace fulgor
