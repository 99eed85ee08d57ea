#pragma once
// Sorting rows by one 64-bit key each, in time linear in the rows: the sort
// behind every grid's header click and every command that orders a script,
// which must not slow down per row as shows grow to millions of cues.

#include <cstdint>
#include <span>

namespace fulgor {

// A key that orders as the double does: a < b exactly when
// orderedKey(a) < orderedKey(b); -0 and +0 give the same key.
// Precondition: x is not NaN.
std::uint64_t orderedKey(double x);

// Sorts `keys` ascending and moves each entry of `rows` along with its key.
// Rows of equal keys end in no particular order. Holds no memory beyond a few
// kilobytes of counts and, where a helper thread sorts half of many entries,
// the list of the parts each thread takes. Precondition: keys.size() == rows.size().
void sortByKey(std::span<std::uint64_t> keys, std::span<int> rows);

}  // namespace fulgor
