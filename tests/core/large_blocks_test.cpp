#include "core/large_blocks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <new>
#include <numeric>
#include <string>
#include <vector>

namespace fulgor {
namespace {

bool onHugePageBoundary(const void* block) {
    return reinterpret_cast<std::uintptr_t>(block) % kHugePageBytes == 0;
}

// Blocks on both sides of the huge-page size, through the containers that ask
// for them: the large ones aligned to it, every one holding what was put in
// while it grows, and the array and nothrow forms taking the same road.
TEST(LargeBlocks, LargeBlocksStartOnAHugePageAndEveryBlockHoldsItsContents) {
    std::vector<std::uint64_t> cells;
    for (std::size_t size :
         {kHugePageBytes / 8 - 1, kHugePageBytes / 8, 3 * kHugePageBytes / 8 + 5}) {
        cells.resize(size);
        std::iota(cells.begin(), cells.end(), std::uint64_t{7});
        EXPECT_EQ(onHugePageBoundary(cells.data()), cells.capacity() * 8 >= kHugePageBytes) << size;
        EXPECT_EQ(cells.front(), 7u);
        EXPECT_EQ(cells.back(), 7 + size - 1);
    }
    std::string text(kHugePageBytes, 'x');
    EXPECT_TRUE(onHugePageBoundary(text.data()));
    text += "end";
    EXPECT_EQ(text.substr(kHugePageBytes - 1), "xend");

    auto array = std::make_unique<char[]>(kHugePageBytes + 1);
    EXPECT_TRUE(onHugePageBoundary(array.get()));
    // The form a stable sort asks for its room with.
    const std::unique_ptr<char[]> spare(new (std::nothrow) char[kHugePageBytes]);
    EXPECT_TRUE(onHugePageBoundary(spare.get()));
}

}  // namespace
}  // namespace fulgor
