#include "core/fresh_pages.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>
#include <vector>

namespace fulgor {
namespace {

// The pages brought in are those holding any byte of the span, from a span
// that starts and ends inside pages; the pages either side stay out, and what
// a page held before is still there.
TEST(FreshPages, BringsInEveryPageTheBytesTouchAndOnlyThoseWithoutChangingThem) {
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    constexpr std::size_t kPages = 12;
    void* mapped =
        mmap(nullptr, kPages * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(mapped, MAP_FAILED);
    // Page by page, so that the first write to one page brings in that page alone.
    ASSERT_EQ(madvise(mapped, kPages * page, MADV_NOHUGEPAGE), 0);
    auto* bytes = static_cast<std::byte*>(mapped);
    std::memcpy(bytes + 5 * page + 17, "kept", 4);

    bringPagesIn({bytes + 3 * page + 100, 4 * page});  // ends 100 bytes into page 7

    std::vector<unsigned char> resident(kPages);
    ASSERT_EQ(mincore(mapped, kPages * page, resident.data()), 0);
    for (std::size_t i = 0; i < kPages; ++i)
        EXPECT_EQ(resident[i] & 1, i >= 3 && i <= 7 ? 1 : 0) << "page " << i;
    EXPECT_EQ(std::memcmp(bytes + 5 * page + 17, "kept", 4), 0);
    EXPECT_EQ(bytes[4 * page], std::byte{0});

    bringPagesIn({});
    munmap(mapped, kPages * page);
}

}  // namespace
}  // namespace fulgor
