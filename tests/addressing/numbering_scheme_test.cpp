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
    for (std::string text : {"abc", "", "1x", "1e20", "&HFFFFFFFF"}) {
        Result<NumberingScheme> low = decideNumbering({Custom, text, "F"});
        ASSERT_FALSE(low.ok()) << text;
        EXPECT_NE(low.error().find('"' + text + '"'), std::string::npos) << low.error();
    }
    EXPECT_FALSE(decideNumbering({Custom, "0", "1e20"}).ok());
}

}  // namespace
}  // namespace fulgor
