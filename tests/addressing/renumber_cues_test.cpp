#include "addressing/renumber_cues.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "addressing/addressing_texts.h"
#include "core/script_columns.h"

namespace fulgor {
namespace {

// A Talsen table with one cue per position text, all of one product, the
// cue's index as its Line and Time so that the sort keeps them in order.
Table cuesAt(const std::vector<std::string>& positions) {
    Table t(static_cast<int>(positions.size()), talsen::ColumnCount);
    for (int r = 0; r < t.rowCount(); ++r) {
        t.setNumber(r, talsen::Line, r + 1);
        t.setText(r, talsen::Type, "Shell");
        t.setText(r, talsen::Size, "75mm");
        t.setNumber(r, talsen::Time, r);
        t.setText(r, talsen::Pos, positions[static_cast<std::size_t>(r)]);
    }
    return t;
}

std::vector<std::string> repeat(const std::string& position, int count) {
    return std::vector<std::string>(static_cast<std::size_t>(count), position);
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::string address(const Table& t, int row) {
    return cellText(t.cell(row, talsen::Mod)) + "/" + cellText(t.cell(row, talsen::Pin));
}

int renumber(Table& t, NumberingChoice choice = {}) {
    Result<RenumberOutcome> outcome = RenumberQues(t, choice);
    EXPECT_TRUE(outcome.ok()) << outcome.error();
    return outcome.ok() ? outcome.value().linesLeft : -1;
}

TEST(RenumberQues, EveryPositionStartsAFreshModule) {
    Table t = cuesAt({"2", "1", "2", "1", "1"});
    EXPECT_EQ(renumber(t), 0);
    const char* expected[] = {"01/01", "01/02", "01/03", "02/01", "02/02"};
    for (int r = 0; r < 5; ++r) EXPECT_EQ(address(t, r), expected[r]) << r;
}

TEST(RenumberQues, AFullModuleWrapsAndTheNextPositionSkipsNoModule) {
    Table t = cuesAt(repeat("1", 46) + repeat("2", 1));
    EXPECT_EQ(renumber(t), 0);
    EXPECT_EQ(address(t, 44), "01/45");
    EXPECT_EQ(address(t, 45), "02/01");
    EXPECT_EQ(address(t, 46), "03/01");

    Table exact = cuesAt(repeat("1", 45) + repeat("2", 1));
    EXPECT_EQ(renumber(exact), 0);
    EXPECT_EQ(address(exact, 44), "01/45");
    EXPECT_EQ(address(exact, 45), "02/01");
}

TEST(RenumberQues, CuesPastTheLastModuleAreLeftOverAndCounted) {
    Table t = cuesAt(repeat("1", 543));
    int left = renumber(t);
    EXPECT_EQ(left, 3);
    EXPECT_EQ(address(t, 539), "12/45");
    for (int r = 540; r < 543; ++r) EXPECT_EQ(address(t, r), "/") << r;
    EXPECT_EQ(leftOverMessage(left), "Out of Modules!\r\n3 Lines left!");
}

TEST(RenumberQues, RowsWithoutAPositionGetNoAddressAndAreNotCounted) {
    Table t = cuesAt({"1", "", "abc", "0", "-2", "1", "0.4"});
    for (int r = 0; r < t.rowCount(); ++r) {
        t.setText(r, talsen::Mod, "07");
        t.setText(r, talsen::Pin, "07");
    }
    EXPECT_EQ(renumber(t), 0);
    // Numeric positions sort first; the rows reading 0 keep their order.
    const char* order[] = {"-2", "", "abc", "0", "0.4", "1", "1"};
    for (int r = 0; r < 7; ++r) {
        EXPECT_EQ(t.cell(r, talsen::Pos).text(), order[r]) << r;
        EXPECT_EQ(address(t, r), r < 5 ? "/" : (r == 5 ? "01/01" : "01/02")) << r;
    }
}

TEST(RenumberQues, SortsByPosThenTypeAndSizeAsTextThenTimeAsNumber) {
    Table t(5, talsen::ColumnCount);
    const char* rows[][4] = {
        // Pos, Type, Size, Time
        {"10", "Shell", "75mm", "1"}, {"9", "Shell", "75mm", "10"},  {"9", "Shell", "75mm", "9.5"},
        {"9", "Comet", "75mm", "20"}, {"9", "Shell", "100mm", "30"},
    };
    for (int r = 0; r < 5; ++r) {
        t.setText(r, talsen::Pos, rows[r][0]);
        t.setText(r, talsen::Type, rows[r][1]);
        t.setText(r, talsen::Size, rows[r][2]);
        t.setText(r, talsen::Time, rows[r][3]);
    }
    EXPECT_EQ(renumber(t), 0);
    const char* times[] = {"20", "30", "9.5", "10", "1"};
    for (int r = 0; r < 5; ++r) EXPECT_EQ(t.cell(r, talsen::Time).text(), times[r]) << r;
    EXPECT_EQ(address(t, 3), "01/04");
    EXPECT_EQ(address(t, 4), "02/01");
}

TEST(RenumberQues, TalsenPositionsFrom100MoveToModule100With45Pins) {
    Table t = cuesAt(repeat("1", 33) + repeat("99", 1) + repeat("100", 46) + repeat("150", 1));
    EXPECT_EQ(renumber(t, {NumberingOption::Talsen}), 0);
    EXPECT_EQ(address(t, 31), "01/32");
    EXPECT_EQ(address(t, 32), "02/01");
    EXPECT_EQ(address(t, 33), "03/01");
    EXPECT_EQ(address(t, 34), "100/01");
    EXPECT_EQ(address(t, 78), "100/45");
    EXPECT_EQ(address(t, 79), "101/01");
    EXPECT_EQ(address(t, 80), "102/01");

    Table high = cuesAt({"120", "100"});
    EXPECT_EQ(renumber(high, {NumberingOption::Talsen}), 0);
    EXPECT_EQ(address(high, 0), "100/01");
    EXPECT_EQ(address(high, 1), "101/01");
}

TEST(RenumberQues, TalsenModules1To99UsedUpLeaveTheHighPositionsOver) {
    std::vector<std::string> positions;
    for (int p = 1; p <= 99; ++p) positions = positions + repeat(std::to_string(p), 32);
    Table t = cuesAt(positions + repeat("100", 2));
    EXPECT_EQ(renumber(t, {NumberingOption::Talsen}), 2);
    EXPECT_EQ(address(t, 99 * 32 - 1), "99/32");
    EXPECT_EQ(address(t, 99 * 32), "/");
}

TEST(RenumberQues, CustomHexRangeWritesHexAndStopsAfterModule7F) {
    Table t = cuesAt(repeat("1", 127 * 16 + 2));
    EXPECT_EQ(renumber(t, {NumberingOption::Custom, "0", "F"}), 2);
    EXPECT_EQ(address(t, 0), "01/0");
    EXPECT_EQ(address(t, 10), "01/A");
    EXPECT_EQ(address(t, 15), "01/F");
    EXPECT_EQ(address(t, 16), "02/0");
    EXPECT_EQ(address(t, 127 * 16 - 1), "7F/F");
    EXPECT_EQ(address(t, 127 * 16), "/");

    Table wide = cuesAt(repeat("1", 2));
    EXPECT_EQ(renumber(wide, {NumberingOption::Custom, "20", "f"}), 0);
    EXPECT_EQ(address(wide, 0), "01/14");  // pins above F keep their hex digits
    EXPECT_EQ(address(wide, 1), "02/14");  // a low pin above the high one fills a module each
}

TEST(RenumberQues, CustomDecimalRange) {
    Table t = cuesAt(repeat("1", 17));
    EXPECT_EQ(renumber(t, {NumberingOption::Custom, "1", "16"}), 0);
    EXPECT_EQ(address(t, 0), "01/01");
    EXPECT_EQ(address(t, 15), "01/16");
    EXPECT_EQ(address(t, 16), "02/01");
}

TEST(RenumberQues, NoSchemeClearsAndCountsEveryPositionedCue) {
    Table t = cuesAt({"1", "0", "2"});
    for (int r = 0; r < 3; ++r) t.setText(r, talsen::Mod, "05");
    EXPECT_EQ(renumber(t, {NumberingOption::Custom, "0", "1F"}), 2);
    for (int r = 0; r < 3; ++r) EXPECT_EQ(address(t, r), "/") << r;
}

TEST(RenumberQues, RefusalLeavesTheTableUntouchedAndAnEmptyTableIsFine) {
    Table t = cuesAt({"3", "1", "2"});
    Table before = t;
    Result<RenumberOutcome> refused = RenumberQues(t, {NumberingOption::Custom, "low", "F"});
    EXPECT_FALSE(refused.ok());
    EXPECT_TRUE(t == before);

    Table empty(0, talsen::ColumnCount);
    EXPECT_EQ(renumber(empty), 0);
    EXPECT_EQ(empty.rowCount(), 0);
}

}  // namespace
}  // namespace fulgor
