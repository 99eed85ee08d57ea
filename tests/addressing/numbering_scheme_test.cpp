#include "addressing/numbering_scheme.h"

#include <gtest/gtest.h>

namespace fulgor {
namespace {

NumberingChoice custom(const char* lo, const char* hi) {
    return {NumberingOption::Custom, lo, hi};
}

TEST(DecideNumbering, OptionButtonsComeBeforeTheCustomTexts) {
    // The custom texts are kept but ignored while another option is chosen.
    NumberingScheme kavrin = decideNumbering({NumberingOption::Kavrin, "x", "1F"}).value();
    EXPECT_EQ(kavrin.kind, SchemeKind::Kavrin);
    EXPECT_EQ(kavrin.firstPin, 1);
    EXPECT_EQ(kavrin.lastPin, 45);
    EXPECT_EQ(kavrin.moduleLimit, 12);
    NumberingScheme talsen = decideNumbering({NumberingOption::Talsen, "x", "1F"}).value();
    EXPECT_EQ(talsen.kind, SchemeKind::Talsen);
    EXPECT_EQ(talsen.lastPin, 32);
    EXPECT_EQ(talsen.moduleLimit, 99);
    EXPECT_EQ(decideNumbering(NumberingChoice{}).value().kind, SchemeKind::Kavrin);
}

TEST(DecideNumbering, CustomRangeIsDecimalWhenTheHighTextIsANumberElseOneHexLetter) {
    struct Case {
        const char* lo;
        const char* hi;
        SchemeKind kind;
        std::int32_t first, last, modules;
    };
    const Case cases[] = {
        {"0", "F", SchemeKind::CustomHex, 0, 15, 127},
        {"1", "a", SchemeKind::CustomHex, 1, 10, 127},
        {"10", "E", SchemeKind::CustomHex, 10, 14, 127},  // "E" alone is no exponent
        {"1", "16", SchemeKind::CustomDecimal, 1, 16, 999},
        {" 2 ", "+16.0", SchemeKind::CustomDecimal, 2, 16, 999},
        {"0", "15.5", SchemeKind::CustomDecimal, 0, 16, 999},  // halves go to even
        {"0", "14.5", SchemeKind::CustomDecimal, 0, 14, 999},
        {"0", "1e1", SchemeKind::CustomDecimal, 0, 10, 999},
        {"&H1", "&H10", SchemeKind::CustomDecimal, 1, 16, 999},
        {"0", "1F", SchemeKind::None, 0, 0, 0},  // two hex digits: neither form
        {"0", "FF", SchemeKind::None, 0, 0, 0},
        {"0", "G", SchemeKind::None, 0, 0, 0},
        {"0", "1E", SchemeKind::None, 0, 0, 0},
        {"0", " F", SchemeKind::None, 0, 0, 0},
        {"0", "", SchemeKind::None, 0, 0, 0},
        {"junk", "1F", SchemeKind::None, 0, 0, 0},  // the low text is never read
    };
    for (const Case& c : cases) {
        Result<NumberingScheme> scheme = decideNumbering(custom(c.lo, c.hi));
        ASSERT_TRUE(scheme.ok()) << c.lo << " to " << c.hi << ": " << scheme.error();
        EXPECT_EQ(scheme.value().kind, c.kind) << c.lo << " to " << c.hi;
        EXPECT_EQ(scheme.value().firstPin, c.first) << c.lo << " to " << c.hi;
        EXPECT_EQ(scheme.value().lastPin, c.last) << c.lo << " to " << c.hi;
        EXPECT_EQ(scheme.value().moduleLimit, c.modules) << c.lo << " to " << c.hi;
    }
}

TEST(DecideNumbering, RefusesALowTextThatIsNoNumberAndEndsBeyond32Bits) {
    const std::pair<const char*, const char*> refused[] = {
        {"abc", "F"}, {"", "16"}, {"1x", "16"}, {"0", "1e20"}, {"-3e10", "F"}, {"0", "&HFFFFFFFF"},
    };
    for (auto [lo, hi] : refused) {
        Result<NumberingScheme> scheme = decideNumbering(custom(lo, hi));
        ASSERT_FALSE(scheme.ok()) << lo << " to " << hi;
        std::string named = (std::string_view(lo) == "0") ? hi : lo;
        EXPECT_NE(scheme.error().find('"' + named + '"'), std::string::npos) << scheme.error();
    }
}

}  // namespace
}  // namespace fulgor
