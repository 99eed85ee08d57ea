#include "core/utf8_text.h"

#include <gtest/gtest.h>

namespace fulgor {
namespace {

TEST(Utf8Text, CountsAndFindsCharacters) {
    const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\x86z";  // a é € 🎆 z
    EXPECT_EQ(utf8Length(text), 5u);
    EXPECT_EQ(utf8Length(""), 0u);
    const std::size_t offsets[] = {0, 1, 3, 6, 10, 11, 11};
    for (std::size_t index = 0; index < std::size(offsets); ++index) {
        EXPECT_EQ(utf8Offset(text, index), offsets[index]) << index;
    }
}

}  // namespace
}  // namespace fulgor
