#include "core/large_block_allocator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <vector>

namespace fulgor {
namespace {

// Blocks on both sides of the huge-page size: the large ones aligned to it,
// both kinds holding what was put in while they grow.
TEST(LargeBlockAllocator, GivesAlignedLargeBlocksAndOrdinarySmallOnes) {
    std::vector<std::uint64_t, LargeBlockAllocator<std::uint64_t>> cells;
    for (std::size_t size :
         {kHugePageBytes / 8 - 1, kHugePageBytes / 8, 3 * kHugePageBytes / 8 + 5}) {
        cells.resize(size);
        std::iota(cells.begin(), cells.end(), std::uint64_t{7});
        if (cells.capacity() * 8 >= kHugePageBytes) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(cells.data()) % kHugePageBytes, 0u) << size;
        }
        EXPECT_EQ(cells.front(), 7u);
        EXPECT_EQ(cells.back(), 7 + size - 1);
    }
    std::basic_string<char, std::char_traits<char>, LargeBlockAllocator<char>> text(kHugePageBytes,
                                                                                    'x');
    text += "end";
    EXPECT_EQ(text.substr(kHugePageBytes - 1), "xend");
}

}  // namespace
}  // namespace fulgor
