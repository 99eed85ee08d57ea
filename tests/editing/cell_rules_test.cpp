#include "editing/cell_rules.h"

#include <gtest/gtest.h>

#include "core/script_columns.h"
#include "editing/row_highlight.h"

namespace fulgor {
namespace {

struct Typed {
    ScriptGrid grid;
    int column;
    const char* text;
    bool refused;
    std::optional<double> number;
};

TEST(CheckTypedCell, TestedColumnsRoundOrRefuse) {
    const Typed cases[] = {
        {ScriptGrid::Talsen, talsen::Time, "12.3456", false, 12.35},
        {ScriptGrid::Talsen, talsen::Prefire, " -1.5 ", false, -1.5},
        {ScriptGrid::Talsen, talsen::Cost, "1e2", false, 100},
        {ScriptGrid::Talsen, talsen::Time, "abc", true, std::nullopt},
        {ScriptGrid::Talsen, talsen::Time, "12s", true, std::nullopt},
        {ScriptGrid::Talsen, talsen::Cost, "1e400", true, std::nullopt},
        {ScriptGrid::Talsen, talsen::Time, "&H10", true, std::nullopt},
        {ScriptGrid::Kavrin, kavrin::Time, "12.36", false, 12.4},
        // Columns stored as typed.
        {ScriptGrid::Talsen, talsen::Qty, "", false, std::nullopt},
        {ScriptGrid::Kavrin, kavrin::Pos, "12.345", false, std::nullopt},
        {ScriptGrid::Kavrin, kavrin::Notes, "", false, std::nullopt},
    };
    for (const Typed& c : cases) {
        TypedCell result = checkTypedCell(c.grid, c.column, c.text);
        EXPECT_EQ(result.refused, c.refused) << c.text;
        EXPECT_EQ(result.number, c.number) << c.text;
    }
}

TEST(KavrinClock, FollowsTheTime) {
    EXPECT_EQ(kavrinClockText(Cell::text("3723.456")), "1:02:03.46");
    EXPECT_EQ(kavrinClockText(Cell::number(0.125)), "0:00:00.12");  // 12.5 hundredths, tie to even
    EXPECT_EQ(kavrinClockText(Cell::text("")), "");
    EXPECT_EQ(kavrinClockText(Cell::text("soon")), "");
    EXPECT_EQ(kavrinClockText(Cell::number(1e12)), "");  // beyond what the clock counts
}

TEST(TypedCellPatch, StoresTheCheckedCellAndTheKavrinClockFollows) {
    Table t(1, kavrin::ColumnCount);
    t.setText(0, kavrin::Clock, "stale");
    t.setNumber(0, kavrin::Time, 61);
    std::optional<CellPatch> typed =
        typedCellPatch(ScriptGrid::Kavrin, t, 0, kavrin::Time, "75.46");
    ASSERT_TRUE(typed);
    typed->swapWith(t);
    EXPECT_EQ(t.cell(0, kavrin::Time), Cell::number(75.5));
    EXPECT_EQ(t.cell(0, kavrin::Clock).text(), "0:01:15.50");
    typed->swapWith(t);  // a second swap undoes the first, the clock as it was
    EXPECT_EQ(t.cell(0, kavrin::Time), Cell::number(61));
    EXPECT_EQ(t.cell(0, kavrin::Clock).text(), "stale");

    // Text typed into the clock itself gives way to the Time's clock text.
    typed = typedCellPatch(ScriptGrid::Kavrin, t, 0, kavrin::Clock, "9:99");
    ASSERT_TRUE(typed);
    typed->swapWith(t);
    EXPECT_EQ(t.cell(0, kavrin::Clock).text(), "0:01:01.00");
    EXPECT_EQ(typed->size(), 1u);

    t.setText(0, kavrin::Time, "soon");
    typed = typedCellPatch(ScriptGrid::Kavrin, t, 0, kavrin::Notes, "gold");
    ASSERT_TRUE(typed);
    typed->swapWith(t);
    EXPECT_EQ(t.cell(0, kavrin::Notes).text(), "gold");
    EXPECT_TRUE(t.cell(0, kavrin::Clock).isEmpty());

    EXPECT_FALSE(typedCellPatch(ScriptGrid::Kavrin, t, 0, kavrin::Time, "abc"));
    Table talsenRow(1, talsen::ColumnCount);
    typed = typedCellPatch(ScriptGrid::Talsen, talsenRow, 0, talsen::Notes, "a long note text");
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->size(), 1u);  // a Talsen row has no clock
}

// Talsen rows without a whole address are yellow; Kavrin rows only once marked in Err.
TEST(RowHighlight, TalsenByAddressKavrinByMarkAddressAndTime) {
    struct Row {
        ScriptGrid grid;
        const char *err, *mod, *pin, *time;
        Highlight expected;
    };
    const auto T = ScriptGrid::Talsen, K = ScriptGrid::Kavrin;
    const Row rows[] = {
        {T, "", "01", "01", "", Highlight::None},   {T, "", "01", "", "", Highlight::Yellow},
        {T, "", "", "", "", Highlight::Yellow},     {K, "", "", "", "", Highlight::None},
        {K, "1", "01", "", "", Highlight::Yellow},  {K, "1", "", "03", "5", Highlight::Yellow},
        {K, "1", "01", "03", "", Highlight::Red},   {K, "1", "01", "03", "-1", Highlight::Red},
        {K, "1", "01", "03", "0", Highlight::Cyan}, {K, "1", "01", "03", "x", Highlight::Cyan},
    };
    for (const Row& r : rows) {
        const bool isTalsen = r.grid == T;
        Table t(1, isTalsen ? int{talsen::ColumnCount} : int{kavrin::ColumnCount});
        t.setText(0, isTalsen ? int{talsen::Mod} : int{kavrin::Mod}, r.mod);
        t.setText(0, isTalsen ? int{talsen::Pin} : int{kavrin::Pin}, r.pin);
        if (!isTalsen) {
            t.setText(0, kavrin::Err, r.err);
            t.setText(0, kavrin::Time, r.time);
        }
        EXPECT_EQ(rowHighlight(r.grid, t, 0), r.expected)
            << isTalsen << ' ' << r.err << '|' << r.mod << '|' << r.pin << '|' << r.time;
    }
}

}  // namespace
}  // namespace fulgor
