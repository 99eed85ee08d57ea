#include <gtest/gtest.h>

#include "addressing/kavrin_rows.h"
#include "core/script_columns.h"
#include "show_view/timeline_geometry.h"
#include "show_view/timeline_marks.h"

namespace fulgor {
namespace {

using test::kavrinTable;

TimelineView viewOf(double start, double end, int rows) {
    return {start, end, rows, {100, 10, 1000, 400}};
}

TEST(TimelineMarks, RowsModulesAndLooksFromAKavrinTable) {
    Table t = kavrinTable({
        {.time = "30", .mod = "02", .pin = "1", .pos = "12"},
        {.time = "10", .mod = "1", .pin = "", .pos = "3"},
        {.time = "20", .mod = "", .pin = "", .pos = ""},
        {.time = "abc", .mod = "1", .pin = "1", .pos = "3"},
        {.time = "25", .mod = "01", .pin = "2", .pos = "3", .err = "1"},
        {.time = "", .mod = "", .pin = "", .shot = "", .pos = ""},
    });
    t.setText(5, kavrin::Notes, "");
    TimelineMarks marks = timelineMarks(t, ScriptGrid::Kavrin);
    EXPECT_EQ(marks.positions, (std::vector<std::string>{"3", "12", "no Pos"}));
    EXPECT_EQ(marks.positionCount(), 2);
    EXPECT_EQ(marks.modules, (std::vector<std::string>{"1", "02"}));
    EXPECT_EQ(marks.untimed, 1);  // "abc"; the blank last row is no cue
    EXPECT_EQ(marks.markOfRow, (std::vector<int>{0, 1, 2, -1, 3, -1}));
    EXPECT_EQ(marks.firstTime, 10);
    EXPECT_EQ(marks.lastTime, 30);
    ASSERT_EQ(marks.marks.size(), 4u);
    struct Expected {
        double time;
        int row, positionRow, module;
        bool addressed, flagged;
    } expected[] = {{30, 0, 1, 1, true, false},
                    {10, 1, 0, 0, false, false},
                    {20, 2, 2, -1, false, false},
                    {25, 4, 0, 0, true, true}};
    for (std::size_t i = 0; i < marks.marks.size(); ++i) {
        const TimelineMark& m = marks.marks[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(m.time, expected[i].time);
        EXPECT_EQ(m.row, expected[i].row);
        EXPECT_EQ(m.positionRow, expected[i].positionRow);
        EXPECT_EQ(m.module, expected[i].module);
        EXPECT_EQ(m.addressed, expected[i].addressed);
        EXPECT_EQ(m.flagged, expected[i].flagged);
    }
}

TEST(TimelineMarks, TalsenHasNoFlagsAndAllPositionsMissingIsOneRow) {
    Table t(2, talsen::ColumnCount);
    t.setNumber(0, talsen::Time, 5);
    t.setNumber(1, talsen::Time, 5);
    t.setText(1, talsen::Notes, "7");  // the Talsen Notes column sits where Kavrin keeps Err
    TimelineMarks marks = timelineMarks(t, ScriptGrid::Talsen);
    EXPECT_EQ(marks.positions, (std::vector<std::string>{"no Pos"}));
    EXPECT_EQ(marks.positionCount(), 0);
    ASSERT_EQ(marks.marks.size(), 2u);
    EXPECT_FALSE(marks.marks[1].flagged);
    EXPECT_EQ(marks.marks[1].positionRow, 0);
}

TEST(TimelineGeometry, FittedRangeNeverHasZeroLength) {
    // A single moment, a span, and no marks at all.
    const double cases[][4] = {{42, 42, 41, 43}, {0, 100, -2, 102}, {0, 0, -1, 1}};
    for (auto [first, last, start, end] : cases) {
        TimeRange range = fittedRange(first, last);
        EXPECT_DOUBLE_EQ(range.start, start) << first << " " << last;
        EXPECT_DOUBLE_EQ(range.end, end) << first << " " << last;
    }
}

TEST(TimelineGeometry, TimeAndRowToPixelsAndBack) {
    TimelineView view = viewOf(10, 20, 4);
    EXPECT_DOUBLE_EQ(timeToX(view, 10), 100);
    EXPECT_DOUBLE_EQ(timeToX(view, 20), 1100);
    EXPECT_DOUBLE_EQ(timeToX(view, 15), 600);
    EXPECT_DOUBLE_EQ(xToTime(view, 600), 15);
    EXPECT_DOUBLE_EQ(xToTime(view, timeToX(view, 12.34)), 12.34);
    EXPECT_DOUBLE_EQ(rowHeight(view), 100);
    EXPECT_DOUBLE_EQ(rowToY(view, 0), 60);
    EXPECT_DOUBLE_EQ(rowToY(view, 3), 360);
    // Rows: the top edge belongs to row 0, the bottom edge to no row.
    EXPECT_EQ(yToRow(view, 9.99), std::nullopt);
    EXPECT_EQ(yToRow(view, 10), 0);
    EXPECT_EQ(yToRow(view, 109.99), 0);
    EXPECT_EQ(yToRow(view, 110), 1);
    EXPECT_EQ(yToRow(view, 409.99), 3);
    EXPECT_EQ(yToRow(view, 410), std::nullopt);

    // A zero-length view is read as one second; no division by zero.
    TimelineView flat = viewOf(5, 5, 1);
    EXPECT_DOUBLE_EQ(timeToX(flat, 5.5), 600);
    EXPECT_DOUBLE_EQ(xToTime(flat, 600), 5.5);
    EXPECT_DOUBLE_EQ(rowHeight(viewOf(0, 1, 0)), 400);
}

TEST(TimelineGeometry, ClickFindsTheNearestMarkOnItsRow) {
    Table t = kavrinTable({{.time = "10", .pos = "1"},
                           {.time = "10.1", .pos = "1"},
                           {.time = "10", .pos = "2"},
                           {.time = "15", .pos = "1"},
                           {.time = "15", .pos = "1"}});
    TimelineMarks marks = timelineMarks(t, ScriptGrid::Kavrin);
    TimelineView view = viewOf(10, 20, 2);  // 100 px a second, rows 200 px high
    const double row0 = rowToY(view, 0), row1 = rowToY(view, 1);
    EXPECT_EQ(markAt(marks, view, 100, row0, 6), 0);
    EXPECT_EQ(markAt(marks, view, 106, row0, 6), 1);  // 6 px from 0, 4 px from 1
    EXPECT_EQ(markAt(marks, view, 100, row1, 6), 2);  // the other row
    EXPECT_EQ(markAt(marks, view, 606, row0, 6), 4);  // at the limit; the later mark lies on top
    EXPECT_EQ(markAt(marks, view, 606.01, row0, 6), std::nullopt);
    EXPECT_EQ(markAt(marks, view, 100, 5, 6), std::nullopt);  // above the plot
    EXPECT_EQ(markAt(TimelineMarks{}, view, 100, row0, 6), std::nullopt);
}

TEST(TimelineGeometry, ZoomKeepsTheTimeUnderThePointerAndPanMovesByPixels) {
    TimelineView view = viewOf(0, 100, 1);
    TimelineView zoomed = zoomedView(view, 350, 2);  // 25 s under x = 350
    EXPECT_DOUBLE_EQ(zoomed.end - zoomed.start, 50);
    EXPECT_DOUBLE_EQ(xToTime(zoomed, 350), 25);
    TimelineView out = zoomedView(zoomed, 350, 0.5);
    EXPECT_DOUBLE_EQ(out.start, 0);
    EXPECT_DOUBLE_EQ(out.end, 100);
    TimelineView deepest = zoomedView(view, 600, 1e9);
    EXPECT_NEAR(deepest.end - deepest.start, 0.01, 1e-9);
    EXPECT_EQ(zoomedView(view, 600, 0).start, 0);  // a factor of 0 changes nothing

    TimelineView panned = pannedView(view, 100);  // 100 px = 10 s, to earlier times
    EXPECT_DOUBLE_EQ(panned.start, -10);
    EXPECT_DOUBLE_EQ(panned.end, 90);
}

TEST(TimelineGeometry, ClockLabelsAtRoundSteps) {
    auto labels = [](const TimelineView& view, double spacing) {
        std::vector<std::string> texts;
        for (const AxisTick& tick : axisTicks(view, spacing)) texts.push_back(tick.label);
        return texts;
    };
    // 100 s over 1000 px, 90 px apart at least: a tick every 10 s.
    EXPECT_EQ(
        labels(viewOf(0, 100, 1), 90),
        (std::vector<std::string>{"0:00:00", "0:00:10", "0:00:20", "0:00:30", "0:00:40", "0:00:50",
                                  "0:01:00", "0:01:10", "0:01:20", "0:01:30", "0:01:40"}));
    // 100 px for 10 s is just enough for 10 s steps.
    EXPECT_EQ(labels(viewOf(0, 100, 1), 100).size(), 11u);
    EXPECT_EQ(labels(viewOf(0, 100, 1), 100.01)[1], "0:00:15");
    // Under a second the hundredths show.
    EXPECT_EQ(labels(viewOf(59.9, 60.4, 1), 150),
              (std::vector<std::string>{"0:00:59.90", "0:01:00.00", "0:01:00.10", "0:01:00.20",
                                        "0:01:00.30", "0:01:00.40"}));
    // Before the start of the show.
    EXPECT_EQ(labels(viewOf(-20, 10, 1), 300),
              (std::vector<std::string>{"-0:00:20", "-0:00:10", "0:00:00", "0:00:10"}));
    std::vector<AxisTick> ticks = axisTicks(viewOf(0, 100, 1), 90);
    EXPECT_DOUBLE_EQ(ticks[1].x, 200);
    // A span of years over a few pixels stays a handful of labels.
    EXPECT_LE(axisTicks({0, 1e9, 1, {0, 0, 300, 100}}, 90).size(), 5u);
    // Times at the ends of what a double holds: no endless loop, labels only on the clock.
    std::vector<AxisTick> widest = axisTicks({-1e308, 1e308, 1, {0, 0, 300, 100}}, 90);
    EXPECT_LE(widest.size(), 5u);
    EXPECT_TRUE(axisTicks({1e300, 1e300, 1, {0, 0, 300, 100}}, 90).empty());
}

TEST(TimelineGeometry, MarksOnOnePixelWithOneLookDrawOnce) {
    Table t = kavrinTable({
        {.time = "10", .mod = "1", .pos = "1"},
        {.time = "10.001", .mod = "1", .pos = "1"},          // same pixel, same look: covered
        {.time = "10", .mod = "2", .pos = "1"},              // another module
        {.time = "10", .mod = "1", .pos = "1"},              // back to module 1: drawn on top again
        {.time = "10", .mod = "1", .pos = "2"},              // another row
        {.time = "10", .mod = "1", .pos = "1", .err = "3"},  // flagged
        {.time = "10", .mod = "1", .pin = "", .pos = "1"},   // hollow
        {.time = "10.01", .mod = "1", .pos = "1"},           // the next pixel
        {.time = "9.99", .mod = "1", .pos = "1"},            // before the view
        {.time = "20.01", .mod = "1", .pos = "1"},           // after it
        {.time = "20", .mod = "1", .pos = "1"},              // on its right edge
    });
    TimelineMarks marks = timelineMarks(t, ScriptGrid::Kavrin);
    EXPECT_EQ(marksToDraw(marks, viewOf(10, 20, 2)), (std::vector<int>{0, 2, 3, 4, 5, 6, 7, 10}));

    // A hundred thousand cues at one moment draw as one mark; on as many
    // positions, as one mark per row of pixels.
    Table crowd(100000, kavrin::ColumnCount);
    for (int r = 0; r < crowd.rowCount(); ++r) crowd.setNumber(r, kavrin::Time, 3);
    TimelineMarks many = timelineMarks(crowd, ScriptGrid::Kavrin);
    EXPECT_EQ(marksToDraw(many, viewOf(2, 4, 1)), (std::vector<int>{0}));
    for (int r = 0; r < crowd.rowCount(); ++r) crowd.setNumber(r, kavrin::Pos, r);
    TimelineMarks spread = timelineMarks(crowd, ScriptGrid::Kavrin);
    std::vector<int> drawn = marksToDraw(spread, viewOf(2, 4, 100000));
    EXPECT_EQ(drawn.size(), 400u);  // the plot is 400 pixels high
    EXPECT_EQ(drawn[1], 250);       // the first mark of the second pixel row
}

}  // namespace
}  // namespace fulgor
