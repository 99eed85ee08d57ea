#include "core/number_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "core/rounding.h"

namespace fulgor {
namespace {

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
    const std::pair<double, double> cases[] = {{0.5, 0},   {1.5, 2},   {2.5, 2},    {-0.5, 0},
                                               {-1.5, -2}, {-2.5, -2}, {2.4999, 2}, {2.5001, 3},
                                               {7, 7},     {-7.6, -8}};
    for (auto [x, expected] : cases) EXPECT_EQ(roundHalfEven(x), expected) << x;
    EXPECT_FALSE(std::signbit(roundHalfEven(-0.4)));
}

TEST(RoundToDecimals, WorksInDoubleArithmetic) {
    EXPECT_EQ(roundToDecimals(12.3456, 2), 12.35);
    EXPECT_EQ(roundToDecimals(12.125, 2), 12.12);
    EXPECT_EQ(roundToDecimals(12.36, 1), 12.4);
    EXPECT_EQ(roundToDecimals(12.25, 1), 12.2);
    EXPECT_EQ(roundToDecimals(10.25, 1), 10.2);
    EXPECT_EQ(roundToDecimals(0.35 * 10, 0), 4);
}

TEST(RoundToInt32, ChecksTheRange) {
    EXPECT_EQ(roundToInt32(2.5), 2);
    EXPECT_EQ(roundToInt32(3.5), 4);
    EXPECT_EQ(roundToInt32(-2147483648.4), -2147483648);
    EXPECT_EQ(roundToInt32(2147483647.4), 2147483647);
    EXPECT_FALSE(roundToInt32(2147483647.5).has_value());  // ties to even: 2147483648
    EXPECT_FALSE(roundToInt32(-2147483649.0).has_value());
    EXPECT_FALSE(roundToInt32(1e300).has_value());
}

// Written numbers take a quick road for plain decimals and the general
// conversion for the rest; both must print what printf("%.15g") prints: at
// most fifteen significant digits, no trailing zeros, and never "-0".
TEST(ShortestText, AgreesWithPrintfOnDecimalsOfEveryScaleAndOnArbitraryDoubles) {
    auto printfText = [](double x) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.15g", x);
        return std::string(buffer == std::string("-0") ? "0" : buffer);
    };
    std::mt19937_64 random(20261206);
    std::uniform_int_distribution<long long> mantissa(-999'999'999'999'999LL,
                                                      999'999'999'999'999LL);
    const double scales[] = {1, 10, 100, 1000, 10000, 100000, 1e-3, 1e14, 1e15, 1e16};
    for (int i = 0; i < 200'000; ++i) {
        double x = static_cast<double>(mantissa(random) >> (random() % 50)) /
                   scales[random() % std::size(scales)];
        ASSERT_EQ(shortestText(x), printfText(x)) << x;
    }
    for (int i = 0; i < 100'000; ++i) {
        double x = std::bit_cast<double>(random());
        if (!std::isfinite(x)) continue;
        ASSERT_EQ(shortestText(x), printfText(x));
    }
    const double edges[] = {
        12,      2.5,       1.15 * 100,       -1.25,   1e20,   123456789012345.0,
        -4096,   1.0 / 3,   1234.5,           1e-5,    2.675,  -999999999999999.0,
        1e15,    0.1 + 0.2, 0.00005,          0.00015, 0.0001, 99999999999.9999,
        -1e-300, -0.0001,   999999999999999.0};
    for (double x : edges) EXPECT_EQ(shortestText(x), printfText(x)) << x;
    // Half way between two whole numbers at the scale tried first.
    for (double x : {0.5, -0.5, -2.5, 0.125, -0.00005, 1e-4})
        EXPECT_EQ(shortestText(x), printfText(x)) << x;
    EXPECT_EQ(shortestText(-0.0), "0");
    EXPECT_EQ(shortestText(1e15), "1e+15");
    std::string appended = "x=";
    appendShortestText(-12.5, appended);
    EXPECT_EQ(appended, "x=-12.5");
}

TEST(FormatMask, EveryMaskTheCommandsUse) {
    struct Case {
        double x;
        const char* mask;
        const char* expected;
    };
    const Case cases[] = {
        {2.456, "0.00", "2.46"},     {0, "0.00", "0.00"},
        {-1.5, "0.00", "-1.50"},     {0.125, "0.00", "0.12"},
        {-0.001, "0.00", "0.00"},    {5, "00", "05"},
        {123, "00", "123"},          {0, "##0", "0"},
        {45, "##0", "45"},           {3.14159, "###0.00", "3.14"},
        {12.5, "####0.00", "12.50"}, {99999.999, "#####0.00", "100000.00"},
        {7.25, "#####0.0", "7.2"},   {0, "#0:", "0:"},
        {10, "#0:", "10:"},          {5, "00:", "05:"},
        {7, "00.", "07."},           {0.75, "##0", "1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatMask(c.x, c.mask), c.expected) << c.x << " " << c.mask;
}

TEST(FormatWhole, AgreesWithTheZeroMasksForWholeNumbers) {
    const std::pair<const char*, int> masks[] = {{"0", 1}, {"00", 2}, {"000", 3}};
    for (auto [mask, digits] : masks) {
        for (std::int64_t x : {0, 5, 42, 100, 12345, -1, -42, -123}) {
            EXPECT_EQ(formatWhole(x, digits), formatMask(static_cast<double>(x), mask))
                << x << " " << mask;
        }
    }
    EXPECT_EQ(formatWhole(INT64_MIN, 2), "-9223372036854775808");
}

}  // namespace
}  // namespace fulgor
