#include "editing/header_sort.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// Kavrin rows with the given Mod and Line texts, Pin counting down to 1.
Table kavrinRows(std::vector<const char*> mods, std::vector<const char*> lines) {
    Table t(static_cast<int>(mods.size()), kavrin::ColumnCount);
    for (int r = 0; r < t.rowCount(); ++r) {
        t.setText(r, kavrin::Mod, mods[static_cast<std::size_t>(r)]);
        t.setText(r, kavrin::Line, lines[static_cast<std::size_t>(r)]);
        t.setNumber(r, kavrin::Pin, t.rowCount() - r);
    }
    return t;
}

TEST(HeaderSort, KavrinSortRenumbersLineAndUndoPutsBackOrderAndLines) {
    const std::vector<const char*> mods = {"03", "01", "02", "01"};
    Table t = kavrinRows(mods, {"7", "a long hand-typed line text", "", "2"});
    const Table original = t;
    HeaderSort sort = sortByHeader(ScriptGrid::Kavrin, t, kavrin::Mod);
    ASSERT_TRUE(sort.changedAnything);
    const Table sorted = t;
    EXPECT_EQ(column(t, kavrin::Pin), "1,3,2,4");
    EXPECT_EQ(column(t, kavrin::Line), "1,2,3,4");
    EXPECT_TRUE(t.cell(0, kavrin::Line).isNumber());
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
    // A column whose values are all equal moves no row, yet one Line off is
    // renumbered, and that alone is a change, and undoable.
    t.setText(2, kavrin::Line, "x");
    const Table lineOff = t;
    sort = sortByHeader(ScriptGrid::Kavrin, t, kavrin::Notes);
    EXPECT_TRUE(sort.changedAnything);
    EXPECT_TRUE(sort.order.empty());
    EXPECT_EQ(column(t, kavrin::Line), "1,2,3,4");
    undoHeaderSort(t, sort);
    EXPECT_EQ(t, lineOff);

    // Lines as a script just read holds them, texts "1".."n": not copied, and
    // put back as texts. "03" is not "3", so that column is copied.
    Table read = kavrinRows(mods, {"1", "2", "3", "4"});
    const Table asRead = read;
    sort = sortByHeader(ScriptGrid::Kavrin, read, kavrin::Mod);
    EXPECT_EQ(sort.linesBefore.form, KeptLines::Form::Texts);
    undoHeaderSort(read, sort);
    EXPECT_EQ(read, asRead);
    read.setText(2, kavrin::Line, "03");
    const Table paddedLine = read;
    sort = sortByHeader(ScriptGrid::Kavrin, read, kavrin::Mod);
    EXPECT_EQ(sort.linesBefore.form, KeptLines::Form::Copied);
    EXPECT_EQ(sort.linesBefore.copy.rowCount(), 4);
    undoHeaderSort(read, sort);
    EXPECT_EQ(read, paddedLine);

    // A Talsen sort keeps Line as it is, and in order already changes nothing.
    Table talsenTable(2, talsen::ColumnCount);
    talsenTable.setText(0, talsen::Line, "5");
    talsenTable.setText(1, talsen::Line, "9");
    EXPECT_FALSE(sortByHeader(ScriptGrid::Talsen, talsenTable, talsen::Line).changedAnything);
    EXPECT_EQ(column(talsenTable, talsen::Line), "5,9");
}

}  // namespace
}  // namespace fulgor
