#pragma once
// An allocator for the arrays of a million-cue show (a table's cells and
// texts, a sort's keys). Blocks of 2 MiB and more are aligned to 2 MiB and
// offered to the kernel for huge pages: rows visited out of their stored order,
// after a sort, would otherwise miss the processor's address cache on nearly
// every row. Smaller blocks come from the ordinary allocator.

#include <sys/mman.h>

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>

namespace fulgor {

inline constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

template <class T>
struct LargeBlockAllocator {
    using value_type = T;

    LargeBlockAllocator() = default;
    template <class U>
    LargeBlockAllocator(const LargeBlockAllocator<U>&) noexcept {}

    static std::size_t roundedBytes(std::size_t n) {
        return (n * sizeof(T) + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
    }

    T* allocate(std::size_t n) {
        if (n * sizeof(T) < kHugePageBytes) return std::allocator<T>().allocate(n);
        if (n > std::size_t(-1) / 2 / sizeof(T)) throw std::bad_array_new_length();
        void* block = std::aligned_alloc(kHugePageBytes, roundedBytes(n));
        if (!block) throw std::bad_alloc();
        // Only advice: where the kernel has no huge pages the block works as is.
        madvise(block, roundedBytes(n), MADV_HUGEPAGE);
        return static_cast<T*>(block);
    }

    void deallocate(T* block, std::size_t n) noexcept {
        if (n * sizeof(T) < kHugePageBytes) {
            std::allocator<T>().deallocate(block, n);
        } else {
            std::free(block);
        }
    }

    template <class U>
    bool operator==(const LargeBlockAllocator<U>&) const noexcept {
        return true;
    }
};

}  // namespace fulgor
