#include "core/utf8_text.h"

#include <cstdint>

#include "core/word_bytes.h"

namespace fulgor {
namespace {

bool continuesCharacter(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::size_t utf8Length(std::string_view text) {
    // Every byte but those that continue a character (10xxxxxx) begins one.
    // Those are counted eight at a time: the text sent to a panel is long.
    std::size_t continuing = 0;
    std::size_t at = 0;
    for (; text.size() - at >= 8; at += 8) {
        const std::uint64_t word = wordAt(text.data() + at);
        continuing += static_cast<std::size_t>(markedBytes(word & ~(word << 1) & everyByte(0x80)));
    }
    for (; at < text.size(); ++at) {
        if (continuesCharacter(text[at])) ++continuing;
    }
    return text.size() - continuing;
}

std::size_t utf8Offset(std::string_view text, std::size_t index) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (continuesCharacter(text[i])) continue;
        if (seen == index) return i;
        ++seen;
    }
    return text.size();
}

}  // namespace fulgor
