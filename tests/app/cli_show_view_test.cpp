// `fulgor usage` and `fulgor timeline` on crafted scripts.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <memory>

#include "files/kavrin_file.h"
#include "platform/timeline_painter.h"
#include "show_view/timeline_marks.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace fulgor {
namespace {

using test::runCli;
using test::TempDir;
using test::writeBytes;

// A GUI application for one test, unless the process has one already. It
// ends with the test: one kept until the exit handlers would outlive the
// image plugins it loaded.
class ScopedApplication {
public:
    ScopedApplication() {
        static int argc = 1;
        static char name[] = "cli_tests";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            m_application = std::make_unique<QGuiApplication>(argc, argv);
    }

private:
    std::unique_ptr<QGuiApplication> m_application;
};

// Module 01 pins 01 and 02; pin 02 also fired by line 4, flagged by the
// conflict check; line 3 has no pin.
const char kShow[] =
    "Crafted\r\n"
    "1,1,1,10,01,01,,,,,,,\r\n"
    "2,2,2,20,01,02,,,,,,,\r\n"
    "3,3,2,30,01,,,,,,,,\r\n"
    "4,4,1,40,1,2,,,1,,,,\r\n";

TEST(CliAddressUsage, DoubleUseGivesStatusFourACleanScriptZeroAndBadInputOne) {
    TempDir dir;
    writeBytes(dir.path("show.kvn"), kShow);
    test::CliOutcome text = runCli({"usage", dir.path("show.kvn")});
    EXPECT_EQ(text.status, 4);
    EXPECT_EQ(text.out,
              "Module  Cues  First       Last        Pins\n"
              "01         3  0:00:10.00  0:00:40.00  01-02\n"
              "Address used twice: module 01 pin 02, lines 2, 4\n"
              "Cues without an address: 1\n");
    EXPECT_EQ(text.err, "1 address is used by more than one cue\n");

    test::CliOutcome csv =
        runCli({"usage", dir.path("show.kvn"), "--format", "csv", "-o", dir.path("usage.csv")});
    EXPECT_EQ(csv.status, 4);
    EXPECT_EQ(test::readBytes(dir.path("usage.csv")),
              "Module,Cues,First,Last,Pins,Used twice\n"
              "01,3,10,40,01 02,02 (lines 2 4)\n");

    writeBytes(dir.path("show.csv"),
               "show.wav,0.00,Wave File\r\n1,,,5.5,,,1,02,07,,\r\n2,,,6,,,1,02,08,,\r\n");
    test::CliOutcome clean = runCli({"usage", dir.path("show.csv"), "--format", "csv"});
    EXPECT_EQ(clean.status, 0);
    EXPECT_EQ(clean.out, "Module,Cues,First,Last,Pins,Used twice\n02,2,5.5,6,07 08,\n");
    EXPECT_EQ(clean.err, "");

    test::CliOutcome format = runCli({"usage", dir.path("show.csv"), "--format", "xml"});
    EXPECT_EQ(format.status, 1);
    EXPECT_EQ(format.err, "fulgor usage: --format must be text or csv, not \"xml\"\n");
    writeBytes(dir.path("show.txt"), "x\r\n");
    test::CliOutcome other = runCli({"usage", dir.path("show.txt")});
    EXPECT_EQ(other.status, 1);
    EXPECT_EQ(other.err, "fulgor usage: cannot read \"" + dir.path("show.txt") +
                             "\": it is neither a Talsen script (.csv) nor a Kavrin script "
                             "(.kvn)\n");
}

TEST(CliTimeline, DrawsTheMarksWhereTheWindowWouldAtSizesWithinTheLimits) {
    ScopedApplication application;
    TempDir dir;
    writeBytes(dir.path("show.kvn"), kShow);
    test::CliOutcome outcome = runCli({"timeline", dir.path("show.kvn"), "--png", dir.path("t.png"),
                                       "--width", "640", "--height", "360"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "Drew 4 cues on 2 positions to " + dir.path("t.png") + "\n");
    QImage image(QString::fromStdString(dir.path("t.png")));
    ASSERT_EQ(image.size(), QSize(640, 360));

    TimelineMarks marks = timelineMarks(ImportKavrin(kShow).table, ScriptGrid::Kavrin);
    TimelineView view =
        timelineViewFor(marks, image.size(), fittedRange(10, 40), QGuiApplication::font());
    auto centre = [&](int index) {
        const TimelineMark& mark = marks.marks[static_cast<std::size_t>(index)];
        return image.pixel(static_cast<int>(timeToX(view, mark.time)),
                           static_cast<int>(rowToY(view, mark.positionRow)));
    };
    EXPECT_EQ(centre(0), moduleColour(0).rgb());
    EXPECT_EQ(centre(1), moduleColour(0).rgb());
    EXPECT_EQ(centre(2), QColor(Qt::white).rgb());  // no pin: hollow
    EXPECT_EQ(centre(3), kFlaggedColour);

    // Sizes at their limits, and a folder that is not there.
    const std::string png = dir.path("t.png");
    for (const char* bad : {"199", "8001", "12x", ""}) {
        test::CliOutcome outcome =
            runCli({"timeline", dir.path("show.kvn"), "--png", png, "--width", bad});
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.err, std::string("fulgor timeline: --width must be a whole number of "
                                           "pixels from 200 to 8000, not \"") +
                                   bad + "\"\n");
    }
    EXPECT_EQ(runCli({"timeline", dir.path("show.kvn"), "--png", png, "--width", "200", "--height",
                      "200"})
                  .status,
              0);
    EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(200, 200));

    test::CliOutcome noPng = runCli({"timeline", dir.path("show.kvn")});
    EXPECT_EQ(noPng.status, 1);
    EXPECT_EQ(noPng.err, "fulgor timeline: --png OUT.png is required\n");
    test::CliOutcome nowhere =
        runCli({"timeline", dir.path("show.kvn"), "--png", dir.path("none/t.png")});
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_EQ(
        nowhere.err.rfind("fulgor timeline: Cannot save \"" + dir.path("none/t.png") + "\": ", 0),
        0u);
}

}  // namespace
}  // namespace fulgor
