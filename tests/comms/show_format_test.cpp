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
// that join into the text the rows make one by one; the rows held back or
// sent as 0, the records counted and the characters are told across the
// pieces, in order, and a failing sink stops the formatting at once.
TEST(PanelText, LargeShowGoesOutInPiecesOfWholeRecords) {
    constexpr int kRows = 120000;
    Table table(kRows, kavrin::ColumnCount);
    const std::string name = "F\xC3\xAAte";
    std::string expected = "N\t" + name + "\r\n";
    Rows marked, untimed, zeroTime, unaddressed;
    for (int row = 0; row < kRows; ++row) {
        const std::string mod = row % 5000 == 7 ? "" : std::to_string(row % 40);
        const std::string pos = std::to_string(row % 300);
        table.setNumber(row, kavrin::Line, row + 1);
        table.setNumber(row, kavrin::Shot, row + 1);
        table.setText(row, kavrin::Pos, pos);
        table.setText(row, kavrin::Mod, mod);
        table.setText(row, kavrin::Pin, "02");
        if (row % 7001 == 3) {
            table.setText(row, kavrin::Err, "1");
            marked.push_back(row);
        } else if (row % 9001 == 5) {
            untimed.push_back(row);
        } else {
            const bool noTime = row % 11001 == 9;
            table.setText(row, kavrin::Time, noTime ? "tbd" : std::to_string(row) + ".25");
            if (noTime) zeroTime.push_back(row);
            if (mod.empty()) unaddressed.push_back(row);
            expected += "S\t" + std::to_string(row + 1) + "\t" + std::to_string(row + 1) + "\t" +
                        pos + "\t" + (noTime ? "0" : std::to_string(row * 10 + 2)) + "\t" +
                        (mod.empty() ? "0" : mod) + "\t2\r\n";
        }
    }
    expected += "S\t0\t0\r\n";
    ASSERT_GT(untimed.size(), 2u);

    std::vector<std::string> pieces;
    std::vector<std::int64_t> counts;
    Result<PanelStats> stats = writePanelText(
        table, name, false,
        [&](std::string_view piece) -> Status {
            pieces.emplace_back(piece);
            return {};
        },
        [&](std::int64_t lines) { counts.push_back(lines); });
    ASSERT_TRUE(stats.ok()) << stats.error();
    ASSERT_GT(pieces.size(), 2u);
    std::string joined;
    for (const std::string& piece : pieces) {
        EXPECT_TRUE(piece.ends_with("\r\n"));
        EXPECT_LT(piece.size(), std::size_t{1} << 21);
        joined += piece;
    }
    const auto mismatch =
        std::mismatch(joined.begin(), joined.end(), expected.begin(), expected.end());
    ASSERT_TRUE(joined == expected)
        << "from byte " << mismatch.first - joined.begin() << ": "
        << joined.substr(static_cast<std::size_t>(mismatch.first - joined.begin()), 60)
        << " against "
        << expected.substr(static_cast<std::size_t>(mismatch.second - expected.begin()), 60);
    const auto records = static_cast<std::int64_t>(kRows - marked.size() - untimed.size());
    EXPECT_EQ(stats.value().lines, records + 2);
    ASSERT_EQ(counts.size(), static_cast<std::size_t>(records));
    for (std::size_t i = 0; i < counts.size(); ++i)
        ASSERT_EQ(counts[i], static_cast<std::int64_t>(i) + 2) << "record " << i;
    EXPECT_EQ(stats.value().characters, static_cast<std::int64_t>(expected.size()) - 1);
    EXPECT_EQ(stats.value().markedRows, static_cast<std::int64_t>(marked.size()));
    EXPECT_EQ(stats.value().untimedRows, untimed);
    EXPECT_EQ(stats.value().zeroTimeRows, zeroTime);
    EXPECT_EQ(stats.value().unaddressedRows, unaddressed);

    int calls = 0;
    Result<PanelStats> failed = writePanelText(table, name, false, [&](std::string_view) -> Status {
        return ++calls == 2 ? Status{Error{"disk full"}} : Status{};
    });
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.error(), "disk full");
    EXPECT_EQ(calls, 2);

    // A value too large, far into the show: what went before it goes out,
    // in whole pieces, and nothing of its own record or after it.
    table.setText(100000, kavrin::Time, "1e999");
    joined.clear();
    Result<PanelStats> refused =
        writePanelText(table, name, false, [&](std::string_view piece) -> Status {
            joined += piece;
            return {};
        });
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error(), "Line 100001, Time: the value \"1e999\" is too large to send");
    EXPECT_FALSE(joined.empty());
    EXPECT_TRUE(expected.starts_with(joined));
    EXPECT_EQ(joined.find("S\t100001\t"), std::string::npos);
}

// The holding pen gives its text back with lone LFs.
TEST(PanelText, SurvivesTheHoldingPen) {
    EXPECT_EQ(withCrLf("N\tShow\nS\t1\r\nS\t0\t0\n\n\nx"),
              "N\tShow\r\nS\t1\r\nS\t0\t0\r\n\r\n\r\nx");
}

}  // namespace
}  // namespace fulgor
