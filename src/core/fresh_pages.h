#pragma once
// Fresh memory brought in ahead of the thread that fills it.

#include <cstddef>
#include <span>

namespace fulgor {

// Has the system provide the pages under `bytes` now, holding what they hold,
// so that the first writes to them later do not each stop while a fresh page
// is found and cleared (under a virtual machine, often found by its host
// too): for a thread with time to spare, ahead of one about to fill memory
// made room for but not yet written. Only a hint: where the system cannot,
// nothing happens, and the writes bring the pages in as usual.
void bringPagesIn(std::span<const std::byte> bytes);

}  // namespace fulgor
