#include "core/cp1252.h"

#include <gtest/gtest.h>

namespace fulgor {
namespace {

TEST(Cp1252, EveryByteSurvivesDecodeThenEncode) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    Result<std::string> back = encode1252(decode1252(all));
    ASSERT_TRUE(back.ok()) << back.error();
    EXPECT_EQ(back.value(), all);
    // In place: three- and two-byte characters shrink under the bytes still to be read.
    std::string text = decode1252(all) + "\u20AC\u00E9";
    ASSERT_TRUE(encode1252InPlace(text));
    EXPECT_EQ(text, all + "\x80\xE9");
    std::string refused = "ok \u4E2D";
    Status status = encode1252InPlace(refused);
    ASSERT_FALSE(status);
    EXPECT_EQ(status.error(),
              "the character \"\u4E2D\" (U+4E2D) cannot be written in the Windows-1252 code page");
}

TEST(Cp1252, MapsTheHighBytesToTheirCharacters) {
    EXPECT_EQ(decode1252("\x80"), "\u20AC");
    EXPECT_EQ(decode1252("\x99"), "\u2122");
    EXPECT_EQ(decode1252("\xE9"), "\u00E9");
    EXPECT_EQ(decode1252("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(encode1252("Caf\u00E9 \u20AC5").value(),
              "Caf\xE9 \x80"
              "5");
}

TEST(Cp1252, RefusesCharactersItCannotHoldAndNamesThem) {
    Result<std::string> r = encode1252("ok \u4E2D");
    ASSERT_FALSE(r.ok());
    EXPECT_NE(r.error().find("U+4E2D"), std::string::npos) << r.error();
    EXPECT_FALSE(encode1252("smile \U0001F600").ok());
    EXPECT_FALSE(encode1252("\xC3").ok());  // cut-off UTF-8
}

}  // namespace
}  // namespace fulgor
