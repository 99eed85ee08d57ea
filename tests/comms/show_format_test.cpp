#include "comms/show_format.h"

#include <gtest/gtest.h>

#include "comms/crlf_text.h"
#include "core/script_columns.h"

namespace fulgor {
namespace {

struct Cue {
    std::string line, shot, pos, time, mod, pin, err;
};

// A Kavrin table in firing order, numbered as NumberShots leaves it.
Table kavrinTable(const std::vector<Cue>& cues) {
    Table table(static_cast<int>(cues.size()), kavrin::ColumnCount);
    for (int row = 0; row < table.rowCount(); ++row) {
        const Cue& cue = cues[static_cast<std::size_t>(row)];
        table.setText(row, kavrin::Line, cue.line);
        table.setText(row, kavrin::Shot, cue.shot);
        table.setText(row, kavrin::Pos, cue.pos);
        table.setText(row, kavrin::Time, cue.time);
        table.setText(row, kavrin::Mod, cue.mod);
        table.setText(row, kavrin::Pin, cue.pin);
        table.setText(row, kavrin::Err, cue.err);
        table.setText(row, kavrin::Notes, "notes are never sent");
    }
    return table;
}

PanelText format(const Table& table, std::string_view name, bool miravel) {
    Result<PanelText> panel = formatPanelText(table, name, miravel);
    EXPECT_TRUE(panel.ok()) << panel.error();
    return panel.ok() ? panel.value() : PanelText{};
}

TEST(FormatShowLine, JoinsSixFieldsAfterTheRecordLetter) {
    std::array<std::string, 6> fields = {"1", "2", "3", "45", "6", "7"};
    EXPECT_EQ(FormatShowLine(fields, false), "S\t1\t2\t3\t45\t6\t7\r\n");
    EXPECT_EQ(FormatShowLine(fields, true), "s\t1\t2\t3\t45\t6\t7\r\n");
}

TEST(PanelText, WholeShowWithHeaderCuesAndEndRecord) {
    Table table = kavrinTable({{"1", "1", "4", "1.0", "01", "01", ""},
                               {"2", "1", "5", "1.0", "02", "01", ""},
                               {"3", "2", "4", "2.5", "01", "02", ""},
                               {"4", "3", "6", "3.0", "03", "01", ""},
                               {"5", "3", "6", "3.0", "03", "02", ""}});
    PanelText panel = format(table, "Midsummer Finale", false);
    const std::string expected =
        "N\tMidsummer Finale\r\n"
        "S\t1\t1\t4\t10\t1\t1\r\n"
        "S\t2\t1\t5\t10\t2\t1\r\n"
        "S\t3\t2\t4\t25\t1\t2\r\n"
        "S\t4\t3\t6\t30\t3\t1\r\n"
        "S\t5\t3\t6\t30\t3\t2\r\n"
        "S\t0\t0\r\n";
    EXPECT_EQ(panel.text, expected);
    EXPECT_EQ(panel.lines, 7);
    EXPECT_EQ(panel.characters, static_cast<std::int64_t>(expected.size()));
    EXPECT_EQ(panel.markedRows, 0);
    EXPECT_EQ(panel.untimedRows, 0);
}

TEST(PanelText, EmptyShowNameAndEmptyTable) {
    PanelText onlyEnd = format(Table(0, kavrin::ColumnCount), "", false);
    EXPECT_EQ(onlyEnd.text, "S\t0\t0\r\n");
    EXPECT_EQ(onlyEnd.lines, 1);
    EXPECT_EQ(onlyEnd.characters, 7);  // CR and LF count one each

    PanelText named = format(Table(0, kavrin::ColumnCount), "Show", false);
    EXPECT_EQ(named.text, "N\tShow\r\nS\t0\t0\r\n");
    EXPECT_EQ(named.lines, 2);

    PanelText firstIsCue = format(kavrinTable({{"1", "1", "1", "1", "1", "1", ""}}), "", false);
    EXPECT_EQ(firstIsCue.text, "S\t1\t1\t1\t10\t1\t1\r\nS\t0\t0\r\n");
}

TEST(PanelText, TimeInTenthsOrMiravelHundredths) {
    struct Case {
        std::string time;
        bool miravel;
        std::string sent;
    };
    for (const Case& c :
         {Case{"0.25", false, "2"}, Case{"0.35", false, "4"}, Case{"0.45", false, "4"},
          Case{"12.3", false, "123"}, Case{"1.15", true, "115"}, Case{"12.34", true, "1234"},
          Case{"12.345", true, "1234.5"}, Case{"-0.5", false, "0"}, Case{"-3", true, "0"},
          Case{"soon", false, "0"}, Case{" 2.5 s", true, "250"}, Case{"&H10", false, "160"}}) {
        PanelText panel =
            format(kavrinTable({{"1", "1", "1", c.time, "1", "1", ""}}), "", c.miravel);
        std::string record =
            std::string(c.miravel ? "s" : "S") + "\t1\t1\t1\t" + c.sent + "\t1\t1\r\n";
        EXPECT_EQ(panel.text, record + "S\t0\t0\r\n") << c.time << (c.miravel ? " miravel" : "");
    }
}

TEST(PanelText, OtherFieldsByTheirLeadingNumber) {
    Table table = kavrinTable({{"7", "3", "", "1", "-4", "12abc", ""}});
    table.setNumber(0, kavrin::Pos, 2.5);
    EXPECT_EQ(format(table, "", false).text, "S\t7\t3\t2.5\t10\t0\t12\r\nS\t0\t0\r\n");
}

// Rows marked by the conflict check are never sent; rows without a time are
// held back too rather than fired at the start of the show.
TEST(PanelText, MarkedAndUntimedRowsAreHeldBack) {
    Table table = kavrinTable({{"1", "", "1", "", "1", "1", ""},
                               {"2", "1", "1", "1.0", "1", "1", ""},
                               {"3", "", "2", "1.5", "1", "2", "1"},
                               {"4", "2", "3", "2.0", "1", "3", ""},
                               {"5", "", "4", "", "1", "4", ""},
                               {"6", "", "5", "2.5", "1", "5", "2"}});
    PanelText panel = format(table, "", true);
    EXPECT_EQ(panel.text, "s\t2\t1\t1\t100\t1\t1\r\ns\t4\t2\t3\t200\t1\t3\r\nS\t0\t0\r\n");
    EXPECT_EQ(panel.lines, 3);
    EXPECT_EQ(panel.markedRows, 2);
    EXPECT_EQ(panel.untimedRows, 2);
    EXPECT_EQ(untimedRowsMessage(2).rfind("2 rows have no time and were not sent", 0), 0u);
    EXPECT_EQ(untimedRowsMessage(1).rfind("1 row has no time and was not sent", 0), 0u);
}

TEST(PanelText, CountsCharactersNotBytes) {
    PanelText panel = format(Table(0, kavrin::ColumnCount), "F\xC3\xAAte \xE2\x82\xAC", false);
    EXPECT_EQ(panel.characters, 17);  // "N", TAB, 6 characters, CR LF, then 7
}

TEST(PanelText, LineCountRunsWithEveryRecord) {
    Table table = kavrinTable({{"1", "1", "1", "1", "1", "1", ""},
                               {"2", "", "1", "2", "1", "2", "1"},
                               {"3", "2", "1", "3", "1", "3", ""}});
    std::vector<std::int64_t> counts;
    Result<PanelText> panel =
        formatPanelText(table, "Show", false, [&](std::int64_t lines) { counts.push_back(lines); });
    ASSERT_TRUE(panel.ok());
    EXPECT_EQ(counts, (std::vector<std::int64_t>{2, 3}));
    EXPECT_EQ(panel.value().lines, 4);
}

TEST(PanelText, ValueTooLargeForANumberIsRefusedNamingTheCell) {
    Table table =
        kavrinTable({{"1", "1", "1", "1", "1", "1", ""}, {"2", "2", "1", "1e999", "1", "1", ""}});
    Result<PanelText> panel = formatPanelText(table, "", false);
    ASSERT_FALSE(panel.ok());
    EXPECT_EQ(panel.error(), "Row 2, Time: the value \"1e999\" is too large to send");
    // Finite, but too large once scaled to tenths.
    table.setText(1, kavrin::Time, "1.7e308");
    EXPECT_FALSE(formatPanelText(table, "", false).ok());
}

// The holding pen hands its text back with lone LFs; the panel text survives
// the trip once every line end is CR LF again.
TEST(PanelText, SurvivesTheHoldingPen) {
    EXPECT_EQ(withCrLf("N\tShow\nS\t1\t1\t1\t10\t1\t1\r\nS\t0\t0\n"),
              "N\tShow\r\nS\t1\t1\t1\t10\t1\t1\r\nS\t0\t0\r\n");
    EXPECT_EQ(withCrLf("\n\nx"), "\r\n\r\nx");
    EXPECT_EQ(withCrLf("no line end"), "no line end");
}

}  // namespace
}  // namespace fulgor
