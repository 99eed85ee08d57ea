#include "comms/show_format.h"

#include <gtest/gtest.h>

#include "comms/crlf_text.h"
#include "core/script_columns.h"

namespace fulgor {
namespace {

// Line, Shot, Pos, Time, Mod, Pin and Err of one row.
using Cue = std::array<std::string, 7>;

// A Kavrin table in firing order, numbered as NumberShots leaves it.
Table kavrinTable(const std::vector<Cue>& cues) {
    Table table(static_cast<int>(cues.size()), kavrin::ColumnCount);
    for (int row = 0; row < table.rowCount(); ++row) {
        const Cue& cue = cues[static_cast<std::size_t>(row)];
        for (int column = kavrin::Line; column <= kavrin::Pin; ++column) {
            table.setText(row, column, cue[static_cast<std::size_t>(column)]);
        }
        table.setText(row, kavrin::Err, cue[6]);
        table.setText(row, kavrin::Notes, "never sent");
    }
    return table;
}

PanelText format(const Table& table, std::string_view name, bool miravel) {
    Result<PanelText> panel = formatPanelText(table, name, miravel);
    EXPECT_TRUE(panel.ok()) << panel.error();
    return panel.ok() ? panel.value() : PanelText{};
}

TEST(PanelText, WholeShowWithHeaderCuesAndEndRecord) {
    Table table = kavrinTable({{"1", "1", "4", "1.0", "01", "01", ""},
                               {"2", "1", "5", "1.0", "02", "01", ""},
                               {"3", "2", "4", "2.5", "01", "02", ""},
                               {"4", "3", "6", "3.0", "03", "01", ""},
                               {"5", "3", "6", "3.0", "03", "02", ""}});
    std::vector<std::int64_t> counts;
    Result<PanelText> panel = formatPanelText(table, "Midsummer Finale", false,
                                              [&](std::int64_t lines) { counts.push_back(lines); });
    ASSERT_TRUE(panel.ok());
    const std::string expected =
        "N\tMidsummer Finale\r\n"
        "S\t1\t1\t4\t10\t1\t1\r\n"
        "S\t2\t1\t5\t10\t2\t1\r\n"
        "S\t3\t2\t4\t25\t1\t2\r\n"
        "S\t4\t3\t6\t30\t3\t1\r\n"
        "S\t5\t3\t6\t30\t3\t2\r\n"
        "S\t0\t0\r\n";
    EXPECT_EQ(panel.value().text, expected);
    EXPECT_EQ(panel.value().lines, 7);
    EXPECT_EQ(panel.value().characters, static_cast<std::int64_t>(expected.size()));
    EXPECT_EQ(counts, (std::vector<std::int64_t>{2, 3, 4, 5, 6}));
}

TEST(PanelText, EmptyShowNameOrTable) {
    PanelText onlyEnd = format(Table(0, kavrin::ColumnCount), "", false);
    EXPECT_EQ(onlyEnd.text, "S\t0\t0\r\n");
    EXPECT_EQ(onlyEnd.lines, 1);
    EXPECT_EQ(onlyEnd.characters, 7);  // CR and LF count one each
    EXPECT_EQ(format(Table(0, kavrin::ColumnCount), "Show", false).text, "N\tShow\r\nS\t0\t0\r\n");
    EXPECT_EQ(format(kavrinTable({{"1", "1", "1", "1", "1", "1", ""}}), "", true).text,
              "s\t1\t1\t1\t100\t1\t1\r\nS\t0\t0\r\n");
    // Characters, not bytes: "N", TAB, "Fête €", CR LF, then the end record.
    EXPECT_EQ(format(Table(0, kavrin::ColumnCount), "F\xC3\xAAte \xE2\x82\xAC", false).characters,
              17);
}

TEST(PanelText, FieldsByTheirLeadingNumberAndTimeInTenthsOrHundredths) {
    struct Case {
        std::string time;
        bool miravel;
        std::string sent;
    };
    for (const Case& c :
         {Case{"0.25", false, "2"}, Case{"0.35", false, "4"}, Case{"0.45", false, "4"},
          Case{"12.3", false, "123"}, Case{"1.15", true, "115"}, Case{"12.345", true, "1234.5"},
          Case{"-0.5", false, "0"}, Case{" 2.5 s", true, "250"}}) {
        Table table = kavrinTable({{"7", "3", "", c.time, "-4", "12abc", ""}});
        table.setNumber(0, kavrin::Pos, 2.5);
        std::string letter = c.miravel ? "s" : "S";
        EXPECT_EQ(format(table, "", c.miravel).text,
                  letter + "\t7\t3\t2.5\t" + c.sent + "\t0\t12\r\nS\t0\t0\r\n")
            << c.time;
    }
}

// Rows marked by the conflict check are never sent; rows without a time are
// held back too rather than fired at the start of the show.
TEST(PanelText, MarkedAndUntimedRowsAreHeldBack) {
    Table table = kavrinTable({{"1", "", "1", "", "1", "1", ""},
                               {"2", "1", "1", "1.0", "1", "1", ""},
                               {"3", "", "2", "1.5", "1", "2", "1"},
                               {"4", "2", "3", "2.0", "1", "3", ""},
                               {"5", "", "5", "2.5", "1", "5", "2"},
                               {"6", "3", "6", " ", "1", "6", ""},
                               {"7", "3", "7", "tbd", "1", "7", ""}});
    PanelText panel = format(table, "", false);
    EXPECT_EQ(panel.text, "S\t2\t1\t1\t10\t1\t1\r\nS\t4\t2\t3\t20\t1\t3\r\nS\t0\t0\r\n");
    EXPECT_EQ(panel.lines, 3);
    EXPECT_EQ(panel.markedRows, 2);
    EXPECT_EQ(panel.untimedRows, 3);
    EXPECT_EQ(
        heldBackUntimedMessage(1).rfind("1 row has no time that is a number and was not sent", 0),
        0u);
    EXPECT_EQ(heldBackUntimedMessage(2).rfind(
                  "2 rows have no time that is a number and were not sent", 0),
              0u);
}

TEST(PanelText, ValueTooLargeForANumberIsRefusedNamingTheCell) {
    Table table =
        kavrinTable({{"1", "1", "1", "1", "1", "1", ""}, {"2", "2", "1", "1e999", "1", "1", ""}});
    Result<PanelText> panel = formatPanelText(table, "", false);
    ASSERT_FALSE(panel.ok());
    EXPECT_EQ(panel.error(), "Row 2, Time: the value \"1e999\" is too large to send");
    table.setText(1, kavrin::Time, "1.7e308");  // finite, but not once in tenths
    EXPECT_FALSE(formatPanelText(table, "", false).ok());
}

// The holding pen gives its text back with lone LFs.
TEST(PanelText, SurvivesTheHoldingPen) {
    EXPECT_EQ(withCrLf("N\tShow\nS\t1\r\nS\t0\t0\n"), "N\tShow\r\nS\t1\r\nS\t0\t0\r\n");
    EXPECT_EQ(withCrLf("\n\nx"), "\r\n\r\nx");
}

}  // namespace
}  // namespace fulgor
