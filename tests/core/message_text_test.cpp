#include "core/message_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace fulgor {
namespace {

TEST(LineList, NamesOneLineManyLinesAndCutsAfterTen) {
    EXPECT_EQ(lineList({}), "");
    EXPECT_EQ(lineList(std::vector<int>{0}), "Line 1");
    EXPECT_EQ(lineList(std::vector<int>{2, 4}), "Lines 3, 5");
    std::vector<int> ten{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_EQ(lineList(ten), "Lines 1, 2, 3, 4, 5, 6, 7, 8, 9, 10");
    ten.push_back(99);
    EXPECT_EQ(lineList(ten), "Lines 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, ...");
}

TEST(Shortened, KeepsTextUpToTheLimitAndCutsCharactersNotBytes) {
    EXPECT_EQ(shortened("1e999", 5), "1e999");
    EXPECT_EQ(shortened("1e9999", 5), "1e999...");
    EXPECT_EQ(shortened("", 5), "");
    // "€" is three bytes: four of them are four characters, not cut inside one.
    EXPECT_EQ(shortened("\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC", 3),
              "\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC...");
    EXPECT_EQ(shortened(std::string(1000000, '9')), std::string(40, '9') + "...");
}

}  // namespace
}  // namespace fulgor
