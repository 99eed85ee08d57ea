#pragma once
// What a pass over a table's column made of its cells lately, by their value
// tokens (Table::valueToken): a column mostly holds a few values again and
// again, and the memo spares decoding, reading and writing out each anew.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fulgor {

// A fixed few entries, so that a column of values all different costs little
// more than without it.
template <typename Value>
class TokenMemo {
public:
    // The value made for `token`: remembered, or made now by `make()`.
    template <typename Make>
    const Value& get(std::uint64_t token, const Make& make) {
        Entry& entry = m_entries[(token * 0x9E37'79B9'7F4A'7C15ULL) >> (64 - kBits)];
        if (!entry.filled || entry.token != token) {
            entry.value = make();
            entry.token = token;
            entry.filled = true;
        }
        return entry.value;
    }

private:
    static constexpr int kBits = 10;
    struct Entry {
        std::uint64_t token = 0;
        Value value{};
        bool filled = false;
    };
    std::vector<Entry> m_entries = std::vector<Entry>(std::size_t{1} << kBits);
};

}  // namespace fulgor
