#include "core/table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <stdexcept>

#include <string>
#include <vector>

namespace fulgor {
namespace {

using Texts = std::vector<std::string>;

// One column of a table as texts, numbers in their shortest form.
Texts column(const Table& t, int c) {
    Texts out;
    for (int r = 0; r < t.rowCount(); ++r) out.push_back(cellText(t.cell(r, c)));
    return out;
}

Table fromRows(const std::vector<std::vector<std::string>>& rows) {
    Table t(static_cast<int>(rows.size()), static_cast<int>(rows.empty() ? 0 : rows[0].size()));
    for (int r = 0; r < t.rowCount(); ++r)
        for (int c = 0; c < t.columnCount(); ++c) t.setText(r, c, rows[r][c]);
    return t;
}

TEST(Table, KeepsTextsOfEveryLengthAndNumbersExactly) {
    Table t(1, 5);
    std::string huge(70000, 'x');  // past the pooled length field
    t.setText(0, 0, "");
    t.setText(0, 1, "abcdef");   // fits inline
    t.setText(0, 2, "abcdefg");  // pooled
    t.setText(0, 3, huge);
    t.setNumber(0, 4, 0.1 + 0.2);
    EXPECT_TRUE(t.cell(0, 0).isEmpty());
    EXPECT_EQ(t.cell(0, 1).text(), "abcdef");
    EXPECT_EQ(t.cell(0, 2).text(), "abcdefg");
    EXPECT_EQ(t.cell(0, 3).text(), huge);
    ASSERT_TRUE(t.cell(0, 4).isNumber());
    EXPECT_EQ(t.cell(0, 4).number(), 0.1 + 0.2);
    t.setNumber(0, 4, -0.0);
    EXPECT_FALSE(std::signbit(t.cell(0, 4).number()));
    // Text with NUL bytes and 8-bit UTF-8 stays intact.
    t.setText(0, 0, std::string("a\0b", 3));
    EXPECT_EQ(t.cell(0, 0).text(), std::string("a\0b", 3));
}

// A row as a line: every kind of cell in its place, after what the text
// already held, numbers in their shortest form.
TEST(Table, AppendsARowAsTextJoinedBySeparators) {
    Table t(2, 6);
    const std::string huge(70000, 'y');
    t.setText(0, 0, "");
    t.setText(0, 1, "abcdef");
    t.setText(0, 2, "Comet, gold");
    t.setText(0, 3, huge);
    t.setNumber(0, 4, -12.5);
    t.setNumber(0, 5, 0.1 + 0.2);
    t.setText(1, 0, "x");
    std::string line = "before|";
    t.appendRowText(0, ',', line);
    EXPECT_EQ(line, "before|,abcdef,Comet, gold," + huge + ",-12.5,0.3");
    line.clear();
    t.appendRowText(1, ';', line);
    EXPECT_EQ(line, "x;;;;;");
    Table one(1, 1);
    one.setNumber(0, 0, 1e21);
    line.clear();
    one.appendRowText(0, ',', line);
    EXPECT_EQ(line, cellText(one.cell(0, 0)));
}

// Long texts that repeat share one copy in the pool; texts that differ, or
// that meet in the table's memory of recent texts, each keep their own.
TEST(Table, RepeatedLongTextsShareOneCopyAndOthersStayApart) {
    Table t(3000, 2);
    for (int r = 0; r < t.rowCount(); ++r) {
        t.setText(r, 0, "Strobe mine");
        t.setText(r, 1, "note " + std::to_string(r) + " of the show");
    }
    const std::size_t pooled = t.longTextBytes();
    EXPECT_LT(pooled, 11 + 3000 * 22u);
    for (int r = 0; r < t.rowCount(); ++r) {
        ASSERT_EQ(t.cell(r, 0).text(), "Strobe mine");
        ASSERT_EQ(t.cell(r, 1).text(), "note " + std::to_string(r) + " of the show");
    }
    t.setText(7, 0, "Strobe mine");
    t.setText(8, 1, t.cell(2999, 1).text());
    EXPECT_EQ(t.longTextBytes(), pooled);
    EXPECT_EQ(t.cell(8, 1).text(), "note 2999 of the show");
    // After clear() the pool starts again; nothing may point into the old one.
    t.clear();
    t.setText(0, 0, "Strobe mine");
    EXPECT_EQ(t.cell(0, 0).text(), "Strobe mine");
    EXPECT_EQ(t.longTextBytes(), 11u);
    Table copy = t;
    copy.setText(1, 0, "Strobe mine");
    EXPECT_EQ(copy.longTextBytes(), 11u);
    EXPECT_EQ(copy.cell(1, 0).text(), "Strobe mine");
}

TEST(Table, CopiesCellsWithinItselfSafely) {
    Table t(2, 2);
    t.setText(0, 0, "a long text in the pool");
    for (int i = 0; i < 100; ++i) {  // each write may grow the pool under the source
        t.setCell(1, 1, t.cell(0, 0));
        t.setCell(0, 0, t.cell(1, 1));
    }
    EXPECT_EQ(t.cell(1, 1).text(), "a long text in the pool");
    t.setText(0, 1, "short");
    t.setCell(0, 1, t.cell(0, 1));
    EXPECT_EQ(t.cell(0, 1).text(), "short");
}

TEST(Table, ResizeKeepsValuesInsideTheNewBoundsAndClearKeepsTheBounds) {
    Table t = fromRows({{"a", "b", "c"}, {"d", "e", "f"}});
    t.resize(3, 2);
    EXPECT_EQ(column(t, 0), (Texts{"a", "d", ""}));
    EXPECT_EQ(column(t, 1), (Texts{"b", "e", ""}));
    t.resize(3, 4);
    EXPECT_EQ(column(t, 3), (Texts{"", "", ""}));
    EXPECT_EQ(t.cell(1, 1).text(), "e");
    t.resize(0, 4);  // last row = first row - 1
    EXPECT_EQ(t.rowCount(), 0);
    EXPECT_EQ(t.columnCount(), 4);
    t.resize(2, 4);
    EXPECT_TRUE(t.cell(1, 3).isEmpty());
    // Clearing empties every cell, long texts and numbers too, and keeps the bounds.
    t.setText(0, 0, "a long text");
    t.setNumber(1, 1, 5);
    t.clear();
    EXPECT_EQ(t, Table(2, 4));
}

TEST(Table, AppendInsertAndDeleteRowsMoveTheOthers) {
    Table t = fromRows({{"0"}, {"1"}, {"2"}});
    t.appendRows();
    EXPECT_EQ(column(t, 0), (Texts{"0", "1", "2", ""}));
    t.insertRows(1, 2);
    EXPECT_EQ(column(t, 0), (Texts{"0", "", "", "1", "2", ""}));
    t.deleteRows(0, 3);
    EXPECT_EQ(column(t, 0), (Texts{"1", "2", ""}));
    t.insertRows(0);
    t.deleteRows(3);
    EXPECT_EQ(column(t, 0), (Texts{"", "1", "2"}));
    Table empty(0, 3);
    empty.appendRows();
    EXPECT_EQ(empty.rowCount(), 1);
}

// The room a row will take is where its cells land once it is appended (a
// short text is held inside its cell), and the room ends where the room
// made for rows does.
TEST(Table, RowRoomIsWhereAppendedRowsLandAndEndsWithTheRoomMade) {
    Table t(0, 3);
    t.reserveRows(10);
    const std::span<const std::byte> room = t.rowRoom(2, 5);
    const std::span<const std::byte> toTheEnd = t.rowRoom(5, 1000);
    const std::vector<Cell> cells{Cell::text("a"), Cell::text("b"), Cell::text("c")};
    for (int r = 0; r < 10; ++r) t.appendRow(cells);
    auto at = [&t](int row, int column) {
        return reinterpret_cast<const std::byte*>(t.cell(row, column).text().data());
    };
    EXPECT_EQ(room.data(), at(2, 0));
    EXPECT_EQ(room.size(), 3 * 3 * sizeof(std::uint64_t));
    EXPECT_EQ(room.data() + room.size(), at(5, 0));
    EXPECT_EQ(toTheEnd.data(), at(5, 0));
    EXPECT_GE(toTheEnd.size(), 5 * 3 * sizeof(std::uint64_t));
    EXPECT_LT(toTheEnd.size(), 995 * 3 * sizeof(std::uint64_t));
    EXPECT_TRUE(t.rowRoom(1000, 2000).empty());
    EXPECT_TRUE(Table(0, 3).rowRoom(0, 5).empty());
}

TEST(TableSort, NumberKeysReadTheLeadingNumberAndTextKeysCompareBytes) {
    // Mixed cells: a number written by a command, texts with and without a
    // leading number, an empty cell (reads 0).
    Table t = fromRows({{"10", "0"}, {"", "1"}, {"abc", "2"}, {"2x", "3"}, {"", "4"}});
    t.setNumber(1, 0, 9.5);
    SortKey numeric[] = {{0, true}};
    t.sortRows(numeric);
    // "abc" and "" both read 0 and keep their order.
    EXPECT_EQ(column(t, 1), (Texts{"2", "4", "3", "1", "0"}));
    SortKey text[] = {{0, false}};
    t.sortRows(text);
    EXPECT_EQ(column(t, 0), (Texts{"", "10", "2x", "9.5", "abc"}));
}

// Rows that tie on the leading key are ordered by the others among
// themselves: texts (number cells read as their shortest text) by bytes, and
// rows equal in every key in their old order.
TEST(TableSort, TiesOnTheLeadingKeyFollowTheOtherKeysAndStayStable) {
    Table t = fromRows({{"b", "1", "p"},
                        {"", "5", "q"},
                        {"b", "1", "r"},
                        {"10", "0", "s"},
                        {"b", "0", "t"},
                        {"", "5", "u"}});
    t.setNumber(1, 0, 2);
    t.setNumber(5, 0, 2);
    const Table original = t;
    SortKey ascending[] = {{0, false}, {1, true}};
    t.sortRows(ascending);
    EXPECT_EQ(column(t, 2), (Texts{"s", "q", "u", "t", "p", "r"}));
    t = original;
    SortKey descending[] = {{1, true}, {0, false, true}};
    t.sortRows(descending);
    EXPECT_EQ(column(t, 2), (Texts{"t", "s", "p", "r", "q", "u"}));
    SortKey tooMany[] = {{0, false}, {1, true}, {2, false}, {1, true}, {0, true}};
    EXPECT_THROW(t.sortRows(tooMany), std::length_error);
}

// The smallest tables that can be out of order: two rows, whole or as a range
// inside others, and one row or none, which must stay as they are.
TEST(TableSort, TwoRowsSwapOnlyWhenOutOfOrder) {
    SortKey keys[] = {{0, true}}, descending[] = {{0, true, true}};
    Table swapped = fromRows({{"2", "a"}, {"1", "b"}});
    swapped.sortRows(keys);
    EXPECT_EQ(column(swapped, 1), (Texts{"b", "a"}));
    Table kept = fromRows({{"1", "a"}, {"2", "b"}});
    kept.sortRows(keys);
    EXPECT_EQ(column(kept, 1), (Texts{"a", "b"}));
    Table equal = fromRows({{"1", "a"}, {"1", "b"}});
    equal.sortRows(keys);
    EXPECT_EQ(column(equal, 1), (Texts{"a", "b"}));
    kept.sortRows(descending);
    EXPECT_EQ(column(kept, 1), (Texts{"b", "a"}));

    Table range = fromRows({{"9"}, {"5"}, {"4"}, {"0"}});
    range.sortRows(1, 2, keys);
    EXPECT_EQ(column(range, 0), (Texts{"9", "4", "5", "0"}));
    range.sortRows(3, 3, keys);
    range.sortRows(2, 1, keys);
    EXPECT_EQ(column(range, 0), (Texts{"9", "4", "5", "0"}));
    Table empty(0, 1);
    EXPECT_TRUE(empty.sortRows(keys).empty());
}

// The order a sort gives is what a window's undo keeps instead of a copy of
// the table: it must name where every row came from, and undoing it must give
// back the table exactly, long texts included.
TEST(TableSort, GivesTheOrderThatUnpermuteUndoes) {
    Table t = fromRows({{"3", "b", "x", "1"},
                        {"1", "a", "a text too long to sit inline", "2"},
                        {"3", "a", "y", "3"},
                        {"2", "c", "z", "4"},
                        {"3", "a", "y", "5"}});
    const Table original = t;
    SortKey keys[] = {{0, true, true}, {1, false}, {2, false}, {3, true, true}};
    std::vector<int> order = t.sortRows(1, 4, keys);
    EXPECT_EQ(order, (std::vector<int>{3, 1, 2, 0}));
    EXPECT_EQ(column(t, 3), (Texts{"1", "5", "3", "4", "2"}));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(t.cell(1 + i, 3), original.cell(1 + order[i], 3));
    t.unpermuteRows(1, order);
    EXPECT_EQ(t, original);

    SortKey none[] = {{0, true}};
    EXPECT_TRUE(t.sortRows(2, 2, none).empty());
}

// Large enough that the leading key goes through the sort's counting passes,
// not only its small-bucket path, and then large enough that the ties are
// broken on two threads (split at a run of the leading key near the middle, or
// not at all when one run holds every row). Where most rows tie on the leading
// key, the keys' ranks are packed side by side: with the row's index after
// them, without it when it does not fit, and with the last keys left to the
// tie breaking when they do not fit either; number keys among them of
// thousandths, of hundredths that fill their bits, and of values so far apart
// that only their ranks fit. Every way, the result must be what a plain
// stable sort of the same keys gives, ties in their old order, over the whole
// table or a range of it.
TEST(TableSort, LargeTablesSortLikeAStableSortOfTheirKeys) {
    for (const int rows : {4000, 70000}) {
        std::mt19937 random(11);
        Table t(rows, 14);
        const char* types[] = {"Cake", "Gerb", "Comet with a long name", ""};
        for (int r = 0; r < rows; ++r) {
            t.setText(r, 0, std::to_string(random() % 7));
            t.setNumber(r, 1, static_cast<double>(random() % 2000) / 4.0 - 100);
            t.setText(r, 2, types[random() % 4]);
            t.setNumber(r, 3, r);
            t.setText(r, 4, r < rows / 2 ? "1" : "2");
            t.setNumber(r, 5, (rows - r) / 2);
            t.setNumber(r, 6, static_cast<double>(random() % 1000000));
            t.setText(r, 7, std::to_string(random() % 1000000));
            // Either side of the most values a leading key is ranked by hashing.
            t.setNumber(r, 8, (r * 7919) % 4096);
            t.setNumber(r, 9, (r * 7919) % 4097);
            t.setNumber(r, 10, static_cast<double>(random() % 100000) / 1000 - 20);
            t.setNumber(r, 11, static_cast<double>(random() % 5) * 1e11);
            // Hundredths whose span fills its bits exactly.
            t.setNumber(r, 12, static_cast<double>(random() % 4) / 100);
            // Hundredths either side of the most a 32-bit count holds, 2^31 - 1.
            t.setNumber(r, 13, static_cast<double>(2147483646 + random() % 4) / 100);
        }
        const std::vector<std::vector<SortKey>> keySets = {
            {{0, true}},
            {{1, true, true}},
            {{0, true}, {2, false}, {1, true}},
            {{2, false, true}, {1, true}},
            {{4, true}, {1, true}},
            {{4, false, true}, {2, false}, {1, true}},
            {{2, true}, {0, false}},
            {{0, true}, {2, false, true}, {1, true, true}},
            {{4, true}, {1, false}, {0, false}},
            {{5, true}, {6, true}, {7, true, true}, {1, true}},
            {{5, true}, {6, true}, {7, true, true}, {3, true}},
            {{8, true}, {1, true}},
            {{8, true, true}, {2, false}, {6, true}},
            {{9, true}, {1, true}},
            {{9, false, true}, {2, false}},
            {{4, true}, {10, true}},
            {{0, true}, {2, false}, {10, true, true}},
            {{0, true}, {11, true}, {1, true}},
            {{0, true}, {12, true}, {1, true}},
            {{0, true}, {12, true, true}, {2, false}},
            {{0, true}, {13, true}, {1, true}},
            {{0, true}, {13, true, true}, {1, true}}};
        const std::pair<int, int> ranges[] = {{0, rows - 1}, {rows / 4, rows - rows / 8}};
        for (const std::vector<SortKey>& keys : keySets)
            for (const auto& [first, last] : ranges) {
                std::vector<int> expected(static_cast<std::size_t>(last - first + 1));
                std::iota(expected.begin(), expected.end(), first);
                std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
                    for (const SortKey& key : keys) {
                        const Cell x = t.cell(a, key.column), y = t.cell(b, key.column);
                        int sign = 0;
                        if (key.numeric)
                            sign =
                                cellNumber(x) < cellNumber(y) ? -1 : cellNumber(y) < cellNumber(x);
                        else
                            sign = cellText(x).compare(cellText(y));
                        if (sign != 0) return key.descending ? sign > 0 : sign < 0;
                    }
                    return false;
                });
                Table sorted = t;
                std::vector<int> order = sorted.sortRows(first, last, keys);
                for (int& from : order) from += first;
                EXPECT_EQ(order, expected)
                    << rows << " rows from " << first << ", by column " << keys[0].column
                    << " then " << keys.size() - 1 << " more";
                for (int r = 0; r < rows; ++r) {
                    const bool sortedRow = r >= first && r <= last;
                    const int from = sortedRow ? expected[static_cast<std::size_t>(r - first)] : r;
                    ASSERT_EQ(sorted.cell(r, 3), Cell::number(from));
                }
            }
    }
}

