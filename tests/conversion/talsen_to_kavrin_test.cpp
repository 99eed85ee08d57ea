#include "conversion/talsen_to_kavrin.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "files/kavrin_file.h"
#include "files/script_text.h"

namespace fulgor {
namespace {

// A Talsen table of Line 7 rows with the given Time and Prefire texts.
Table talsenTimes(std::initializer_list<std::pair<const char*, const char*>> times) {
    Table t(static_cast<int>(times.size()), talsen::ColumnCount);
    int r = 0;
    for (auto [time, prefire] : times) {
        t.setText(r, talsen::Line, "7");
        t.setText(r, talsen::Time, time);
        t.setText(r, talsen::Prefire, prefire);
        ++r;
    }
    return t;
}

std::string text(const Table& t, int row, int column) {
    return (t.cell(row, column).isNumber() ? "#" : "") + cellText(t.cell(row, column));
}

TEST(TalsenToKavrin, FiringTimeIsTimeLessPrefireInTenthsOrUnroundedWithMiravel) {
    Table talsen = talsenTimes({{"12.5", "2.25"}, {"12.35", ""}, {"75.5", "0"}, {"3", "3"}});
    const std::string expected[] = {
        "#10.2 0:00:10.20,#12.4 0:00:12.40,#75.5 0:01:15.50,#0 0:00:00.00,",
        "#10.25 0:00:10.25,#12.35 0:00:12.35,#75.5 0:01:15.50,#0 0:00:00.00,"};
    for (bool miravel : {false, true}) {
        KavrinImport imported = talsenToKavrin(talsen, miravel);
        EXPECT_TRUE(imported.untimedRows.empty());
        std::string times;
        for (int r = 0; r < 4; ++r)
            times += text(imported.table, r, kavrin::Time) + " " +
                     text(imported.table, r, kavrin::Clock) + ",";
        EXPECT_EQ(times, expected[miravel]);
    }
}

TEST(TalsenToKavrin, CarriesEveryOtherCellAsItIsRowForRow) {
    Table talsen(2, talsen::ColumnCount);
    const char* cells[] = {"7", "Shell", "100mm", "", "1.5", "2", "12", "03", "04", "9.99", "Red"};
    for (int c = 0; c < talsen::ColumnCount; ++c) talsen.setText(1, c, cells[c]);
    talsen.setNumber(1, talsen::Qty, 2);
    KavrinImport imported = talsenToKavrin(talsen, false);
    ASSERT_EQ(imported.table.rowCount(), 2);
    EXPECT_TRUE(imported.untimedRows.empty());  // an empty Time is no warning
    const Cell expected[] = {
        Cell::number(2),  Cell::text("7"),     Cell::text("12"), Cell(),
        Cell::text("03"), Cell::text("04"),    Cell(),           Cell::text("7"),
        Cell(),           Cell::text("100mm"), Cell::number(2),  Cell::text("Shell"),
        Cell::text("Red")};
    for (int c = 0; c < kavrin::ColumnCount; ++c)
        EXPECT_EQ(imported.table.cell(1, c), expected[c]) << kavrin::kCaptions[c];
    EXPECT_EQ(talsenToKavrin(Table(0, talsen::ColumnCount), true).table.rowCount(), 0);
}

TEST(TalsenToKavrin, RowsWithoutATrustworthyTimeGetNoneAndAreListed) {
    Table talsen = talsenTimes({{"10", ""},
                                {"abc", ""},
                                {"12x", ""},
                                {"5", "late"},
                                {"3", "3.5"},
                                {"2", "2.04"},     // would round to 0.0
                                {"99999999", ""},  // beyond the clock's range
                                {" ", ""}});
    KavrinImport imported = talsenToKavrin(talsen, false);
    EXPECT_EQ(imported.untimedRows, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    for (int r = 1; r < 8; ++r) {
        EXPECT_TRUE(imported.table.cell(r, kavrin::Time).isEmpty()) << r;
        EXPECT_TRUE(imported.table.cell(r, kavrin::Clock).isEmpty()) << r;
    }
    EXPECT_EQ(untimedRowsMessage(imported.untimedRows, imported.untimedRows.size()),
              "7 Lines have no firing time (Time or Prefire is not a number, or Prefire is "
              "larger than Time); their Time is left empty: Lines 2, 3, 4, 5, 6, 7, 8");
    // A long list is counted whole but named by its first rows only.
    const int first[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    EXPECT_EQ(untimedRowsMessage(first, 500),
              "500 Lines have no firing time (Time or Prefire is not a number, or Prefire is "
              "larger than Time); their Time is left empty: Lines 1, 2, 3, 4, 5, 6, 7, 8, 9, "
              "10, ...");
    EXPECT_EQ(untimedRowsMessage({}, 0), "");
}

// Made a line at a time, however the lines are shaped (fields missing or too
// many, Windows-1252 letters, a CR inside, no line end at the end), the Kavrin
// lines are what reading the Talsen lines into a table, converting it and
// writing it give, byte for byte, with the same rows untimed.
TEST(KavrinLineMaker, LinesAreWhatTheTableConversionWrites) {
    std::mt19937 random(5);
    const std::string letters = "ab9.- \r\xE9\x81";
    const char* const numbers[] = {"12.5", "3", "0.25", "-1", "1e3", "2.35", " 2", "7x", ""};
    std::string text;
    for (int line = 0; line < 600; ++line) {
        const std::size_t fields = random() % 15;
        for (std::size_t f = 0; f < fields; ++f) {
            if (random() % 2) {
                text += numbers[random() % std::size(numbers)];
            } else {
                for (std::size_t n = random() % 9; n > 0; --n)
                    text += letters[random() % letters.size()];
            }
            if (f + 1 < fields) text += ',';
        }
        text += random() % 2 ? "\r\n" : "\n";
    }
    text += "1,Shell,75mm,9.5,1,,,01,02,,last\r";  // no line end: its CR is a part of the line

    for (bool miravel : {false, true}) {
        KavrinImport imported = talsenToKavrin(parseRows(text, talsen::ColumnCount), miravel);
        Result<std::string> written = formatKavrin("", imported.table);
        ASSERT_TRUE(written.ok()) << written.error();

        KavrinLineMaker maker(miravel);
        std::string made = "\r\n";  // the empty show name's line
        std::vector<int> untimed;
        ScriptTextReader lines(talsen::ColumnCount, false);
        lines.handOnLines([&](std::span<const std::string_view> run, int firstRow) -> Status {
            for (std::size_t i = 0; i < run.size(); ++i) {
                const int row = firstRow + static_cast<int>(i);
                if (!maker.append(run[i], row, made)) untimed.push_back(row);
            }
            return {};
        });
        lines.feed(text);
        static_cast<void>(lines.finish());
        EXPECT_TRUE(made == written.value()) << miravel;
        EXPECT_EQ(untimed, imported.untimedRows);
        // Both ways are taken: rows left untimed, and rows given a clock text.
        EXPECT_GT(untimed.size(), 10u);
        EXPECT_NE(made.find(",0:00:"), std::string::npos);
    }
}

}  // namespace
}  // namespace fulgor
