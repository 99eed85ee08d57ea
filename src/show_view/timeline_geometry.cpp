#include "show_view/timeline_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "addressing/time_text.h"
#include "core/rounding.h"

namespace fulgor {
namespace {

constexpr double kMinimumSpan = 0.01;  // one hundredth of a second across the plot

double span(const TimelineView& view) {
    double seconds = view.end - view.start;
    return seconds > 0 ? seconds : 1.0;
}

// Round steps in hundredths of a second: 1-2-5 below a minute, then the
// clock's own steps up to hours.
constexpr std::int64_t kSteps[] = {
    1,    2,     5,     10,    20,    50,     100,    200,    500,     1000,    1500,    3000,
    6000, 12000, 30000, 60000, 90000, 180000, 360000, 720000, 1440000, 2160000, 4320000, 8640000};

}  // namespace

TimeRange fittedRange(double first, double last) {
    if (!(last > first)) return {first - 1.0, first + 1.0};
    double margin = (last - first) * 0.02;
    return {first - margin, last + margin};
}

double timeToX(const TimelineView& view, double seconds) {
    return view.plot.left + (seconds - view.start) / span(view) * view.plot.width;
}

double xToTime(const TimelineView& view, double x) {
    if (view.plot.width <= 0) return view.start;
    return view.start + (x - view.plot.left) / view.plot.width * span(view);
}

double rowHeight(const TimelineView& view) {
    return view.plot.height / std::max(view.rows, 1);
}

double rowToY(const TimelineView& view, int row) {
    return view.plot.top + (row + 0.5) * rowHeight(view);
}

std::optional<int> yToRow(const TimelineView& view, double y) {
    if (y < view.plot.top || y >= view.plot.top + view.plot.height) return std::nullopt;
    int row = static_cast<int>((y - view.plot.top) / rowHeight(view));
    return std::clamp(row, 0, std::max(view.rows, 1) - 1);
}

std::optional<int> markAt(const TimelineMarks& marks, const TimelineView& view, double x, double y,
                          double radius) {
    std::optional<int> row = yToRow(view, y);
    if (!row) return std::nullopt;
    std::optional<int> nearest;
    double nearestDistance = radius;
    for (std::size_t i = 0; i < marks.marks.size(); ++i) {
        const TimelineMark& mark = marks.marks[i];
        if (mark.positionRow != *row) continue;
        double distance = std::abs(timeToX(view, mark.time) - x);
        // A later mark lies on top of an earlier one, so it wins a tie.
        if (distance <= nearestDistance) {
            nearestDistance = distance;
            nearest = static_cast<int>(i);
        }
    }
    return nearest;
}

TimelineView zoomedView(const TimelineView& view, double x, double factor) {
    if (!(factor > 0)) return view;
    const double anchor = xToTime(view, x);
    const double newSpan = std::max(span(view) / factor, kMinimumSpan);
    const double share = view.plot.width > 0 ? (x - view.plot.left) / view.plot.width : 0.5;
    TimelineView zoomed = view;
    zoomed.start = anchor - share * newSpan;
    zoomed.end = zoomed.start + newSpan;
    return zoomed;
}

TimelineView pannedView(const TimelineView& view, double dx) {
    if (view.plot.width <= 0) return view;
    const double seconds = dx / view.plot.width * span(view);
    TimelineView panned = view;
    panned.start = view.start - seconds;
    panned.end = panned.start + span(view);
    return panned;
}

std::vector<AxisTick> axisTicks(const TimelineView& view, double minSpacing) {
    std::vector<AxisTick> ticks;
    if (view.plot.width <= 0) return ticks;
    const double pixelsPerHundredth = view.plot.width / (span(view) * 100.0);
    std::int64_t step = kSteps[std::size(kSteps) - 1];
    for (std::int64_t candidate : kSteps) {
        if (candidate * pixelsPerHundredth >= minSpacing) {
            step = candidate;
            break;
        }
    }
    // Labels exist only within the clock's 32-bit hundredths; clamping to them
    // first keeps the loop short for any span, even one of 1e300 seconds.
    constexpr double kClockFirst = std::numeric_limits<std::int32_t>::min();
    constexpr double kClockLast = std::numeric_limits<std::int32_t>::max();
    // A hair of tolerance, so that 59.9 s (5990.000000000001 hundredths) starts at 59.9.
    const double startHundredths =
        std::ceil(std::clamp(view.start * 100.0, kClockFirst, kClockLast) / step - 1e-9) * step;
    const double endHundredths =
        std::clamp((view.start + span(view)) * 100.0, kClockFirst, kClockLast);
    // A step too small for the span (days across a few pixels) must not flood the axis.
    const std::size_t most =
        static_cast<std::size_t>(view.plot.width / std::max(minSpacing, 1.0)) + 2;
    for (double t = startHundredths; t <= endHundredths && ticks.size() < most; t += step) {
        std::optional<std::int32_t> whole = roundToInt32(t);
        if (!whole) continue;
        std::string label = FormatHundredths(*whole);
        if (step % 100 == 0) label.resize(label.size() - 3);  // whole seconds: no ".00"
        ticks.push_back({*whole / 100.0, timeToX(view, *whole / 100.0), std::move(label)});
    }
    return ticks;
}

std::uint32_t markLook(const TimelineMark& mark) {
    return (static_cast<std::uint32_t>(mark.module + 2) << 2) | (mark.flagged ? 2u : 0u) |
           (mark.addressed ? 1u : 0u);
}

std::vector<int> marksToDraw(const TimelineMarks& marks, const TimelineView& view) {
    std::vector<int> drawn;
    const auto columns = static_cast<std::size_t>(std::max(0.0, std::ceil(view.plot.width))) + 1;
    const auto pixelRows = static_cast<std::size_t>(std::max(0.0, std::ceil(view.plot.height))) + 1;
    const int rows = std::max(view.rows, 1);
    // The look last drawn on each pixel of the plot; 0 for none yet.
    std::vector<std::uint32_t> lastLook(columns * pixelRows, 0);
    const double left = view.plot.left, right = view.plot.left + view.plot.width;
    for (std::size_t i = 0; i < marks.marks.size(); ++i) {
        const TimelineMark& mark = marks.marks[i];
        const double x = timeToX(view, mark.time);
        if (!(x >= left && x <= right) || mark.positionRow < 0 || mark.positionRow >= rows)
            continue;
        const auto pixelRow =
            std::min(pixelRows - 1,
                     static_cast<std::size_t>(rowToY(view, mark.positionRow) - view.plot.top));
        std::uint32_t& pixel = lastLook[pixelRow * columns + static_cast<std::size_t>(x - left)];
        const std::uint32_t look = markLook(mark);
        if (pixel == look) continue;
        pixel = look;
        drawn.push_back(static_cast<int>(i));
    }
    return drawn;
}

}  // namespace fulgor
