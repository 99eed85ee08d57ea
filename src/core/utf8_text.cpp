#include "core/utf8_text.h"

namespace fulgor {
namespace {

bool continuesCharacter(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::size_t utf8Length(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) {
        if (!continuesCharacter(c)) ++count;
    }
    return count;
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
