#include "core/large_blocks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <new>
#include <numeric>
#include <string>
#include <thread>
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

// A large block given back is kept for the next block of its size, whatever
// thread gives it back or asks; a block of another size sends every kept one
// back to the system, so that kept blocks never add to the memory in use
// while new ones are made. Small blocks are never kept. The system may give
// a block some bytes beyond what was asked, never a whole huge page more.
TEST(LargeBlocks, AFreedLargeBlockServesTheNextOfItsSizeUntilAnotherSizeIsMade) {
    constexpr std::size_t kBytes = 3 * kHugePageBytes;
    auto keptIsOne = [](std::size_t bytes) {
        const std::size_t kept = keptLargeBlockBytes();
        return kept >= bytes && kept < bytes + kHugePageBytes;
    };
    // A size of its own first, so that nothing an earlier test gave back is kept.
    ::operator delete(::operator new(9 * kHugePageBytes));
    auto* first = static_cast<char*>(::operator new(kBytes));
    EXPECT_EQ(keptLargeBlockBytes(), 0u);
    first[kBytes - 1] = 'x';
    std::thread([first] { ::operator delete(first); }).join();
    EXPECT_TRUE(keptIsOne(kBytes)) << keptLargeBlockBytes();

    void* again = nullptr;
    std::thread([&again] { again = ::operator new(kBytes - kHugePageBytes + 1); }).join();
    EXPECT_EQ(again, first);
    EXPECT_EQ(keptLargeBlockBytes(), 0u);
    ::operator delete(again);

    void* other = ::operator new(2 * kHugePageBytes);
    EXPECT_EQ(keptLargeBlockBytes(), 0u);
    ::operator delete(other);
    EXPECT_TRUE(keptIsOne(2 * kHugePageBytes)) << keptLargeBlockBytes();
    delete[] new char[kHugePageBytes - 1];
    EXPECT_TRUE(keptIsOne(2 * kHugePageBytes)) << keptLargeBlockBytes();
}

}  // namespace
}  // namespace fulgor
