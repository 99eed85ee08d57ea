// The program's own operator new and delete, for every executable that links
// the core. Blocks of 2 MiB and more (a table's cells and texts, a sort's
// order, a converted script's text) are aligned to 2 MiB and offered to the
// kernel for huge pages:
// - each first touch of a fresh page traps into the kernel, and under a
//   virtual machine into its host too; in 4 KiB pages a million-cue show's
//   arrays take tens of thousands of such traps, a tenth to a quarter of a
//   command's run, against a few dozen in 2 MiB pages;
// - rows visited out of their stored order, after a sort, would otherwise
//   miss the processor's address cache on nearly every row.
// Smaller blocks come from malloc as usual. Every block goes back through
// free, which takes both kinds.
//
// Every plain, array and nothrow form is replaced, not only the two the
// standard library's own forms call: under the sanitizers those others come
// from the sanitizers' runtime, whose blocks free must not take. The aligned
// forms are left to the library, which pairs them among themselves.
//
// A library that comes first on a program's link line and defines its own
// operator new (the sanitizers' runtime does) would keep this file out of a
// link that only looks for operator new, so every program that links the
// core names fulgor_large_blocks, which nothing else defines (CMakeLists.txt).

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

#include "core/large_blocks.h"

namespace {

using fulgor::kHugePageBytes;

void* allocateBlock(std::size_t bytes) {
    if (bytes < kHugePageBytes) return std::malloc(bytes == 0 ? 1 : bytes);
    if (bytes > SIZE_MAX - kHugePageBytes) return nullptr;
    const std::size_t rounded = (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
    void* block = std::aligned_alloc(kHugePageBytes, rounded);
    // Only advice: where the kernel has no huge pages the block works as is.
    if (block) madvise(block, rounded, MADV_HUGEPAGE);
    return block;
}

}  // namespace

extern "C" void fulgor_large_blocks() {}

void* operator new(std::size_t bytes) {
    for (;;) {
        if (void* block = allocateBlock(bytes)) return block;
        std::new_handler handler = std::get_new_handler();
        if (!handler) throw std::bad_alloc();
        handler();
    }
}

void* operator new[](std::size_t bytes) {
    return ::operator new(bytes);
}

void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
    try {
        return ::operator new(bytes);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void* operator new[](std::size_t bytes, const std::nothrow_t& nothrow) noexcept {
    return ::operator new(bytes, nothrow);
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete[](void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}

void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}

void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
