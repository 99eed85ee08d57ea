#include "addressing/renumber_cues.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/script_columns.h"

namespace fulgor {
namespace {

using enum NumberingOption;
using Positions = std::vector<std::string>;

// Cues of one product at the given positions, timed in table order so that
// the sort keeps cues of one position in that order.
Table cuesAt(const Positions& positions) {
    Table t(static_cast<int>(positions.size()), talsen::ColumnCount);
    for (int r = 0; r < t.rowCount(); ++r) {
        t.setText(r, talsen::Type, "Shell");
        t.setNumber(r, talsen::Time, r);
        t.setText(r, talsen::Pos, positions[static_cast<std::size_t>(r)]);
    }
    return t;
}

// Runs of cues: {{"1", 46}, {"2", 1}} is 46 cues at position 1, then one at 2.
Positions runs(std::initializer_list<std::pair<std::string, int>> counts) {
    Positions positions;
    for (const auto& [position, count] : counts)
        positions.insert(positions.end(), static_cast<std::size_t>(count), position);
    return positions;
}

std::string address(const Table& t, int row) {
    return cellText(t.cell(row, talsen::Mod)) + "/" + cellText(t.cell(row, talsen::Pin));
}

void expectAddresses(const Table& t, std::initializer_list<std::pair<int, const char*>> rows) {
    for (auto [row, text] : rows) EXPECT_EQ(address(t, row), text) << "row " << row;
}

int renumber(Table& t, NumberingChoice choice = {}) {
    Result<RenumberOutcome> outcome = RenumberQues(t, choice);
    EXPECT_TRUE(outcome.ok()) << outcome.error();
    return outcome.ok() ? outcome.value().linesLeft : -1;
}

TEST(RenumberQues, EveryPositionStartsAModuleUnlessTheLastOneWasExactlyFilled) {
    Table t = cuesAt({"2", "1", "2", "1", "1"});
    EXPECT_EQ(renumber(t), 0);
    expectAddresses(t, {{0, "01/01"}, {1, "01/02"}, {2, "01/03"}, {3, "02/01"}, {4, "02/02"}});

    Table over = cuesAt(runs({{"1", 46}, {"2", 1}}));
    renumber(over);
    expectAddresses(over, {{44, "01/45"}, {45, "02/01"}, {46, "03/01"}});
    Table exact = cuesAt(runs({{"1", 45}, {"2", 1}}));
    renumber(exact);
    EXPECT_EQ(address(exact, 45), "02/01");
}

TEST(RenumberQues, RowsWithoutAPositionGetNoAddressAndAreNotCounted) {
    Table t = cuesAt({"1", "", "abc", "0", "-2", "1", "0.4"});
    for (int r = 0; r < t.rowCount(); ++r) t.setText(r, talsen::Mod, "07");
    EXPECT_EQ(renumber(t), 0);
    // Numeric positions sort first; the rows reading 0 keep their order.
    const char* order[] = {"-2", "", "abc", "0", "0.4", "1", "1"};
    for (int r = 0; r < 7; ++r) {
        EXPECT_EQ(t.cell(r, talsen::Pos).text(), order[r]) << r;
        EXPECT_EQ(address(t, r), r < 5 ? "/" : (r == 5 ? "01/01" : "01/02")) << r;
    }
}

TEST(RenumberQues, SortsByPosThenTypeAndSizeAsTextThenTimeAsNumber) {
    const char* rows[][4] = {
        // Pos, Type, Size, Time
        {"10", "Shell", "75mm", "1"}, {"9", "Shell", "75mm", "10"},  {"9", "Shell", "75mm", "9.5"},
        {"9", "Comet", "75mm", "20"}, {"9", "Shell", "100mm", "30"},
    };
    const int columns[] = {talsen::Pos, talsen::Type, talsen::Size, talsen::Time};
    Table t(5, talsen::ColumnCount);
    for (int r = 0; r < 5; ++r) {
        for (int i = 0; i < 4; ++i) t.setText(r, columns[i], rows[r][i]);
    }
    renumber(t);
    const char* times[] = {"20", "30", "9.5", "10", "1"};
    for (int r = 0; r < 5; ++r) EXPECT_EQ(t.cell(r, talsen::Time).text(), times[r]) << r;
}

TEST(RenumberQues, TalsenPositionsFrom100MoveToModule100With45Pins) {
    Table t = cuesAt(runs({{"1", 33}, {"99", 1}, {"100", 46}, {"150", 1}}));
    EXPECT_EQ(renumber(t, {Talsen}), 0);
    expectAddresses(t, {{31, "01/32"},
                        {32, "02/01"},
                        {33, "03/01"},
                        {34, "100/01"},
                        {78, "100/45"},
                        {79, "101/01"},
                        {80, "102/01"}});

    Table high = cuesAt({"120", "100"});
    renumber(high, {Talsen});
    expectAddresses(high, {{0, "100/01"}, {1, "101/01"}});

    // With modules 1..99 used up there is no switch: the rest is left over.
    Positions full;
    for (int p = 1; p <= 100; ++p) full.insert(full.end(), p < 100 ? 32 : 2, std::to_string(p));
    Table used = cuesAt(full);
    EXPECT_EQ(renumber(used, {Talsen}), 2);
    EXPECT_EQ(address(used, 99 * 32 - 1), "99/32");
}

TEST(RenumberQues, CustomRangesWriteHexOrDecimal) {
    Table hex = cuesAt(runs({{"1", 127 * 16 + 2}}));
    EXPECT_EQ(renumber(hex, {Custom, "0", "F"}), 2);  // module 80 is past 7F
    expectAddresses(hex, {{0, "01/0"},
                          {10, "01/A"},
                          {15, "01/F"},
                          {16, "02/0"},
                          {127 * 16 - 1, "7F/F"},
                          {127 * 16, "/"}});

    Table decimal = cuesAt(runs({{"1", 17}}));
    renumber(decimal, {Custom, "1", "16"});
    expectAddresses(decimal, {{0, "01/01"}, {15, "01/16"}, {16, "02/01"}});
}

TEST(RenumberQues, RefusalLeavesTheTableUntouchedAndAnEmptyTableIsFine) {
    Table t = cuesAt({"3", "1", "2"});
    Table before = t;
    EXPECT_FALSE(RenumberQues(t, {Custom, "low", "F"}).ok());
    EXPECT_TRUE(t == before);
    Table empty(0, talsen::ColumnCount);
    EXPECT_EQ(renumber(empty), 0);
}

}  // namespace
}  // namespace fulgor
