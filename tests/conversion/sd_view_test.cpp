#include "conversion/sd_view.h"

#include <gtest/gtest.h>

#include "conversion/sd_event_source.h"

namespace fulgor {
namespace {

const std::vector<SdField> kFields = {{"CUE", kSdSmallInt},
                                      {"TIME", kSdInteger},
                                      {"Event Description", kSdText},
                                      {"QTY", kSdTinyInt},
                                      {"Effect Description", kSdText},
                                      {"PRICE1", kSdOtherType},
                                      {"odd \"name\"", kSdSingle}};

TEST(SdFields, TypeCodeComesFromTheDeclaredTypesFirstWord) {
    const std::pair<const char*, int> cases[] = {{"SMALLINT", 2},
                                                 {"short", 2},
                                                 {"Int2", 2},
                                                 {"INTEGER", 3},
                                                 {"int", 3},
                                                 {"LONG", 3},
                                                 {"INT4", 3},
                                                 {"REAL", 4},
                                                 {"single", 4},
                                                 {"FLOAT4", 4},
                                                 {"TINYINT", 17},
                                                 {"byte", 17},
                                                 {"VARCHAR(52)", 202},
                                                 {"nvarchar (10)", 202},
                                                 {"CHAR", 202},
                                                 {"text", 202},
                                                 {"  TEXT", 202},
                                                 {"DOUBLE", 0},
                                                 {"FLOAT", 0},
                                                 {"DATETIME", 0},
                                                 {"CURRENCY", 0},
                                                 {"MEMO", 0},
                                                 {"LONGTEXT", 0},
                                                 {"BLOB", 0},
                                                 {"", 0},
                                                 {"INTEGRAL", 0},
                                                 {"TEXTS", 0},
                                                 {"INT8", 0}};
    for (auto [declared, code] : cases) EXPECT_EQ(sdTypeOfDeclared(declared), code) << declared;
}

TEST(SdSort, ParsesBracketedNamesWithOptionalOrderInAnyCase) {
    auto sort = parseSdSort(" [time] , [Cue] desc,[effect description]ASC", kFields);
    ASSERT_TRUE(sort.ok()) << sort.error();
    ASSERT_EQ(sort.value().size(), 3u);
    EXPECT_EQ(sort.value()[0].field, 1);
    EXPECT_FALSE(sort.value()[0].descending);
    EXPECT_EQ(sort.value()[1].field, 0);
    EXPECT_TRUE(sort.value()[1].descending);
    EXPECT_EQ(sort.value()[2].field, 4);
    EXPECT_FALSE(sort.value()[2].descending);
    EXPECT_TRUE(parseSdSort("   ", kFields).value().empty());
}

TEST(SdSort, RefusesBadSyntaxAndUnknownNamesWithTheWholeMessage) {
    EXPECT_EQ(parseSdSort("[NOPE]", kFields).error(),
              "Sorting Order:\nThere is no field [NOPE] in the table \"Events\".");
    EXPECT_EQ(parseSdSort("[TIME] DESCENDING", kFields).error(),
              "Sorting Order:\nAfter [TIME] only ASC or DESC may follow, not \"DESCENDING\".");
    const std::string syntax =
        "Sorting Order:\nEach sort field is a name in brackets, optionally followed by ASC or "
        "DESC, such as [TIME] or [CUE] DESC; commas separate them.";
    for (const char* bad : {"TIME", "[TIME],", ",[TIME]", "[TIME],,[CUE]", "[TIME] [CUE]x",
                            "[TIME]; DROP TABLE Events"}) {
        auto parsed = parseSdSort(bad, kFields);
        ASSERT_FALSE(parsed.ok()) << bad;
        EXPECT_TRUE(parsed.error().starts_with("Sorting Order:\n")) << bad;
    }
    EXPECT_EQ(parseSdSort("TIME", kFields).error(), syntax);
    EXPECT_EQ(parseSdSort("[TIME", kFields).error(),
              "Sorting Order:\nA field name lacks its closing \"]\".");
}

TEST(SdSort, HeaderClickReplacesOrAppendsOnlyWithCtrlAlone) {
    EXPECT_EQ(sortTextAfterHeaderClick("", "TIME", 0), "[TIME]");
    EXPECT_EQ(sortTextAfterHeaderClick("[TIME]", "CUE", kCtrlKey), "[TIME],[CUE]");
    EXPECT_EQ(sortTextAfterHeaderClick("[TIME],[CUE]", "CUE", kCtrlKey | kShiftKey), "[CUE]");
    EXPECT_EQ(sortTextAfterHeaderClick("[TIME]", "CUE", kCtrlKey | kAltKey), "[CUE]");
    EXPECT_EQ(sortTextAfterHeaderClick("", "CUE", kCtrlKey), "[CUE]");
    EXPECT_EQ(sortTextAfterHeaderClick("[TIME]", "", kCtrlKey), "[TIME]");
}

SdCondition condition(int field, const char* text) {
    auto parsed = parseSdFilter({field, text}, kFields);
    EXPECT_TRUE(parsed.ok()) << text << ": " << parsed.error();
    EXPECT_TRUE(parsed.ok() && parsed.value().has_value()) << text;
    return parsed.ok() && parsed.value() ? *parsed.value() : SdCondition{};
}

TEST(SdFilter, NumericFilterIsOneOperatorAndOneNumber) {
    const std::tuple<const char*, const char*, double> good[] = {
        {"> 2", ">", 2},     {"  <>0 ", "<>", 0}, {"<=-1.5", "<=", -1.5}, {">= .5", ">=", 0.5},
        {"=1e3", "=", 1000}, {"< +7", "<", 7},    {"\t=\t3.", "=", 3}};
    for (auto [text, op, number] : good) {
        SdCondition c = condition(3, text);
        EXPECT_EQ(c.kind, SdCondition::Kind::Compare);
        EXPECT_EQ(c.op, op) << text;
        EXPECT_EQ(c.number, number) << text;
    }
    for (const char* bad : {"2", "> ", ">> 2", "=< 2", "> 2 3", "> 2;", "> 0x10", "> 1e", "> 1e999",
                            "> inf", "> nan", "> 2 OR 1=1", "LIKE 2", "> -", "> ."}) {
        auto parsed = parseSdFilter({3, bad}, kFields);
        ASSERT_FALSE(parsed.ok()) << bad;
        EXPECT_EQ(parsed.error(), std::string("QTY Filter:\n\"") + bad +
                                      "\" is not a filter for a number field: type one "
                                      "comparison (=, <>, <, >, <= or >=) and one number, such "
                                      "as > 2.");
    }
}

TEST(SdFilter, TextFilterKeepsTheTypedTextAndOtherTypesAndBlanksTakeNoPart) {
    SdCondition c = condition(4, " Com'");
    EXPECT_EQ(c.kind, SdCondition::Kind::StartsWith);
    EXPECT_EQ(c.prefix, " Com'");
    EXPECT_FALSE(parseSdFilter({5, "> 2"}, kFields).value().has_value());
    EXPECT_FALSE(parseSdFilter({3, "  \t "}, kFields).value().has_value());
    EXPECT_FALSE(parseSdFilter({4, "   "}, kFields).value().has_value());
}

TEST(SdFilter, ConditionsComeInFieldOrderAndBindEveryTypedValue) {
    std::vector<SdColumnFilter> typed = {{4, "Com"}, {5, "anything"}, {3, "> 2"}};
    auto conditions = parseSdFilters(typed, kFields);
    ASSERT_TRUE(conditions.ok());
    auto sort = parseSdSort("[TIME],[CUE] DESC", kFields);
    SdViewSql sql = buildSdViewSql(kFields, conditions.value(), sort.value());
    EXPECT_EQ(sql.clause,
              " WHERE \"QTY\" > ? AND \"Effect Description\" LIKE ? ORDER BY \"TIME\" ASC, "
              "\"CUE\" DESC, rowid");
    ASSERT_EQ(sql.bindings.size(), 2u);
    EXPECT_FALSE(sql.bindings[0].isText);
    EXPECT_EQ(sql.bindings[0].number, 2);
    EXPECT_TRUE(sql.bindings[1].isText);
    EXPECT_EQ(sql.bindings[1].text, "Com%");
    EXPECT_EQ(buildSdViewSql(kFields, {}, {}).clause, " ORDER BY rowid");
}

TEST(SdFilter, NamesAreQuotedAndWildcardsMapped) {
    EXPECT_EQ(quoteSqlName("odd \"name\""), "\"odd \"\"name\"\"\"");
    EXPECT_EQ(likePrefixPattern("a*b?c%d_e'f[g]"), "a%b_c%d_e'f[g]%");
    EXPECT_EQ(likePrefixPattern(""), "%");
}

TEST(SdValueText, HaddrIsUppercaseHexWithoutLeadingZeros) {
    EXPECT_EQ(haddrText(SdValue::of(163.0)), "A3");
    EXPECT_EQ(haddrText(SdValue::of(0.0)), "0");
    EXPECT_EQ(haddrText(SdValue::of(4095.0)), "FFF");
    EXPECT_EQ(haddrText(SdValue::of(std::string_view(" 26 "))), "1A");
    EXPECT_EQ(haddrText(SdValue::of(std::string_view(""))), "");
    EXPECT_EQ(haddrText(SdValue::null()), "");
    EXPECT_EQ(haddrText(SdValue::of(std::string_view("x1"))), "");
}

}  // namespace
}  // namespace fulgor
