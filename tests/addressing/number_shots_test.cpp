#include "addressing/number_shots.h"

#include <gtest/gtest.h>

#include "addressing/addressing_texts.h"
#include "addressing/group_shots.h"
#include "kavrin_rows.h"

namespace fulgor {
namespace {

using test::kavrinTable;

std::string shotAt(const Table& t, int row) {
    return cellText(t.cell(row, kavrin::Shot));
}

TEST(NumberShots, CuesAtOneTimeShareAShotAndLinesFollowTheNewOrder) {
    Table t = kavrinTable({{.time = "3.0"},
                           {.time = "1.0", .mod = "2"},
                           {.time = "2.5"},
                           {.time = "3.00", .mod = "2"},
                           {.time = "1"}});
    EXPECT_EQ(NumberShots(t), 3);
    const char* times[] = {"1", "1.0", "2.5", "3.0", "3.00"};
    const char* shots[] = {"1", "1", "2", "3", "3"};
    for (int r = 0; r < 5; ++r) {
        EXPECT_EQ(t.cell(r, kavrin::Time).text(), times[r]) << r;
        EXPECT_EQ(shotAt(t, r), shots[r]) << r;
        ASSERT_TRUE(t.cell(r, kavrin::Line).isNumber());
        EXPECT_EQ(t.cell(r, kavrin::Line).number(), r + 1);
    }
}

TEST(NumberShots, SortsByTimeModAndShotAsNumbers) {
    Table t = kavrinTable({{.time = "10"},
                           {.time = "9", .mod = "10", .shot = "2"},
                           {.time = "9", .mod = "10", .shot = "1"},
                           {.time = "9", .mod = "9"}});
    NumberShots(t);
    const char* notes[] = {"row 3", "row 2", "row 1", "row 0"};
    for (int r = 0; r < 4; ++r) EXPECT_EQ(t.cell(r, kavrin::Notes).text(), notes[r]) << r;
}

TEST(NumberShots, RowsMarkedInErrOrWithoutTimeGetNoShot) {
    Table t = kavrinTable({{.time = ""},
                           {.time = "1", .err = "2"},
                           {.time = "2"},
                           {.time = "2.0"},
                           {.time = "4", .err = "x"}});
    EXPECT_EQ(NumberShots(t), 1);
    const char* shots[] = {"", "", "1", "1", ""};
    for (int r = 0; r < 5; ++r) EXPECT_EQ(shotAt(t, r), shots[r]) << r;

    Table none = kavrinTable({{.time = ""}, {.time = "5", .err = "3"}});
    EXPECT_EQ(NumberShots(none), 0);
    EXPECT_EQ(shotAt(none, 0), "");
    EXPECT_EQ(shotAt(none, 1), "");

    Table empty(0, kavrin::ColumnCount);
    EXPECT_EQ(NumberShots(empty), 0);
}

TEST(GroupShots, FireMemoryIs550ShotsOr3168WithMiravelTiming) {
    Table fits = test::distinctTimes(550);
    EXPECT_FALSE(groupShots(fits, false).exceeded());
    Table over = test::distinctTimes(551);
    GroupShotsOutcome outcome = groupShots(over, false);
    EXPECT_EQ(outcome.shots, 551);
    EXPECT_EQ(outcome.fireMemory, 550);
    EXPECT_TRUE(outcome.exceeded());
    EXPECT_EQ(over.cell(550, kavrin::Shot).number(), 551);  // the numbering stays
    EXPECT_FALSE(groupShots(over, true).exceeded());
    Table miravelOver = test::distinctTimes(3169);
    EXPECT_TRUE(groupShots(miravelOver, true).exceeded());
    Table miravelFits = test::distinctTimes(3168);
    EXPECT_FALSE(groupShots(miravelFits, true).exceeded());
    EXPECT_EQ(kFireMemoryExceeded, "Exceeded Kavrin Fire Memory!");
}

}  // namespace
}  // namespace fulgor