// A table that moves sorted rows through a copy of its cells must end as one
// that moves them in place: every cell, long texts too, the rows outside the
// sorted range left where they stood; at a size copied on one thread and at
// one copied on two, split in the middle.
TEST(TableSort, MovingRowsThroughACopyEndsAsMovingThemInPlace) {
    for (const int rows : {5, 4000, 70001}) {
        Table t(rows, 3);
        for (int r = 0; r < rows; ++r) {
            t.setNumber(r, 0, (rows - r) * 37 % 101);
            t.setText(r, 1, "a text too long to sit inline, row " + std::to_string(r));
            t.setNumber(r, 2, r);
        }
        const SortKey keys[] = {{0, true}};
        const std::pair<int, int> ranges[] = {{0, rows - 1}, {1, rows - 2}};
        for (const auto& [first, last] : ranges) {
            Table inPlace = t;
            Table copied = t;
            copied.setRowMoving(Table::RowMoving::ThroughCopy);
            const std::vector<int> order = inPlace.sortRows(first, last, keys);
            ASSERT_FALSE(order.empty());
            EXPECT_EQ(copied.sortRows(first, last, keys), order);
            EXPECT_EQ(copied, inPlace) << rows << " rows from " << first << " to " << last;
        }
        // Rows already in order are left as they are, with no order given.
        Table ordered = t;
        ordered.setRowMoving(Table::RowMoving::ThroughCopy);
        const SortKey byRow[] = {{2, true}};
        EXPECT_TRUE(ordered.sortRows(byRow).empty());
        EXPECT_EQ(ordered, t);
    }
}

