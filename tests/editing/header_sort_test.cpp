#include "editing/header_sort.h"

#include <gtest/gtest.h>

#include <string>

#include "core/script_columns.h"

namespace fulgor {
namespace {

std::string column(const Table& t, int c) {
    std::string out;
    for (int r = 0; r < t.rowCount(); ++r)
        out += cellText(t.cell(r, c)) + (r + 1 < t.rowCount() ? "," : "");
    return out;
}

TEST(HeaderSort, KeyTablesBreakTiesWithTheirFixedColumns) {
    auto describe = [](ScriptGrid grid, int c) {
        std::string out;
        for (const SortKey& k : headerSortKeys(grid, c))
            out += std::to_string(k.column) + (k.numeric ? "n " : "t ");
        return out;
    };
    EXPECT_EQ(describe(ScriptGrid::Talsen, talsen::Type), "1t 2n 6n 3n ");
    EXPECT_EQ(describe(ScriptGrid::Talsen, talsen::Size), "2n 1t 7n 8n ");
    EXPECT_EQ(describe(ScriptGrid::Talsen, talsen::Notes), "10t 3n 1t 2n ");
    EXPECT_EQ(describe(ScriptGrid::Talsen, talsen::Prefire), "");
    EXPECT_EQ(describe(ScriptGrid::Talsen, talsen::Qty), "");
    EXPECT_EQ(describe(ScriptGrid::Kavrin, kavrin::Shot), "1n 3n 4n 5n ");
    EXPECT_EQ(describe(ScriptGrid::Kavrin, kavrin::Clock), "6t 4n 5n ");
    EXPECT_EQ(describe(ScriptGrid::Kavrin, kavrin::Qty), "10n 9n 11t ");
    EXPECT_EQ(describe(ScriptGrid::Kavrin, kavrin::Err), "8n ");
}

TEST(HeaderSort, TalsenSortKeepsLineAndSkipsPrefire) {
    Table t(3, talsen::ColumnCount);
    const char* times[] = {"9", "1.5", "3"};
    for (int r = 0; r < 3; ++r) {
        t.setText(r, talsen::Line, std::to_string(r + 1));
        t.setText(r, talsen::Time, times[r]);
        t.setText(r, talsen::Prefire, times[2 - r]);
    }
    sortByHeader(ScriptGrid::Talsen, t, talsen::Time);
    EXPECT_EQ(column(t, talsen::Line), "2,3,1");
    sortByHeader(ScriptGrid::Talsen, t, talsen::Prefire);
    EXPECT_EQ(column(t, talsen::Line), "2,3,1");
}

TEST(HeaderSort, KavrinSortRenumbersLine) {
    Table t(3, kavrin::ColumnCount);
    const char* mods[] = {"03", "01", "02"};
    for (int r = 0; r < 3; ++r) {
        t.setText(r, kavrin::Line, "9");
        t.setText(r, kavrin::Mod, mods[r]);
        t.setText(r, kavrin::TsRef, std::to_string(r + 1));
    }
    sortByHeader(ScriptGrid::Kavrin, t, kavrin::Mod);
    EXPECT_EQ(column(t, kavrin::TsRef), "2,3,1");
    EXPECT_EQ(column(t, kavrin::Line), "1,2,3");
    EXPECT_TRUE(t.cell(0, kavrin::Line).isNumber());
    // A click on a column whose values are all equal still renumbers Line.
    t.setText(1, kavrin::Line, "x");
    sortByHeader(ScriptGrid::Kavrin, t, kavrin::Notes);
    EXPECT_EQ(column(t, kavrin::Line), "1,2,3");
}

TEST(HeaderSort, UndoPutsBackOrderAndLinesAndRedoSortsAgain) {
    Table t(4, kavrin::ColumnCount);
    const char* mods[] = {"03", "01", "02", "01"};
    const char* lines[] = {"7", "a long hand-typed line text", "", "2"};
    for (int r = 0; r < 4; ++r) {
        t.setText(r, kavrin::Line, lines[r]);
        t.setText(r, kavrin::Mod, mods[r]);
        t.setNumber(r, kavrin::Pin, 4 - r);
    }
    const Table original = t;
    HeaderSort sort = sortByHeader(ScriptGrid::Kavrin, t, kavrin::Mod);
    ASSERT_TRUE(sort.changedAnything);
    const Table sorted = t;
    EXPECT_EQ(column(t, kavrin::Pin), "1,3,2,4");
    undoHeaderSort(t, sort);
    EXPECT_EQ(t, original);
    redoHeaderSort(t, sort);
    EXPECT_EQ(t, sorted);
    // Line numbered 1..n already is not kept: undo numbers the old order again.
    HeaderSort byPin = sortByHeader(ScriptGrid::Kavrin, t, kavrin::Pin);
    ASSERT_TRUE(byPin.changedAnything);
    EXPECT_EQ(byPin.linesBefore.form, KeptLines::Form::Numbers);
    undoHeaderSort(t, byPin);
    EXPECT_EQ(t, sorted);

    // Sorted already, with Line 1..n: nothing to undo.
    EXPECT_FALSE(sortByHeader(ScriptGrid::Kavrin, t, kavrin::Mod).changedAnything);
    // Rows in order but one Line off: the renumbering alone is a change, and undoable.
    t.setText(2, kavrin::Line, "x");
    const Table lineOff = t;
    sort = sortByHeader(ScriptGrid::Kavrin, t, kavrin::Mod);
    EXPECT_TRUE(sort.changedAnything);
    EXPECT_TRUE(sort.order.empty());
    undoHeaderSort(t, sort);
    EXPECT_EQ(t, lineOff);

    // Lines as a script just read holds them, texts "1".."n": not copied, and
    // put back as texts. "03" is not "3", so that column is copied.
    Table read(4, kavrin::ColumnCount);
    for (int r = 0; r < 4; ++r) {
        read.setText(r, kavrin::Line, std::to_string(r + 1));
        read.setText(r, kavrin::Mod, mods[r]);
    }
    const Table asRead = read;
    sort = sortByHeader(ScriptGrid::Kavrin, read, kavrin::Mod);
    EXPECT_EQ(sort.linesBefore.form, KeptLines::Form::Texts);
    EXPECT_TRUE(read.cell(0, kavrin::Line).isNumber());
    undoHeaderSort(read, sort);
    EXPECT_EQ(read, asRead);
    read.setText(2, kavrin::Line, "03");
    const Table paddedLine = read;
    sort = sortByHeader(ScriptGrid::Kavrin, read, kavrin::Mod);
    EXPECT_EQ(sort.linesBefore.form, KeptLines::Form::Copied);
    EXPECT_EQ(sort.linesBefore.copy.rowCount(), 4);
    undoHeaderSort(read, sort);
    EXPECT_EQ(read, paddedLine);

    Table talsenTable(2, talsen::ColumnCount);
    talsenTable.setText(0, talsen::Line, "5");
    talsenTable.setText(1, talsen::Line, "9");
    EXPECT_FALSE(sortByHeader(ScriptGrid::Talsen, talsenTable, talsen::Line).changedAnything);
    EXPECT_EQ(column(talsenTable, talsen::Line), "5,9");
}

}  // namespace
}  // namespace fulgor
