#include "addressing/numbering_scheme.h"

#include <gtest/gtest.h>

namespace fulgor {
namespace {

using enum NumberingOption;
using SK = SchemeKind;

TEST(DecideNumbering, OptionsFirstThenANumberThenOneHexLetter) {
    struct Case {
        NumberingChoice choice;
        SchemeKind kind;
        std::int32_t first, last, modules;
    };
    const Case cases[] = {
        {{Kavrin, "x", "1F"}, SK::Kavrin, 1, 45, 12},  // custom texts are ignored
        {{Talsen, "x", "1F"}, SK::Talsen, 1, 32, 99},
        {{Custom, "0", "F"}, SK::CustomHex, 0, 15, 127},
        {{Custom, "10", "e"}, SK::CustomHex, 10, 14, 127},  // "e" alone is no exponent
        {{Custom, "1", "16"}, SK::CustomDecimal, 1, 16, 999},
        {{Custom, " 2 ", "15.5"}, SK::CustomDecimal, 2, 16, 999},  // halves go to even
        {{Custom, "0", "1e1"}, SK::CustomDecimal, 0, 10, 999},
        {{Custom, "&H1", "&H10"}, SK::CustomDecimal, 1, 16, 999},
        {{Custom, "0", "1F"}, SK::None, 0, 0, 0},  // two hex digits: neither form
        {{Custom, "0", "G"}, SK::None, 0, 0, 0},
        {{Custom, "0", " F"}, SK::None, 0, 0, 0},
        {{Custom, "junk", ""}, SK::None, 0, 0, 0},  // the low text is never read
    };
    for (const Case& c : cases) {
        Result<NumberingScheme> scheme = decideNumbering(c.choice);
        const std::string label = c.choice.customLo + " to " + c.choice.customHi;
        ASSERT_TRUE(scheme.ok()) << label << ": " << scheme.error();
        EXPECT_EQ(scheme.value().kind, c.kind) << label;
        EXPECT_EQ(scheme.value().firstPin, c.first) << label;
        EXPECT_EQ(scheme.value().lastPin, c.last) << label;
        EXPECT_EQ(scheme.value().moduleLimit, c.modules) << label;
    }
}

TEST(DecideNumbering, RefusesALowTextThatIsNoNumberAndEndsBeyond32Bits) {
    struct Case {
        std::string lo, hi, message;
    };
    const Case cases[] = {
        {"", "F", "The custom low pin \"\" is not a number."},
        {"1x", "16", "The custom low pin \"1x\" is not a number."},
        {"1e20", "F", "The custom low pin \"1e20\" is too large."},
        {"&HFFFFFFFF", "F", "The custom low pin \"&HFFFFFFFF\" is too large."},
        {"0", "1e20", "The custom high pin \"1e20\" is too large."},
        {"0", "2147483648", "The custom high pin \"2147483648\" is too large."},
    };
    for (const Case& c : cases) {
        Result<NumberingScheme> scheme = decideNumbering({Custom, c.lo, c.hi});
        ASSERT_FALSE(scheme.ok()) << c.lo << " to " << c.hi;
        EXPECT_EQ(scheme.error(), c.message);
    }
    // The 32-bit edge itself is a pin.
    Result<NumberingScheme> widest = decideNumbering({Custom, "-2147483648", "2147483647"});
    ASSERT_TRUE(widest.ok()) << widest.error();
    EXPECT_EQ(widest.value().firstPin, -2147483647 - 1);
    EXPECT_EQ(widest.value().lastPin, 2147483647);
}

}  // namespace
}  // namespace fulgor
