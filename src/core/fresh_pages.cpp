#include "core/fresh_pages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace fulgor {

void bringPagesIn(std::span<const std::byte> bytes) {
    if (bytes.empty()) return;
    static const auto pageBytes = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    // The pages that hold any of the bytes: madvise takes whole pages from
    // the first one's start.
    const auto begin = reinterpret_cast<std::uintptr_t>(bytes.data()) & ~(pageBytes - 1);
    const auto end = reinterpret_cast<std::uintptr_t>(bytes.data() + bytes.size());
    // Unlike writing to each page, this never changes a byte, so it may run
    // while another thread writes the same memory.
    madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
}

}  // namespace fulgor
