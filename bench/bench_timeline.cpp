// The timeline and the address usage of a million-cue show: building the
// marks, counting the addresses, and painting the picture into a 1920x1080
// image (goal: under a second).

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <random>

#include "bench_support.h"
#include "core/script_columns.h"
#include "platform/timeline_painter.h"
#include "show_view/address_usage.h"
#include "show_view/timeline_marks.h"

using namespace fulgor;

int main(int argc, char** argv) {
    const int cues = argc > 1 ? std::atoi(argv[1]) : 1000000;
    int qtArgc = 3;
    char name[] = "bench_timeline", platformOption[] = "-platform", platform[] = "offscreen";
    char* qtArgv[] = {name, platformOption, platform, nullptr};
    QGuiApplication application(qtArgc, qtArgv);

    // A Kavrin show: rising times, positions 1..99, twelve modules of 45 pins,
    // one cue in a hundred flagged, one in fifty without an address.
    std::mt19937 random(15);
    Table table(cues, kavrin::ColumnCount);
    double time = 5;
    for (int row = 0; row < cues; ++row) {
        time += (random() % 4) * 0.25;
        table.setNumber(row, kavrin::Line, row + 1);
        table.setNumber(row, kavrin::Time, time);
        table.setNumber(row, kavrin::Pos, 1 + random() % 99);
        if (random() % 50 != 0) {
            table.setNumber(row, kavrin::Mod, 1 + (row / 45) % 12);
            table.setNumber(row, kavrin::Pin, 1 + row % 45);
        }
        if (random() % 100 == 0) table.setNumber(row, kavrin::Err, 1);
    }

    bench::Stopwatch marksClock;
    TimelineMarks marks = timelineMarks(table, ScriptGrid::Kavrin);
    const double marksSeconds = marksClock.seconds();

    bench::Stopwatch usageClock;
    AddressUsage usage = addressUsage(table, ScriptGrid::Kavrin);
    const double usageSeconds = usageClock.seconds();

    QImage image(1920, 1080, QImage::Format_RGB32);
    auto paint = [&](TimeRange range) {
        bench::Stopwatch clock;
        QPainter painter(&image);
        TimelineView view = timelineViewFor(marks, image.size(), range, painter.font());
        paintTimeline(painter, image.size(), marks, view);
        return clock.seconds();
    };
    const double wholeSeconds = paint(fittedRange(marks.firstTime, marks.lastTime));
    const double zoomedSeconds = paint({marks.firstTime, marks.firstTime + 600});

    std::printf("timeline of %d cues (%zu marks, %zu positions, %zu modules)\n", cues,
                marks.marks.size(), marks.positions.size(), marks.modules.size());
    std::printf("  marks from the table       %.3f s\n", marksSeconds);
    std::printf("  address usage              %.3f s  (%d addresses used twice)\n", usageSeconds,
                usage.sharedAddresses());
    std::printf("  paint 1920x1080, whole show %.3f s  (goal: under 1 s)\n", wholeSeconds);
    std::printf("  paint 1920x1080, 10 minutes %.3f s\n", zoomedSeconds);
    // The worst case for the rows: every cue on a position of its own.
    for (int row = 0; row < cues; ++row) table.setNumber(row, kavrin::Pos, row);
    marks = timelineMarks(table, ScriptGrid::Kavrin);
    const double spreadSeconds = paint(fittedRange(marks.firstTime, marks.lastTime));
    std::printf("  paint 1920x1080, every cue on its own position %.3f s\n", spreadSeconds);
    std::printf("  peak memory %.0f MiB\n", bench::mib(bench::peakResidentBytes()));
    return 0;
}
