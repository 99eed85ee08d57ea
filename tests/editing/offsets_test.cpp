#include "editing/offsets.h"

#include <gtest/gtest.h>

#include "core/script_columns.h"

using namespace fulgor;

namespace {

int timeColumn(ScriptGrid grid) {
    return grid == ScriptGrid::Talsen ? int{talsen::Time} : int{kavrin::Time};
}

// A table of the grid's columns whose rows hold the given Time texts.
Table times(ScriptGrid grid, std::initializer_list<const char*> texts) {
    Table t(static_cast<int>(texts.size()),
            grid == ScriptGrid::Talsen ? int{talsen::ColumnCount} : int{kavrin::ColumnCount});
    int row = 0;
    for (const char* time : texts) t.setText(row++, timeColumn(grid), time);
    return t;
}

std::string text(const Table& t, int row, int column) {
    return cellText(t.cell(row, column));
}

}  // namespace

TEST(OffsetTimeAll, EveryTimedRowTwoDecimalsAndTheKavrinClockFollows) {
    Table t = times(ScriptGrid::Talsen, {"10.00", "", "3.25", "0.005", "-1"});
    Table before = t;
    OffsetEdit edit = offsetTimeAll(ScriptGrid::Talsen, t, 2.5);
    edit.patch.swapWith(t);
    EXPECT_EQ(text(t, 0, talsen::Time), "12.50");
    EXPECT_EQ(text(t, 1, talsen::Time), "");
    EXPECT_EQ(text(t, 2, talsen::Time), "5.75");
    EXPECT_EQ(text(t, 3, talsen::Time), "2.50");  // 2.505 to two decimals
    EXPECT_EQ(text(t, 4, talsen::Time), "1.50");
    EXPECT_TRUE(edit.notNumbers.empty());
    edit.patch.swapWith(t);
    EXPECT_EQ(t, before);

    Table k = times(ScriptGrid::Kavrin, {"59.9", "", "3599.99"});
    k.setText(1, kavrin::Clock, "kept");
    offsetTimeAll(ScriptGrid::Kavrin, k, 0.1).patch.swapWith(k);
    EXPECT_EQ(text(k, 0, kavrin::Time), "60.00");
    EXPECT_EQ(text(k, 0, kavrin::Clock), "0:01:00.00");
    EXPECT_EQ(text(k, 1, kavrin::Clock), "kept");
    EXPECT_EQ(text(k, 2, kavrin::Time), "3600.09");
    EXPECT_EQ(text(k, 2, kavrin::Clock), "1:00:00.09");
}

TEST(OffsetTimeSelection, FormatsByTableAndTiming) {
    struct Case {
        ScriptGrid grid;
        bool miravel;
        const char* time;
        double amount;
        const char* newTime;
        const char* clock;  // Kavrin only
    };
    const Case cases[] = {
        {ScriptGrid::Kavrin, false, "10.00", 0.26, "10.3", "0:00:10.30"},
        {ScriptGrid::Kavrin, true, "10.00", 0.26, "10.26", "0:00:10.26"},
        {ScriptGrid::Kavrin, false, "10", 0.25, "10.2", "0:00:10.20"},  // a tie goes to even
        {ScriptGrid::Kavrin, false, "10", 0.15, "10.2", "0:00:10.20"},  // 101.5 tenths: even is 102
        {ScriptGrid::Kavrin, false, "0.3", -0.36, "-0.1", "-0:00:00.10"},
        {ScriptGrid::Kavrin, false, "0.3", -0.34, "0.0", "0:00:00.00"},
        {ScriptGrid::Talsen, false, "12.125", 0.001, "12.13", nullptr},
        {ScriptGrid::Talsen, false, "0.5", -1.25, "-0.75", nullptr},
        {ScriptGrid::Talsen, false, "1.25", -1.25, "0.00", nullptr},  // never "-0.00"
        {ScriptGrid::Talsen, true, "99999.99", 0.01, "100000.00", nullptr},
    };
    for (const Case& c : cases) {
        Table t = times(c.grid, {"", c.time});
        const int rows[] = {1};
        offsetTimeSelection(c.grid, t, rows, c.amount, c.miravel).patch.swapWith(t);
        EXPECT_EQ(text(t, 1, timeColumn(c.grid)), c.newTime) << c.time << " + " << c.amount;
        if (c.clock) {
            EXPECT_EQ(text(t, 1, kavrin::Clock), c.clock) << c.time;
        }
    }
}

