#include "addressing/conflict_check.h"

#include <gtest/gtest.h>

#include "addressing/addressing_texts.h"
#include "kavrin_rows.h"

namespace fulgor {
namespace {

using test::KavrinRow;
using test::kavrinTable;

constexpr ConflictRules kKavrinRules{false, false};
constexpr ConflictRules kTalsenRules{true, true};
constexpr ConflictRules kTimeRuleOnly{true, false};

// One row through CheckConflictRow alone, so that its Shot is tested as given.
bool breaksRules(const KavrinRow& row, const ConflictRules& rules) {
    Table t = kavrinTable({row});
    ConflictWalk walk;
    CheckConflictRow(t, 0, rules, walk);
    return walk.counter == 1;
}

std::string errAt(const Table& t, int row) {
    return cellText(t.cell(row, kavrin::Err));
}

struct BoundCase {
    KavrinRow row;
    bool conflict;
};

void expectBounds(std::initializer_list<BoundCase> cases, const ConflictRules& rules) {
    for (const BoundCase& c : cases) {
        EXPECT_EQ(breaksRules(c.row, rules), c.conflict)
            << "time " << c.row.time << " shot " << c.row.shot << " pos " << c.row.pos << " mod "
            << c.row.mod << " pin " << c.row.pin;
    }
}

TEST(CheckConflictRow, KavrinRuleBounds) {
    expectBounds({{{.time = "1", .shot = "550"}, false},
                  {{.time = "1", .shot = "551"}, true},
                  {{.time = "1", .shot = "0"}, true},
                  {{.time = "1", .shot = ""}, true},
                  {{.time = "1", .shot = "-1"}, false},
                  {{.time = "1", .mod = "12", .pin = "45"}, false},
                  {{.time = "1", .mod = "13"}, true},
                  {{.time = "1", .mod = "0"}, true},
                  {{.time = "1", .mod = ""}, true},
                  {{.time = "1", .pin = "46"}, true},
                  {{.time = "1", .pin = "-1"}, true},
                  {{.time = "0"}, false},
                  {{.time = ""}, true},
                  {{.time = "-0.1"}, true},
                  {{.time = "12abc"}, true},
                  {{.time = "ab"}, true}},
                 kKavrinRules);
}

TEST(CheckConflictRow, TalsenRuleBoundsDependOnThePosition) {
    expectBounds({{{.time = "1", .mod = "50", .pos = "120"}, true},
                  {{.time = "1", .mod = "150", .pin = "40", .pos = "120"}, false},
                  {{.time = "1", .mod = "150", .pin = "33", .pos = "120"}, false},
                  {{.time = "1", .mod = "5", .pin = "33", .pos = "20"}, true},
                  {{.time = "1", .mod = "99", .pin = "32", .pos = "99"}, false},
                  {{.time = "1", .mod = "100", .pos = "99"}, true},
                  {{.time = "1", .mod = "199", .pin = "45", .pos = "100"}, false},
                  {{.time = "1", .mod = "200", .pos = "100"}, true},
                  {{.time = "1", .mod = "500", .pin = "99", .pos = "-1"}, false},
                  {{.time = "1", .mod = "0", .pos = "0"}, true},
                  {{.time = "1", .shot = "3168"}, false},
                  {{.time = "1", .shot = "3169"}, true},
                  {{.time = "1", .shot = "551"}, false},
                  {{.time = ""}, true}},
                 kTalsenRules);
}

TEST(CheckConflictRow, MiravelTimingWithoutTalsenNumberingTestsOnlyTheTime) {
    expectBounds({{{.time = "1", .mod = "13", .pin = "99", .shot = "0"}, false},
                  {{.time = "1", .mod = "", .pin = "", .shot = "", .pos = ""}, false},
                  {{.time = ""}, true},
                  {{.time = "-1"}, true},
                  {{.time = "x"}, true}},
                 kTimeRuleOnly);
}

TEST(CheckConflicts, ACleanShowEndsWithNoConflictsAndEmptyErr) {
    Table t = kavrinTable(
        {{.time = "1", .err = "7"}, {.time = "1", .err = "8"}, {.time = "2", .mod = "2"}});
    ConflictReport report = checkConflicts(t, kKavrinRules);
    EXPECT_EQ(report.conflicts, 0);
    EXPECT_TRUE(report.markedRows.empty());
    EXPECT_FALSE(report.grouping.exceeded());
    for (int r = 0; r < 3; ++r) EXPECT_EQ(errAt(t, r), "") << r;
    EXPECT_EQ(conflictLabelText(report.conflicts), "");
}

TEST(CheckConflicts, SameTimeOnAnotherModuleIsAConflict) {
    // 12.1 is not exactly a float, yet both rows are at one moment.
    Table t = kavrinTable({{.time = "12.10", .mod = "4"}, {.time = "12.1", .mod = "3"}});
    ConflictReport report = checkConflicts(t, kKavrinRules);
    EXPECT_EQ(report.conflicts, 1);
    ASSERT_EQ(report.markedRows, std::vector<int>{1});
    EXPECT_EQ(t.cell(1, kavrin::Mod).text(), "4");
    ASSERT_TRUE(t.cell(1, kavrin::Err).isNumber());
    EXPECT_EQ(t.cell(1, kavrin::Err).number(), 1);
    EXPECT_EQ(errAt(t, 0), "");
    EXPECT_EQ(conflictLabelText(report.conflicts), "1 Time/Module Conflicts present!");
    EXPECT_EQ(conflictMessageText(report.conflicts), "1 found!");
    EXPECT_EQ(kCheckingTitle, "Checking for Conflicts");

    Table numbers = kavrinTable({{.time = "", .mod = "3"}, {.time = "", .mod = "4"}});
    numbers.setNumber(0, kavrin::Time, 12.1);
    numbers.setText(1, kavrin::Time, "12.1");
    EXPECT_EQ(checkConflicts(numbers, kKavrinRules).markedRows, std::vector<int>{1});
}

TEST(CheckConflicts, OnlyTheFirstRowOnANewModuleAtOneTimeIsMarked) {
    Table t = kavrinTable(
        {{.time = "5", .mod = "4"}, {.time = "5", .mod = "3"}, {.time = "5", .mod = "4"}});
    ConflictReport report = checkConflicts(t, kKavrinRules);
    EXPECT_EQ(report.markedRows, std::vector<int>{1});
    // The first row of a show is never a same-time conflict.
    Table first = kavrinTable({{.time = "0", .mod = "9"}, {.time = "1", .mod = "2"}});
    EXPECT_EQ(checkConflicts(first, kKavrinRules).conflicts, 0);
    // Under the Talsen rules modules may differ at one time.
    Table talsen = kavrinTable({{.time = "5", .mod = "3"}, {.time = "5", .mod = "4"}});
    EXPECT_EQ(checkConflicts(talsen, kTalsenRules).conflicts, 0);
}

TEST(CheckConflicts, ConflictsAreNumberedInTableOrder) {
    Table t = kavrinTable({{.time = "3", .mod = "13"},
                           {.time = "x"},
                           {.time = "1", .mod = "13"},
                           {.time = "2"},
                           {.time = "-1"}});
    ConflictReport report = checkConflicts(t, kKavrinRules);
    // Sorted: -1, x (reads 0), 1, 2, 3.
    EXPECT_EQ(report.markedRows, (std::vector<int>{0, 1, 2, 4}));
    const char* errs[] = {"1", "2", "3", "", "4"};
    for (int r = 0; r < 5; ++r) EXPECT_EQ(errAt(t, r), errs[r]) << r;
    EXPECT_EQ(conflictMessageText(report.conflicts), "4 found!");
}

TEST(CheckConflicts, GoesOnPastAFullFireMemoryAndFlagsTheShotsBeyondIt) {
    Table t = test::distinctTimes(552);
    ConflictReport report = checkConflicts(t, kKavrinRules);
    EXPECT_TRUE(report.grouping.exceeded());
    EXPECT_EQ(report.markedRows, (std::vector<int>{550, 551}));
    Table miravel = test::distinctTimes(552);
    EXPECT_EQ(checkConflicts(miravel, kTalsenRules).conflicts, 0);
}

TEST(CheckConflicts, GroupShotsAfterACheckSkipsMarkedRowsAndTheNextCheckCountsAllAgain) {
    Table t = kavrinTable({{.time = "1"}, {.time = "2", .mod = "13"}, {.time = "3"}});
    EXPECT_EQ(checkConflicts(t, kKavrinRules).conflicts, 1);
    GroupShotsOutcome regrouped = groupShots(t, false);
    EXPECT_EQ(regrouped.shots, 2);
    EXPECT_EQ(cellText(t.cell(1, kavrin::Shot)), "");
    ConflictReport again = checkConflicts(t, kKavrinRules);
    EXPECT_EQ(again.grouping.shots, 3);
    EXPECT_EQ(again.conflicts, 1);
}

}  // namespace
}  // namespace fulgor
