#include "conversion/talsen_to_kavrin.h"

#include <gtest/gtest.h>

namespace fulgor {
namespace {

struct TalsenRow {
    std::string line = "7";
    std::string time = "";
    std::string prefire = "";
};

Table talsenTable(std::initializer_list<TalsenRow> rows) {
    Table t(static_cast<int>(rows.size()), talsen::ColumnCount);
    int r = 0;
    for (const TalsenRow& row : rows) {
        t.setText(r, talsen::Line, row.line);
        t.setText(r, talsen::Time, row.time);
        t.setText(r, talsen::Prefire, row.prefire);
        ++r;
    }
    return t;
}

std::string text(const Table& t, int row, int column) {
    return cellText(t.cell(row, column));
}

TEST(TalsenToKavrin, FiringTimeIsTimeLessPrefireInTenthsOrUnroundedWithMiravel) {
    Table talsen = talsenTable({{.time = "12.5", .prefire = "2.25"},
                                {.time = "12.35", .prefire = ""},
                                {.time = "75.5", .prefire = "0"},
                                {.time = "3", .prefire = "3"}});
    KavrinImport tenths = talsenToKavrin(talsen, false);
    ASSERT_TRUE(tenths.untimedRows.empty());
    const char* times[] = {"10.2", "12.4", "75.5", "0"};
    const char* clocks[] = {"0:00:10.20", "0:00:12.40", "0:01:15.50", "0:00:00.00"};
    for (int r = 0; r < 4; ++r) {
        ASSERT_TRUE(tenths.table.cell(r, kavrin::Time).isNumber()) << r;
        EXPECT_EQ(text(tenths.table, r, kavrin::Time), times[r]) << r;
        EXPECT_EQ(text(tenths.table, r, kavrin::Clock), clocks[r]) << r;
    }
    KavrinImport hundredths = talsenToKavrin(talsen, true);
    EXPECT_EQ(text(hundredths.table, 0, kavrin::Time), "10.25");
    EXPECT_EQ(text(hundredths.table, 0, kavrin::Clock), "0:00:10.25");
    EXPECT_EQ(text(hundredths.table, 1, kavrin::Time), "12.35");
    EXPECT_EQ(text(hundredths.table, 1, kavrin::Clock), "0:00:12.35");
}

TEST(TalsenToKavrin, CarriesEveryOtherCellAsItIsRowForRow) {
    Table talsen(2, talsen::ColumnCount);
    const char* cells[] = {"7", "Shell", "100mm", "", "1.5", "2", "12", "03", "04", "9.99", "Red"};
    for (int c = 0; c < talsen::ColumnCount; ++c) talsen.setText(1, c, cells[c]);
    talsen.setNumber(1, talsen::Qty, 2);
    KavrinImport imported = talsenToKavrin(talsen, false);
    const Table& k = imported.table;
    ASSERT_EQ(k.rowCount(), 2);
    ASSERT_EQ(k.columnCount(), kavrin::ColumnCount);
    EXPECT_TRUE(imported.untimedRows.empty());  // an empty Time is no warning
    EXPECT_EQ(k.cell(0, kavrin::Line), Cell::number(1));
    EXPECT_EQ(k.cell(1, kavrin::Line), Cell::number(2));
    EXPECT_EQ(k.cell(1, kavrin::Shot), Cell::text("7"));
    EXPECT_EQ(k.cell(1, kavrin::TsRef), Cell::text("7"));
    EXPECT_EQ(k.cell(1, kavrin::Pos), Cell::text("12"));
    EXPECT_EQ(k.cell(1, kavrin::Mod), Cell::text("03"));
    EXPECT_EQ(k.cell(1, kavrin::Pin), Cell::text("04"));
    EXPECT_EQ(k.cell(1, kavrin::Size), Cell::text("100mm"));
    EXPECT_EQ(k.cell(1, kavrin::Qty), Cell::number(2));
    EXPECT_EQ(k.cell(1, kavrin::Type), Cell::text("Shell"));
    EXPECT_EQ(k.cell(1, kavrin::Notes), Cell::text("Red"));
    for (int c : {kavrin::Time, kavrin::Clock, kavrin::Err})
        EXPECT_TRUE(k.cell(1, c).isEmpty()) << c;
}

TEST(TalsenToKavrin, RowsWithoutATrustworthyTimeGetNoneAndAreListed) {
    Table talsen = talsenTable({{.time = "10"},
                                {.time = "abc"},
                                {.time = "12x"},
                                {.time = "5", .prefire = "late"},
                                {.time = "3", .prefire = "3.5"},
                                {.time = "2", .prefire = "2.04"},  // would round to 0.0
                                {.time = "99999999"},              // beyond the clock's range
                                {.time = " "},
                                {.time = ""}});
    KavrinImport imported = talsenToKavrin(talsen, false);
    EXPECT_EQ(imported.untimedRows, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    for (int r = 1; r <= 8; ++r) {
        EXPECT_TRUE(imported.table.cell(r, kavrin::Time).isEmpty()) << r;
        EXPECT_TRUE(imported.table.cell(r, kavrin::Clock).isEmpty()) << r;
        EXPECT_EQ(text(imported.table, r, kavrin::TsRef), "7") << r;
    }
    EXPECT_EQ(untimedRowsMessage(imported.untimedRows),
              "7 Lines have no firing time (Time or Prefire is not a number, or Prefire is "
              "larger than Time); their Time is left empty: Line 2, 3, 4, 5, 6, 7, 8");
    std::vector<int> many(12);
    for (int i = 0; i < 12; ++i) many[static_cast<std::size_t>(i)] = i;
    EXPECT_TRUE(untimedRowsMessage(many).ends_with("Line 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, ..."));
    EXPECT_EQ(untimedRowsMessage({}), "");
}

TEST(TalsenToKavrin, AnEmptyTalsenTableGivesAnEmptyKavrinTable) {
    KavrinImport imported = talsenToKavrin(Table(0, talsen::ColumnCount), true);
    EXPECT_EQ(imported.table.rowCount(), 0);
    EXPECT_EQ(imported.table.columnCount(), kavrin::ColumnCount);
}

}  // namespace
}  // namespace fulgor
