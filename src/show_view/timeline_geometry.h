#pragma once
// Where the timeline draws: time runs left to right across the plot, position
// rows top to bottom. The same arithmetic places the marks, reads a click back
// into a mark, zooms, pans and spaces the clock labels.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "show_view/timeline_marks.h"

namespace fulgor {

// The plot's rectangle in pixels (or any unit the caller draws in).
struct PlotArea {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// What the timeline shows: seconds `start` to `end` across the plot and
// `rows` position rows down it.
struct TimelineView {
    double start = 0;
    double end = 1;
    int rows = 1;
    PlotArea plot;
};

// The seconds a view shows of a show from `first` to `last`: the span with a
// margin of 2% on either side; a show whose cues all fire at one moment (or a
// show of one cue) gets one second either side, so that it never divides by 0.
struct TimeRange {
    double start;
    double end;
};
TimeRange fittedRange(double first, double last);

// Time to x and back. A view whose end is not after its start is taken as the
// one second from its start, so both are defined for every view.
double timeToX(const TimelineView& view, double seconds);
double xToTime(const TimelineView& view, double x);

// The height of one position row (the plot's height shared by at least one
// row), the y of row `row`'s centre, and the row at y: nothing above or below
// the plot.
double rowHeight(const TimelineView& view);
double rowToY(const TimelineView& view, int row);
std::optional<int> yToRow(const TimelineView& view, double y);

// The mark drawn nearest to (x, y), on the position row under y and within
// `radius` of x; the index of the mark, or nothing. Linear in the marks.
std::optional<int> markAt(const TimelineMarks& marks, const TimelineView& view, double x, double y,
                          double radius);

// The view zoomed by `factor` (above 1 zooms in) about the time under x, and
// the view moved by dx pixels (positive moves the show to the right, to
// earlier times). A zoom stops at one hundredth of a second across the plot.
TimelineView zoomedView(const TimelineView& view, double x, double factor);
TimelineView pannedView(const TimelineView& view, double dx);

// The clock labels along the time axis: times that are whole multiples of a
// round step (1/100 s up to hours) at least `minSpacing` apart on screen,
// labelled as clock text ("0:01:05", or "0:01:05.50" for steps under a second).
struct AxisTick {
    double time;
    double x;
    std::string label;
};
std::vector<AxisTick> axisTicks(const TimelineView& view, double minSpacing);

// What a mark looks like, as one number: module, flag and hollow.
std::uint32_t markLook(const TimelineMark& mark);

// The marks worth drawing, in draw order (table order): a mark is left out
// when the mark drawn last on its pixel (column, and row of pixels: position
// rows thinner than a pixel share one) looks the same (module, flag, hollow),
// since drawing it would change nothing. Marks outside the plot's time span
// are left out. Linear in the marks, with memory for one look per pixel of the
// plot, so a million cues on a million positions draw as at most one mark per
// pixel and look.
std::vector<int> marksToDraw(const TimelineMarks& marks, const TimelineView& view);

}  // namespace fulgor