TEST(OffsetTimeSelection, OnlySelectedNumbersOnceEachTheRestLeftAndNamed) {
    Table t = times(ScriptGrid::Talsen, {"1", "2", "3", "4"});
    const int rows[] = {3, 1, 3, 9, -1};
    OffsetEdit edit = offsetTimeSelection(ScriptGrid::Talsen, t, rows, 1, false);
    EXPECT_EQ(edit.patch.size(), 2u);
    edit.patch.swapWith(t);
    EXPECT_EQ(text(t, 0, talsen::Time), "1");
    EXPECT_EQ(text(t, 1, talsen::Time), "3.00");
    EXPECT_EQ(text(t, 2, talsen::Time), "3");
    EXPECT_EQ(text(t, 3, talsen::Time), "5.00");

    t = times(ScriptGrid::Talsen, {"12abc", "soon", "2", "1e308"});
    const int all[] = {0, 1, 2, 3};
    edit = offsetTimeSelection(ScriptGrid::Talsen, t, all, 1e308, false);
    edit.patch.swapWith(t);
    EXPECT_EQ(text(t, 0, talsen::Time), "12abc");
    EXPECT_EQ(text(t, 3, talsen::Time), "1e308");  // the sum overflows
    EXPECT_EQ(edit.notNumbers, (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(notNumbersWarning("Time", edit.notNumbers),
              "Time is not a number in rows 1, 2, 4; those rows were left unchanged");
    EXPECT_EQ(notNumbersWarning("Pos", {}), "");
    // Twenty rows are named, the rest only counted.
    std::vector<int> many(21);
    for (int i = 0; i < 21; ++i) many[static_cast<std::size_t>(i)] = i;
    const std::string twenty =
        "1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20";
    EXPECT_EQ(notNumbersWarning("Time", many), "Time is not a number in rows " + twenty +
                                                   " and 1 more; those rows were left unchanged");
    many.pop_back();
    EXPECT_EQ(notNumbersWarning("Time", many),
              "Time is not a number in rows " + twenty + "; those rows were left unchanged");
}

TEST(AddToPosition, WholeNumbersEmptyCellsKept) {
    Table t(5, kavrin::ColumnCount);
    const char* positions[] = {"12", "", "3", "7", "0.5"};
    for (int r = 0; r < 5; ++r) t.setText(r, kavrin::Pos, positions[r]);
    t.setNumber(3, kavrin::Pos, 7);
    const int rows[] = {0, 1, 2, 3, 4};
    addToPosition(ScriptGrid::Kavrin, t, rows, 5).patch.swapWith(t);
    EXPECT_EQ(text(t, 0, kavrin::Pos), "17");
    EXPECT_EQ(text(t, 1, kavrin::Pos), "");
    EXPECT_EQ(text(t, 3, kavrin::Pos), "12");
    EXPECT_EQ(text(t, 4, kavrin::Pos), "6");          // 5.5 to even
    EXPECT_TRUE(t.cell(0, kavrin::Clock).isEmpty());  // a position has no clock
    addToPosition(ScriptGrid::Kavrin, t, rows, -20).patch.swapWith(t);
    EXPECT_EQ(text(t, 0, kavrin::Pos), "-3");
    EXPECT_EQ(text(t, 2, kavrin::Pos), "-12");

    Table talsen(1, talsen::ColumnCount);
    talsen.setText(0, talsen::Pos, "2");
    addToPosition(ScriptGrid::Talsen, talsen, std::vector<int>{0}, 1.5).patch.swapWith(talsen);
    EXPECT_EQ(text(talsen, 0, talsen::Pos), "4");  // 3.5 to even
}
