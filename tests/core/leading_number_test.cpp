#include "core/leading_number.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "core/cell.h"
#include "core/rounding.h"

namespace fulgor {
namespace {

struct Reading {
    const char* text;
    double value;
};

TEST(LeadingNumber, ReadsTheLeadingNumberAndStopsAtTheFirstMisfit) {
    // The last four cases have characters after the digits that change the reading:
    // plain decimals take a quick road that must not stop there.
    const Reading cases[] = {
        {"", 0},          {"abc", 0},
        {"12", 12},       {"12.5", 12.5},
        {"-3.25", -3.25}, {"+7", 7},
        {".5", 0.5},      {"5.", 5},
        {"12abc", 12},    {"12.5.3", 12.5},
        {"1e3", 1000},    {"1E-2", 0.01},
        {"2D2", 200},     {"2d+1", 20},
        {"1e", 1},        {"1e+", 1},
        {"3e-x", 3},      {" 1 2 . 5 ", 12.5},
        {"\t-\n4", -4},   {"- 5", -5},
        {"&H1F", 31},     {"&hff", 255},
        {"&O17", 15},     {"&o8", 0},
        {"&H", 0},        {"&HFFFFFFFF", 4294967295.0},
        {"& H10", 16},    {"&X1", 0},
        {"$5", 0},        {"--5", 0},
        {"+-5", 0},       {"-", 0},
        {".", 0},         {"0.1", 0.1},
        {"1,5", 1},       {"12:30", 12},
        {"\r5", 0},       {"1e-400", 0},
        {"00012", 12},    {"12 5", 125},
        {"1.5e2", 150},   {"1.5D2", 150},
        {"12.3.4", 12.3},
    };
    for (const Reading& c : cases) {
        EXPECT_EQ(leadingNumber(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(LeadingNumber, NeverGivesNegativeZeroOrNaNAndOverflowsToInfinity) {
    // Plain decimals, one with an exponent, and one that underflows.
    for (const char* zero : {"-0", "-0.000", "-0e1", "-1e-400"})
        EXPECT_FALSE(std::signbit(leadingNumber(zero))) << zero;
    EXPECT_FALSE(std::isnan(leadingNumber("nan")));
    EXPECT_EQ(leadingNumber("inf"), 0);
    double big = leadingNumber("1e400");
    EXPECT_EQ(big, std::numeric_limits<double>::infinity());
    EXPECT_EQ(leadingNumber("-9e999"), -std::numeric_limits<double>::infinity());
    EXPECT_FALSE(roundToInt32(big).has_value());
    // A long run of leading zeros in the fraction still underflows to 0.
    EXPECT_EQ(leadingNumber("0.000000000000000000001e-400"), 0);
}

// Plain decimals are read on a quick road; whatever the digits, the result
// must be the correctly rounded value strtod gives, and what follows the
// number must still be told apart.
TEST(LeadingNumber, PlainDecimalsAgreeWithStrtodAtEveryLength) {
    std::mt19937 random(6122026);
    for (int i = 0; i < 200'000; ++i) {
        std::string text;
        if (random() % 3 == 0) text += (random() % 2) ? '-' : '+';
        int integerDigits = static_cast<int>(random() % 19);
        int fractionDigits = static_cast<int>(random() % 25);
        for (int d = 0; d < integerDigits; ++d) text += static_cast<char>('0' + random() % 10);
        if (random() % 4 != 0) {
            text += '.';
            for (int d = 0; d < fractionDigits; ++d) text += static_cast<char>('0' + random() % 10);
        } else {
            fractionDigits = 0;
        }
        double expected = std::strtod(text.c_str(), nullptr) + 0.0;
        ASSERT_EQ(leadingNumber(text), expected) << text;
        ASSERT_EQ(leadingNumber(text + "x"), expected) << text;
        ASSERT_EQ(decimalNumber(text + "x"), std::nullopt) << text;
        if (text.find_first_of("0123456789") != std::string::npos) {
            ASSERT_EQ(decimalNumber(text), expected) << text;
        }
        const int digits = integerDigits + fractionDigits;
        ASSERT_EQ(plainDecimal(text),
                  digits > 0 && digits <= 15 ? std::optional<double>(expected) : std::nullopt)
            << text;
        ASSERT_EQ(plainDecimal(text + "x"), std::nullopt) << text;
    }
}

// A plain decimal is held as its number by a command that reads it only as
// one; it must then read as every other reading of its text would.
TEST(PlainDecimal, TakesSignDigitsAndPointAloneAndAgreesWithEveryOtherReading) {
    for (const char* yes : {"12", "-3.25", "+7", ".5", "5.", "0005.50", "-0", "-0.00",
                            "123456789012345", "1234567.12345678", "359998.99"}) {
        const std::optional<double> x = plainDecimal(yes);
        ASSERT_TRUE(x.has_value()) << yes;
        EXPECT_FALSE(*x == 0 && std::signbit(*x)) << yes;  // never -0
        EXPECT_EQ(x, decimalNumber(yes)) << yes;
        EXPECT_EQ(x, foundLeadingNumber(yes)) << yes;
        EXPECT_EQ(x, numericValue(Cell::text(yes))) << yes;
        EXPECT_EQ(*x, cellNumber(Cell::text(yes))) << yes;
    }
    for (const char* no :
         {"", " 12", "12 ", "1 2", "1e3", "2D2", "&H10", "abc", "12a", "-", "+", ".", "-.",
          "1234567890123456", "0000000000000001", "1.2.3", "1,5", "--5", "1e400"}) {
        EXPECT_EQ(plainDecimal(no), std::nullopt) << no;
    }
}

// Short texts are read in one word; whatever their bytes, the reading must
// agree with the definition: a sign, then at most 15 digits with at most one
// point among them, at least one digit, and nothing else.
TEST(PlainDecimal, ShortTextsOfAnyBytesAgreeWithTheDefinition) {
    const std::string alphabet = "0123456789..+-e &*/:\x80\xB9";
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    std::mt19937 random(8122026);
    for (int i = 0; i < 300'000; ++i) {
        std::string text(random() % 11, ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];
        std::string_view body(text);
        if (!body.empty() && (body[0] == '-' || body[0] == '+')) body.remove_prefix(1);
        const auto digits = std::count_if(body.begin(), body.end(), isDigit);
        const auto points = std::count(body.begin(), body.end(), '.');
        const bool plain = digits >= 1 && digits <= 15 && points <= 1 &&
                           static_cast<std::size_t>(digits + points) == body.size();
        ASSERT_EQ(
            plainDecimal(text),
            plain ? std::optional<double>(std::strtod(text.c_str(), nullptr) + 0.0) : std::nullopt)
            << text;
    }
}

TEST(FoundLeadingNumber, GivesTheNumberOnlyWhereADigitWasRead) {
    const std::pair<const char*, double> found[] = {
        {"12abc", 12}, {" -3", -3}, {"&H1F", 31}, {".5x", 0.5}, {"0", 0}};
    for (const auto& [text, value] : found) EXPECT_EQ(foundLeadingNumber(text), value) << text;
    for (const char* none : {"", " ", "abc", "&H", "-", ".", "e5"})
        EXPECT_EQ(foundLeadingNumber(none), std::nullopt) << none;
}

TEST(IsDecimalNumber, AcceptsOnlyAWholeDecimalNumber) {
    for (const char* yes : {"12", " 12.5 ", "-3", "+.5", "5.", "1e5", "1.5E-3", "2D3"}) {
        EXPECT_TRUE(isDecimalNumber(yes)) << yes;
    }
    for (const char* no : {"", " ", "abc", "12a", "1e", "&H10", "-", ".", "1,5", "1.2.3"}) {
        EXPECT_FALSE(isDecimalNumber(no)) << no;
    }
}

TEST(IsHexNumber, AcceptsOnlyAWholeAmpersandHNumber) {
    for (const char* yes : {"&H1F", "&hff", " & H 10 ", "&H0"})
        EXPECT_TRUE(isHexNumber(yes)) << yes;
    for (const char* no : {"", "&H", "&H1G", "&O17", "1F", "F", "16", "&H1F.5"}) {
        EXPECT_FALSE(isHexNumber(no)) << no;
    }
}

TEST(NumericValue, TellsATrueNumberFromTextThatOnlyStartsWithOne) {
    EXPECT_EQ(numericValue(Cell::number(-2.5)), -2.5);
    EXPECT_EQ(numericValue(Cell::text(" 12.10 ")), 12.1);
    EXPECT_EQ(numericValue(Cell::text("1e2")), 100);
    for (const char* no : {"", " ", "12abc", "abc", "&H10", "1e400", "-1e400"}) {
        EXPECT_FALSE(numericValue(Cell::text(no)).has_value()) << no;
    }
}

}  // namespace
}  // namespace fulgor
