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
// Smaller blocks come from malloc as usual. A few large blocks given back
// are kept for the next ones of their size (SpareBlocks below); every other
// block goes back through free, which takes both kinds.
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

#include <malloc.h>
#include <sys/mman.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>
#include <utility>

#include "core/large_blocks.h"

namespace {

using fulgor::kHugePageBytes;

// Large blocks given back are kept, a few, for the next large block that fits
// in one: its pages are already there, where a fresh block's every huge page
// traps into the kernel again to be found and cleared (under a virtual
// machine, up to milliseconds each). A command that works a part at a time
// frees and makes the same few blocks over and over.
class SpareBlocks {
public:
    // A kept block for `bytes`, whole huge pages; nullptr if none. It holds
    // at least `bytes` and less than a huge page more (the system gives a
    // block some bytes beyond what was asked): a larger one would do, but
    // would bring in pages the asker may never touch, while room made for
    // rows that never come costs nothing in a fresh block. When none is
    // kept, every kept block goes back to the system: they are not what is
    // made now, and would only add to the memory in use.
    void* take(std::size_t bytes) {
        std::lock_guard lock(m_mutex);
        for (Spare& spare : m_spares) {
            if (!spare.block || spare.bytes < bytes || spare.bytes - bytes >= kHugePageBytes)
                continue;
            m_keptBytes -= spare.bytes;
            return std::exchange(spare.block, nullptr);
        }
        freeAll();
        return nullptr;
    }
    void giveBackAll() {
        std::lock_guard lock(m_mutex);
        freeAll();
    }
    // Keeps the block when there is room, else gives it back to the system.
    void give(void* block, std::size_t bytes) {
        {
            std::lock_guard lock(m_mutex);
            if (m_keptBytes + bytes <= kMaxKeptBytes) {
                for (Spare& spare : m_spares) {
                    if (spare.block) continue;
                    spare = {block, bytes};
                    m_keptBytes += bytes;
                    return;
                }
            }
        }
        std::free(block);
    }

    std::size_t keptBytes() {
        std::lock_guard lock(m_mutex);
        return m_keptBytes;
    }

private:
    void freeAll() {
        for (Spare& spare : m_spares) std::free(std::exchange(spare.block, nullptr));
        m_keptBytes = 0;
    }

    // Enough for the blocks of the few parts a command has in hand at once.
    static constexpr std::size_t kMaxKeptBytes = std::size_t{64} << 20;
    struct Spare {
        void* block = nullptr;
        std::size_t bytes = 0;
    };
    std::mutex m_mutex;
    std::array<Spare, 8> m_spares{};
    std::size_t m_keptBytes = 0;
};

// Never destroyed: blocks are given back until the very end of the program.
SpareBlocks& spareBlocks() {
    alignas(SpareBlocks) static unsigned char room[sizeof(SpareBlocks)];
    static auto* spares = new (room) SpareBlocks;
    return *spares;
}

void* allocateBlock(std::size_t bytes) {
    if (bytes < kHugePageBytes) return std::malloc(bytes == 0 ? 1 : bytes);
    if (bytes > SIZE_MAX - kHugePageBytes) return nullptr;
    const std::size_t rounded = (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
    if (void* spare = spareBlocks().take(rounded)) return spare;
    void* block = std::aligned_alloc(kHugePageBytes, rounded);
    // Only advice: where the kernel has no huge pages the block works as is.
    if (block) madvise(block, rounded, MADV_HUGEPAGE);
    return block;
}

void freeBlock(void* block) {
    // A large block starts on a huge page's boundary and holds one at least.
    // A small one may do both by chance; kept, it serves as well.
    if (block && reinterpret_cast<std::uintptr_t>(block) % kHugePageBytes == 0) {
        const std::size_t bytes = malloc_usable_size(block) / kHugePageBytes * kHugePageBytes;
        if (bytes >= kHugePageBytes) {
            spareBlocks().give(block, bytes);
            return;
        }
    }
    std::free(block);
}

}  // namespace

extern "C" void fulgor_large_blocks() {}

std::size_t fulgor::keptLargeBlockBytes() {
    return spareBlocks().keptBytes();
}

void fulgor::giveBackKeptLargeBlocks() {
    spareBlocks().giveBackAll();
}

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
    freeBlock(block);
}

void operator delete[](void* block) noexcept {
    freeBlock(block);
}

void operator delete(void* block, std::size_t) noexcept {
    freeBlock(block);
}

void operator delete[](void* block, std::size_t) noexcept {
    freeBlock(block);
}

void operator delete(void* block, const std::nothrow_t&) noexcept {
    freeBlock(block);
}

void operator delete[](void* block, const std::nothrow_t&) noexcept {
    freeBlock(block);
}
