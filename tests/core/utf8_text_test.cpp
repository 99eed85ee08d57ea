#include "core/utf8_text.h"

#include <gtest/gtest.h>

#include <random>

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

// The count goes eight bytes at a time; at every length and alignment it
// must agree with counting the bytes that begin a character one by one.
TEST(Utf8Text, LengthOfLongTextsAgreesWithCountingByteByByte) {
    const std::string pieces[] = {"a", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x8E\x86", ",", "\x7F"};
    std::mt19937 random(8122026);
    for (int i = 0; i < 2000; ++i) {
        std::string text;
        std::size_t characters = 0;
        for (int n = static_cast<int>(random() % 40); n > 0; --n, ++characters)
            text += pieces[random() % std::size(pieces)];
        ASSERT_EQ(utf8Length(text), characters) << text;
    }
}

}  // namespace
}  // namespace fulgor
