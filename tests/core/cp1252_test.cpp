#include "core/cp1252.h"

#include <gtest/gtest.h>

namespace fulgor {
namespace {

TEST(Cp1252, EveryByteSurvivesDecodeThenEncodeAndTheHighBytesMapToTheirCharacters) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    Result<std::string> back = encode1252(decode1252(all));
    ASSERT_TRUE(back.ok()) << back.error();
    EXPECT_EQ(back.value(), all);
    // In place: three- and two-byte characters shrink under the bytes still to be read.
    std::string text = decode1252(all) + "\u20AC\u00E9";
    ASSERT_TRUE(encode1252InPlace(text));
    EXPECT_EQ(text, all + "\x80\xE9");
    EXPECT_EQ(decode1252("\x80\x99\xE9"), "\u20AC\u2122\u00E9");
    EXPECT_EQ(decode1252("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
}

TEST(Cp1252, RefusesCharactersItCannotHoldAndNamesThem) {
    const std::pair<const char*, const char*> refused[] = {
        {"ok \u4E2D",
         "the character \"\u4E2D\" (U+4E2D) cannot be written in the Windows-1252 code page"},
        {"smile \U0001F600",
         "the character \"\U0001F600\" (U+1F600) cannot be written in the Windows-1252 code page"},
        {"\u0100",
         "the character \"\u0100\" (U+0100) cannot be written in the Windows-1252 code page"},
        {"\xC3", "the text is not valid UTF-8"},  // cut off
        {"\xC3(", "the text is not valid UTF-8"},
    };
    for (auto [text, message] : refused) {
        EXPECT_EQ(encode1252(text).error(), message) << text;
        std::string inPlace = text;
        Status status = encode1252InPlace(inPlace);
        ASSERT_FALSE(status) << text;
        EXPECT_EQ(status.error(), message);
    }
}

}  // namespace
}  // namespace fulgor