TEST(TableRowSets, DeleteAndInsertBackRestoreTheTable) {
    Table t(8, 2);
    for (int r = 0; r < 8; ++r) {
        t.setNumber(r, 0, r);
        t.setText(r, 1, r % 2 ? "a text too long to sit inline " + std::to_string(r) : "s");
    }
    const Table original = t;
    const std::vector<std::vector<int>> sets = {
        {}, {0}, {7}, {2, 4, 7}, {0, 1, 2}, {5, 6, 7}, {0, 1, 2, 3, 4, 5, 6, 7}};
    for (const std::vector<int>& rows : sets) {
        Table removed = t.copyRows(rows);
        ASSERT_EQ(removed.rowCount(), static_cast<int>(rows.size()));
        t.deleteRows(rows);
        ASSERT_EQ(t.rowCount(), 8 - static_cast<int>(rows.size()));
        // The rows left keep their order.
        int expected = 0;
        for (int r = 0; r < t.rowCount(); ++r, ++expected) {
            while (std::find(rows.begin(), rows.end(), expected) != rows.end()) ++expected;
            EXPECT_EQ(t.cell(r, 0), Cell::number(expected));
        }
        t.insertRows(rows, removed);
        EXPECT_EQ(t, original);
    }
}

TEST(TableRowSets, InsertIntoAnEmptyTableAndAtTheEnds) {
    Table rows = fromRows({{"first", ""}, {"", "second"}});
    Table t(0, 2);
    t.insertRows(std::vector<int>{0, 1}, rows);
    EXPECT_EQ(t, rows);
    t.insertRows(std::vector<int>{0, 3}, rows);
    EXPECT_EQ(column(t, 0), (Texts{"first", "first", "", ""}));
    EXPECT_EQ(column(t, 1), (Texts{"", "", "second", "second"}));
}

}  // namespace
}  // namespace fulgor
