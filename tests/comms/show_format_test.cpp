#include "comms/show_format.h"

#include <gtest/gtest.h>

#include "addressing/kavrin_rows.h"
#include "comms/crlf_text.h"
#include "core/script_columns.h"

namespace fulgor {
namespace {

using test::KavrinRow;
using test::kavrinTable;
using Rows = std::vector<int>;

PanelText format(const Table& table, std::string_view name, bool miravel) {
    Result<PanelText> panel = formatPanelText(table, name, miravel);
    EXPECT_TRUE(panel.ok()) << panel.error();
    return panel.ok() ? panel.value() : PanelText{};
}

// Line, Shot, Pos, Time, Mod, Pin as NumberShots leaves a show in firing order.
KavrinRow cue(std::string line, std::string shot, std::string pos, std::string time,
              std::string mod, std::string pin, std::string err = "") {
    return {
        .time = time, .mod = mod, .pin = pin, .shot = shot, .pos = pos, .err = err, .line = line};
}

TEST(PanelText, WholeOrEmptyShowWithHeaderCuesAndEndRecord) {
    Table table =
        kavrinTable({cue("1", "1", "4", "1.0", "01", "01"), cue("2", "1", "5", "1.0", "02", "01"),
                     cue("3", "2", "4", "2.5", "01", "02"), cue("4", "3", "6", "3.0", "03", "01"),
                     cue("5", "3", "6", "3.0", "03", "02")});
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
    EXPECT_TRUE(sentAsZeroWarnings(panel.value()).empty());

    const Table none(0, kavrin::ColumnCount);
    PanelText onlyEnd = format(none, "", false);
    EXPECT_EQ(onlyEnd.text, "S\t0\t0\r\n");
    EXPECT_EQ(onlyEnd.lines, 1);
    EXPECT_EQ(onlyEnd.characters, 7);  // CR and LF count one each
    EXPECT_EQ(format(none, "Show", false).text, "N\tShow\r\nS\t0\t0\r\n");
    EXPECT_EQ(format(kavrinTable({cue("1", "1", "1", "1", "1", "1")}), "", true).text,
              "s\t1\t1\t1\t100\t1\t1\r\nS\t0\t0\r\n");
    // Characters, not bytes: "N", TAB, "Fête €", CR LF, then the end record.
    EXPECT_EQ(format(none, "F\xC3\xAAte \xE2\x82\xAC", false).characters, 17);
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
        Table table = kavrinTable({cue("7", "3", "", c.time, "-4", "12abc")});
        table.setNumber(0, kavrin::Pos, 2.5);
        std::string letter = c.miravel ? "s" : "S";
        EXPECT_EQ(format(table, "", c.miravel).text,
                  letter + "\t7\t3\t2.5\t" + c.sent + "\t0\t12\r\nS\t0\t0\r\n")
            << c.time;
    }
}

// Rows marked by the conflict check are never sent; rows with an empty Time
// are held back rather than fired at the start of the show. A Time, Mod or
// Pin with no number goes out as 0, and the operator is told which Lines.
TEST(PanelText, HeldBackAndSentAsZeroRowsAreListed) {
    Table table =
        kavrinTable({cue("1", "", "1", "", "1", "1"), cue("2", "1", "1", "1.0", "1", "1"),
                     cue("3", "", "2", "1.5", "1", "2", "1"), cue("4", "2", "3", "2.0", "", "3"),
                     cue("5", "", "5", "2.5", "1", "5", "2"), cue("6", "3", "6", " ", "1", "x"),
                     cue("7", "3", "7", "tbd", "1", "7")});
    PanelText panel = format(table, "", false);
    EXPECT_EQ(panel.text,
              "S\t2\t1\t1\t10\t1\t1\r\n"
              "S\t4\t2\t3\t20\t0\t3\r\n"
              "S\t6\t3\t6\t0\t1\t0\r\n"
              "S\t7\t3\t7\t0\t1\t7\r\n"
              "S\t0\t0\r\n");
    EXPECT_EQ(panel.lines, 5);
    EXPECT_EQ(panel.markedRows, 2);
    EXPECT_EQ(panel.untimedRows, Rows{0});
    EXPECT_EQ(panel.zeroTimeRows, (Rows{5, 6}));
    EXPECT_EQ(panel.unaddressedRows, (Rows{3, 5}));
    EXPECT_EQ(heldBackUntimedMessage(panel.untimedRows), "No Time, not sent: Line 1");
    EXPECT_EQ(sentAsZeroWarnings(panel),
              (std::vector<std::string>{
                  "Time is not a number, sent as 0 (fires at the start of the show): Lines 6, 7",
                  "Module or pin missing, sent as 0: Lines 4, 6"}));
    EXPECT_EQ(heldBackUntimedMessage({}), "");
}

TEST(PanelText, ValueTooLargeForANumberIsRefusedNamingTheLine) {
    Table table =
        kavrinTable({cue("1", "1", "1", "1", "1", "1"), cue("2", "2", "1", "1e999", "1", "1")});
    Result<PanelText> panel = formatPanelText(table, "", false);
    ASSERT_FALSE(panel.ok());
    EXPECT_EQ(panel.error(), "Line 2, Time: the value \"1e999\" is too large to send");
    table.setText(1, kavrin::Time, "1.7e308");  // finite, but not once in tenths
    EXPECT_FALSE(formatPanelText(table, "", false).ok());
    table.setText(1, kavrin::Time, "1");
    table.setText(0, kavrin::Pos, "1" + std::string(1000, '0'));
    EXPECT_EQ(formatPanelText(table, "", false).error(),
              "Line 1, Pos: the value \"1" + std::string(39, '0') + "...\" is too large to send");
}

// A large show goes out in pieces of whole records, about a megabyte each,
// that join into the very text formatted whole; the characters are counted
// across the pieces, and a failing sink stops the formatting at once.
TEST(PanelText, LargeShowGoesOutInPiecesOfWholeRecords) {
    constexpr int kRows = 120000;
    Table table(kRows, kavrin::ColumnCount);
    for (int row = 0; row < kRows; ++row) {
        table.setNumber(row, kavrin::Line, row + 1);
        table.setNumber(row, kavrin::Shot, row + 1);
        table.setText(row, kavrin::Time, std::to_string(row) + ".5");
        table.setText(row, kavrin::Mod, "01");
        table.setText(row, kavrin::Pin, "02");
    }
    const std::string name = "F\xC3\xAAte";
    PanelText whole = format(table, name, false);

    std::vector<std::string> pieces;
    Result<PanelStats> stats =
        writePanelText(table, name, false, [&](std::string_view piece) -> Status {
            pieces.emplace_back(piece);
            return {};
        });
    ASSERT_TRUE(stats.ok()) << stats.error();
    ASSERT_GT(pieces.size(), 2u);
    std::string joined;
    for (const std::string& piece : pieces) {
        EXPECT_TRUE(piece.ends_with("\r\n"));
        EXPECT_LT(piece.size(), std::size_t{1} << 21);
        joined += piece;
    }
    EXPECT_EQ(joined, whole.text);
    EXPECT_EQ(stats.value().lines, 120002);
    EXPECT_EQ(stats.value().characters, static_cast<std::int64_t>(whole.text.size()) - 1);
    EXPECT_EQ(whole.characters, stats.value().characters);

    int calls = 0;
    Result<PanelStats> failed =
        writePanelText(table, name, false, [&](std::string_view) -> Status {
            return ++calls == 2 ? Status{Error{"disk full"}} : Status{};
        });
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.error(), "disk full");
    EXPECT_EQ(calls, 2);
}

// The holding pen gives its text back with lone LFs.
TEST(PanelText, SurvivesTheHoldingPen) {
    EXPECT_EQ(withCrLf("N\tShow\nS\t1\r\nS\t0\t0\n\n\nx"),
              "N\tShow\r\nS\t1\r\nS\t0\t0\r\n\r\n\r\nx");
}

}  // namespace
}  // namespace fulgor
