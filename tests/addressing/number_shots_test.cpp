#include "addressing/number_shots.h"

#include <gtest/gtest.h>

#include "addressing/group_shots.h"
#include "kavrin_rows.h"

namespace fulgor {
namespace {

using test::kavrinTable;

std::vector<std::string> column(const Table& t, int column) {
    std::vector<std::string> texts;
    for (int r = 0; r < t.rowCount(); ++r) texts.push_back(cellText(t.cell(r, column)));
    return texts;
}

TEST(NumberShots, SortsByTimeModAndShotSharesAShotPerTimeAndSkipsMarkedOrUntimedRows) {
    Table t = kavrinTable({{.time = "10"},
                           {.time = "9", .mod = "10", .shot = "2"},
                           {.time = "9.0", .mod = "10", .shot = "1"},
                           {.time = "9", .mod = "9"},
                           {.time = "2.5"}});
    EXPECT_EQ(NumberShots(t).shots, 3);
    using V = std::vector<std::string>;
    EXPECT_EQ(column(t, kavrin::Notes), (V{"row 4", "row 3", "row 2", "row 1", "row 0"}));
    EXPECT_EQ(column(t, kavrin::Shot), (V{"1", "2", "2", "2", "3"}));
    EXPECT_EQ(column(t, kavrin::Line), (V{"1", "2", "3", "4", "5"}));

    // Rows marked in Err or without a Time get no shot.
    t = kavrinTable(
        {{.time = ""}, {.time = "1", .err = "2"}, {.time = "2"}, {.time = "4", .err = "x"}});
    EXPECT_EQ(NumberShots(t).shots, 1);
    EXPECT_EQ(column(t, kavrin::Shot), (V{"", "", "1", ""}));
    Table none = kavrinTable({{.time = ""}, {.time = "5", .err = "3"}});
    EXPECT_EQ(NumberShots(none).shots, 0);
}

TEST(GroupShots, FireMemoryIs550ShotsOr3168WithMiravelTiming) {
    const std::tuple<int, bool, bool> cases[] = {{550, false, false},
                                                 {551, false, true},
                                                 {551, true, false},
                                                 {3168, true, false},
                                                 {3169, true, true}};
    for (auto [shots, miravel, exceeded] : cases) {
        Table t = test::distinctTimes(shots);
        GroupShotsOutcome outcome = groupShots(t, miravel);
        EXPECT_EQ(outcome.shots, shots);
        EXPECT_EQ(outcome.exceeded(), exceeded) << shots << (miravel ? " Miravel" : "");
    }
}

}  // namespace
}  // namespace fulgor
