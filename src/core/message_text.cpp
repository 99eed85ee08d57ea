#include "core/message_text.h"

#include "core/utf8_text.h"

namespace fulgor {

std::string lineList(std::span<const int> rows) {
    if (rows.empty()) return {};
    std::string text = rows.size() == 1 ? "Line" : "Lines";
    for (std::size_t i = 0; i < rows.size() && i < kLinesNamed; ++i)
        text += (i == 0 ? " " : ", ") + std::to_string(rows[i] + 1);
    if (rows.size() > kLinesNamed) text += ", ...";
    return text;
}

std::string shortened(std::string_view text, std::size_t maxCharacters) {
    std::size_t cut = utf8Offset(text, maxCharacters);
    if (cut == text.size()) return std::string(text);
    return std::string(text.substr(0, cut)) + "...";
}

}  // namespace fulgor
