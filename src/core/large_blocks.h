#pragma once
// The size from which the program's blocks come on huge pages, aligned to it
// (large_blocks.cpp): a buffer meant for one huge page takes exactly this.

#include <cstddef>

namespace fulgor {

inline constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

// Bytes of the large blocks given back and kept for the next ones of their
// size, whose pages are then already in memory.
std::size_t keptLargeBlockBytes();
// Gives every kept block back to the system: for a program about to bring in
// memory of another kind, such as a mapped file's pages.
void giveBackKeptLargeBlocks();

}  // namespace fulgor
