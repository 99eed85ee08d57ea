#include "addressing/conflict_check.h"

#include <gtest/gtest.h>

#include "kavrin_rows.h"

namespace fulgor {
namespace {

using test::KavrinRow;
using test::kavrinTable;
using Rows = std::vector<int>;

constexpr ConflictRules kKavrinRules{false, false};
constexpr ConflictRules kTalsenRules{true, true};
constexpr ConflictRules kTimeRuleOnly{true, false};

struct BoundCase {
    KavrinRow row;
    bool conflict;
};

// Each row alone through CheckConflictRow, so that its Shot is tested as given.
void expectBounds(std::initializer_list<BoundCase> cases, const ConflictRules& rules) {
    for (const BoundCase& c : cases) {
        Table t = kavrinTable({c.row});
        ConflictWalk walk;
        CheckConflictRow(t, 0, rules, walk);
        EXPECT_EQ(walk.counter, c.conflict ? 1 : 0)
            << "time " << c.row.time << " shot " << c.row.shot << " pos " << c.row.pos << " mod "
            << c.row.mod << " pin " << c.row.pin;
    }
}

TEST(CheckConflictRow, KavrinRuleBounds) {
    expectBounds({{{.time = "1", .mod = "12", .pin = "45", .shot = "550"}, false},
                  {{.time = "1", .shot = "551"}, true},
                  {{.time = "1", .shot = ""}, true},
                  {{.time = "1", .shot = "-1"}, false},
                  {{.time = "1", .mod = "13"}, true},
                  {{.time = "1", .mod = "0"}, true},
                  {{.time = "1", .pin = "46"}, true},
                  {{.time = "0"}, false},
                  {{.time = ""}, true},
                  {{.time = "-0.1"}, true},
                  {{.time = "12abc"}, true}},
                 kKavrinRules);
}

TEST(CheckConflictRow, TalsenRuleBoundsDependOnThePosition) {
    expectBounds({{{.time = "1", .mod = "50", .pos = "120"}, true},
                  {{.time = "1", .mod = "150", .pin = "40", .pos = "120"}, false},
                  {{.time = "1", .mod = "150", .pin = "33", .pos = "120"}, false},
                  {{.time = "1", .mod = "5", .pin = "33", .pos = "20"}, true},
                  {{.time = "1", .mod = "99", .pin = "32", .pos = "99"}, false},
                  {{.time = "1", .mod = "200", .pos = "100"}, true},
                  {{.time = "1", .mod = "500", .pin = "99", .pos = "-1"}, false},
                  {{.time = "1", .shot = "3168"}, false},
                  {{.time = "1", .shot = "3169"}, true},
                  // The high range at its edges: position 100 on, modules 100 to 199, pins 1 to 45.
                  {{.time = "1", .mod = "100", .pin = "45", .pos = "100"}, false},
                  {{.time = "1", .mod = "100", .pin = "46", .pos = "100"}, true},
                  {{.time = "1", .mod = "100", .pin = "1", .pos = "100"}, false},
                  {{.time = "1", .mod = "100", .pin = "0", .pos = "100"}, true},
                  {{.time = "1", .mod = "99", .pin = "1", .pos = "100"}, true},
                  {{.time = "1", .mod = "199", .pin = "45", .pos = "100"}, false},
                  {{.time = "1", .mod = "100", .pin = "1", .pos = "99"}, true},
                  {{.time = "1", .mod = "99", .pin = "33", .pos = "99"}, true},
                  {{.time = "1", .mod = "1", .pin = "1", .pos = "0"}, false},
                  {{.time = "1", .mod = "0", .pin = "1", .pos = "0"}, true}},
                 kTalsenRules);
    expectBounds({{{.time = "1", .mod = "13", .pin = "99", .shot = "0"}, false},
                  {{.time = "-1"}, true},
                  {{.time = "x"}, true}},
                 kTimeRuleOnly);
}

TEST(CheckConflicts, ACleanShowEndsWithNoConflictsAndEmptyErr) {
    Table t = kavrinTable({{.time = "1", .err = "7"}, {.time = "1"}, {.time = "2", .mod = "2"}});
    ConflictReport report = checkConflicts(t, kKavrinRules);
    EXPECT_EQ(report.conflicts, 0);
    EXPECT_TRUE(report.markedRows.empty());
    EXPECT_TRUE(t.cell(0, kavrin::Err).isEmpty());
}

TEST(CheckConflicts, SameTimeOnAnotherModuleIsMarkedOnlyWhereTheModuleChanges) {
    // 12.1 is no float exactly, yet "12.10" and 12.1 are one moment.
    Table t = kavrinTable({{.time = "12.10", .mod = "4"}, {.time = "", .mod = "3"}});
    t.setNumber(1, kavrin::Time, 12.1);
    ConflictReport report = checkConflicts(t, kKavrinRules);
    EXPECT_EQ(report.markedRows, Rows{1});
    EXPECT_EQ(t.cell(1, kavrin::Mod).text(), "4");
    EXPECT_EQ(t.cell(1, kavrin::Err), Cell::number(1));

    Table three = kavrinTable(
        {{.time = "5", .mod = "4"}, {.time = "5", .mod = "3"}, {.time = "5", .mod = "4"}});
    EXPECT_EQ(checkConflicts(three, kKavrinRules).markedRows, Rows{1});
    // Module 1 is a previous module like any other.
    Table fromOne = kavrinTable({{.time = "5", .mod = "1"}, {.time = "5", .mod = "2"}});
    EXPECT_EQ(checkConflicts(fromOne, kKavrinRules).markedRows, Rows{1});
    Table first = kavrinTable({{.time = "0", .mod = "9"}, {.time = "1", .mod = "2"}});
    EXPECT_EQ(checkConflicts(first, kKavrinRules).conflicts, 0);
    Table talsen = kavrinTable({{.time = "5", .mod = "3"}, {.time = "5", .mod = "4"}});
    EXPECT_EQ(checkConflicts(talsen, kTalsenRules).conflicts, 0);
}

TEST(CheckConflicts, ConflictsAreNumberedInTableOrderAndTheCheckGoesOnPastTheFireMemory) {
    Table t =
        kavrinTable({{.time = "3", .mod = "13"}, {.time = "x"}, {.time = "2"}, {.time = "-1"}});
    ConflictReport report = checkConflicts(t, kKavrinRules);
    EXPECT_EQ(report.markedRows, (Rows{0, 1, 3}));  // sorted: -1, x (reads 0), 2, 3
    EXPECT_EQ(t.cell(3, kavrin::Err), Cell::number(3));

    Table full = test::distinctTimes(552);
    ConflictReport over = checkConflicts(full, kKavrinRules);
    EXPECT_TRUE(over.grouping.exceeded());
    EXPECT_EQ(over.markedRows, (Rows{550, 551}));
}

TEST(CheckConflicts, GroupShotsAfterACheckSkipsMarkedRowsAndTheNextCheckCountsAllAgain) {
    Table t = kavrinTable({{.time = "1"}, {.time = "2", .mod = "13"}, {.time = "3"}});
    EXPECT_EQ(checkConflicts(t, kKavrinRules).conflicts, 1);
    EXPECT_EQ(groupShots(t, false).shots, 2);
    ConflictReport again = checkConflicts(t, kKavrinRules);
    EXPECT_EQ(again.grouping.shots, 3);
    EXPECT_EQ(again.conflicts, 1);
}

}  // namespace
}  // namespace fulgor
