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
    auto expectCode = [](int code, std::initializer_list<const char*> declared) {
        for (const char* type : declared) EXPECT_EQ(sdTypeOfDeclared(type), code) << type;
    };
    expectCode(2, {"SMALLINT", "short", "Int2"});
    expectCode(3, {"INTEGER", "int", "LONG", "INT4"});
    expectCode(4, {"REAL", "single", "FLOAT4"});
    expectCode(17, {"TINYINT", "byte"});
    expectCode(202, {"VARCHAR(52)", "nvarchar (10)", "CHAR", "text", "  TEXT"});
    expectCode(0, {"DOUBLE", "FLOAT", "DATETIME", "CURRENCY", "MEMO", "LONGTEXT", "BLOB", "",
                   "INTEGRAL", "TEXTS", "INT8"});
}

// Field numbers, a minus for descending.
std::string sortFields(std::string_view text) {
    auto sort = parseSdSort(text, kFields);
    if (!sort.ok()) return sort.error();
    std::string fields;
    for (const auto& key : sort.value())
        fields += (key.descending ? "-" : "") + std::to_string(key.field) + " ";
    return fields;
}

TEST(SdSort, ReadsBracketedNamesWithOptionalOrderInAnyCaseOrRefusesThemWithTheWholeMessage) {
    EXPECT_EQ(sortFields(" [time] , [Cue] desc,[effect description]ASC"), "1 -0 4 ");
    EXPECT_EQ(sortFields("   "), "");
    EXPECT_EQ(parseSdSort("[NOPE]", kFields).error(),
              "Sorting Order:\nThere is no field [NOPE] in the table \"Events\".");
    EXPECT_EQ(parseSdSort("[TIME] DESCENDING", kFields).error(),
              "Sorting Order:\nAfter [TIME] only ASC or DESC may follow, not \"DESCENDING\".");
    const std::string syntax =
        "Sorting Order:\nEach sort field is a name in brackets, optionally followed by ASC or "
        "DESC, such as [TIME] or [CUE] DESC; commas separate them.";
    for (const char* bad : {"TIME", "[TIME],", ",[TIME]", "[TIME],,[CUE]"})
        EXPECT_EQ(parseSdSort(bad, kFields).error(), syntax) << bad;
    EXPECT_EQ(parseSdSort("[TIME] [CUE]x", kFields).error(),
              "Sorting Order:\nAfter [TIME] only ASC or DESC may follow, not \"[CUE]x\".");
    EXPECT_EQ(parseSdSort("[TIME]; DROP TABLE Events", kFields).error(),
              "Sorting Order:\nAfter [TIME] only ASC or DESC may follow, not \"; DROP TABLE "
              "Events\".");
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
        EXPECT_TRUE(c.kind == SdCondition::Kind::Compare && c.op == op && c.number == number)
            << text;
    }
    for (const char* bad : {"2", "> ", ">> 2", "=< 2", "> 2 3", "> 2;", "> 0x10", "> 1e", "> 1e999",
                            "> inf", "> nan", "> 2 OR 1=1", "LIKE 2", "> -", "> ."}) {
        EXPECT_EQ(parseSdFilter({3, bad}, kFields).error(),
                  std::string("QTY Filter:\n\"") + bad +
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
