#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

#include "files/file_io.h"

#include "support/run_cli.h"
#include "support/sd_show_file.h"
#include "support/temp_dir.h"

namespace fulgor {
namespace {

using Outcome = test::CliOutcome;
using test::readBytes;
using test::runCli;
using test::SdShowEvent;
using test::TempDir;
using test::writeBytes;

class CliSdTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::SdShowEvent comet{
            .cue = 1, .m = 1, .s = 30, .f = 15, .addr = 163, .pft = 25, .qty = 2};
        comet.event = "Open";
        comet.angle = "45";
        test::writeSdShow(show,
                          {comet,
                           {.cue = 2, .s = 5, .pft = 10, .qty = 3, .effect = "O'Brien"},
                           {.cue = 3, .s = 2, .addr = 17, .cghz = 4, .qty = 5, .effect = "Mine"}});
        before = readBytes(show);
    }
    void TearDown() override { EXPECT_EQ(readBytes(show), before); }

    TempDir dir;
    std::string show = dir.path("show.scx");
    std::string before;
};

TEST_F(CliSdTest, Sd2TalsenWritesTheViewAndCountsWhatItSkipped) {
    Outcome all = runCli({"sd2talsen", show, "-o", dir.path("out.csv")});
    EXPECT_EQ(all.status, 3);
    EXPECT_EQ(readBytes(dir.path("out.csv")),
              ",0.00,Wave File\r\n"
              "1,Comet,3,90.5,2.5,2,1,0A,3,9.5,Open45\r\n"
              "3,Mine,3,2,0,5,1,01,1,9.5,\r\n");
    EXPECT_EQ(all.err,
              "Visible Lines: 3\n1 event could not be copied to the Talsen script and was left "
              "out: 1 event with an empty ADDR.\n");

    Outcome sorted = runCli({"sd2talsen", show, "--sort", "[TIME] DESC", "--size", "cghz",
                             "--filter", "effect description=m", "--filter", "QTY=> 2"});
    EXPECT_EQ(sorted.status, 0) << sorted.err;
    EXPECT_EQ(sorted.out, ",0.00,Wave File\r\n3,Mine,4,2,0,5,1,01,1,9.5,\r\n");
    EXPECT_EQ(sorted.err, "Visible Lines: 1\n");
}

TEST_F(CliSdTest, Sd2PdWritesFiredEventsInViewOrderUpToAFailure) {
    Outcome outcome = runCli({"sd2pd", show, "--sort", "[CUE] DESC"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out,
              "N3000000000200000011000303E6\r\n"
              "N3000100011E0F1900A300010310\r\n"
              "N900FF\r\n");
    EXPECT_EQ(outcome.err, "Visible Lines: 3\n Lines: 3\nCharacters: 68\nConflicts: 1\n");

    Outcome quoted = runCli({"sd2pd", show, "--filter", "Effect Description=o'b"});
    EXPECT_EQ(quoted.status, 0) << quoted.err;
    EXPECT_EQ(quoted.out, "N900FF\r\n");
    EXPECT_EQ(quoted.err, "Visible Lines: 1\n Lines: 1\nCharacters: 8\nConflicts: 1\n");

    // A failure keeps what was formed before it.
    test::execSql(show, "UPDATE Events SET HH = 300 WHERE CUE = 3");
    before = readBytes(show);
    Outcome failed = runCli({"sd2pd", show, "-o", dir.path("pd.txt")});
    EXPECT_EQ(failed.status, 3);
    EXPECT_EQ(readBytes(dir.path("pd.txt")), "N3000000011E0F1900A300010311\r\n");
    EXPECT_EQ(failed.err,
              "Visible Lines: 3\nFormat SD as PD Script:\nEvent 3 (CUE 3): the field \"HH\" "
              "holds 300, outside 0 to 255.\n");

    Outcome empty = runCli({"sd2pd", show, "--filter", "CUE=> 9"});
    EXPECT_EQ(empty.status, 3);
    EXPECT_EQ(empty.out, "");
    EXPECT_EQ(empty.err,
              "Visible Lines: 0\nFormat SD as PD Script:\nThe SD view holds no events: there is "
              "nothing to format.\n");
}

TEST_F(CliSdTest, RefusedSortsFiltersAndFilesAreBadUsage) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"sd2pd", show, "--sort", "[NOPE]"},
         "fulgor sd2pd: Sorting Order:\nThere is no field [NOPE] in the table \"Events\".\n"},
        {{"sd2pd", show, "--filter", "QTY=2; DROP TABLE Events"},
         "fulgor sd2pd: QTY Filter:\n\"2; DROP TABLE Events\" is not a filter for a number "
         "field: type one comparison (=, <>, <, >, <= or >=) and one number, such as > 2.\n"},
        {{"sd2talsen", show, "--filter", "Haddr=A3"},
         "fulgor sd2talsen: There is no field [Haddr] in the table \"Events\" to filter.\n"},
        {{"sd2talsen", show, "--filter", "QTY"},
         "fulgor sd2talsen: --filter takes FIELD=TEXT, not \"QTY\"\n"},
        {{"sd2talsen", show, "--size", "big"},
         "fulgor sd2talsen: --size takes cal or cghz, not \"big\"\n"},
        {{"sd2pd", dir.path("none.scx")},
         "fulgor sd2pd: Cannot open \"" + dir.path("none.scx") +
             "\": No such file or directory.\n"},
    };
    for (const auto& [args, err] : cases) {
        Outcome outcome = runCli(args);
        EXPECT_EQ(outcome.status, 1) << args.back();
        EXPECT_EQ(outcome.err, err);
        EXPECT_EQ(outcome.out, "");
    }
}

// A show of more events than a part holds is written a part at a time, each
// while the next is converted: the script holds every event in view order,
// and a disk that fills in a later part fails the save whole, the old file
// left as it was.
TEST(CliSd2Talsen, ALargeShowIsWrittenWholeAcrossItsParts) {
    TempDir dir;
    constexpr int kEvents = 140'000;
    std::vector<SdShowEvent> events;
    std::string expected = ",0.00,Wave File\r\n";
    for (int i = 0; i < kEvents; ++i) {
        events.push_back({.cue = i + 1,
                          .h = i / 3600,
                          .m = i / 60 % 60,
                          .s = i % 60,
                          .addr = 16 + i % 16,
                          .pft = 10});
        expected += std::to_string(i + 1) + ",Comet,3," + std::to_string(i) + ",1,1,1,01," +
                    "0123456789ABCDEF"[i % 16] + ",9.5,\r\n";
    }
    const std::string show = dir.path("large.scx");
    test::writeSdShow(show, events);
    Outcome done = runCli({"sd2talsen", show, "-o", dir.path("out.csv")});
    EXPECT_EQ(done.status, 0) << done.err;
    EXPECT_EQ(done.err, "Visible Lines: 140000\n");
    EXPECT_TRUE(readBytes(dir.path("out.csv")) == expected);

    Outcome full = [&] {
        ScopedWriteFault fault({.failAfterBytes = expected.size() - 1000, .writeError = ENOSPC});
        return runCli({"sd2talsen", show, "-o", dir.path("out.csv")});
    }();
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "Visible Lines: 140000\nfulgor sd2talsen: Cannot save \"" +
                            dir.path("out.csv") + "\": No space left on device\n");
    EXPECT_TRUE(readBytes(dir.path("out.csv")) == expected);
}

TEST(CliFormatPd, WritesThePdScriptOrRefusesWithNothingWritten) {
    TempDir dir;
    writeBytes(dir.path("show.csv"),
               ",0.00,Wave File\r\n9,Comet,3in,90.5,2.5,1,1,0A,3,,\r\n9,Mine,3,,1,1,1,01,1,,\r\n");
    Outcome outcome = runCli({"format-pd", dir.path("show.csv")});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "N3000000011E0F1900A300010311\r\nN900FF\r\n");
    EXPECT_EQ(outcome.err, " Lines: 2\nCharacters: 38\nConflicts: 1\n");

    writeBytes(dir.path("bad.csv"), ",0.00,Wave File\r\n1,Comet,3,1,1,1,1,80,1,,\r\n");
    Outcome refused = runCli({"format-pd", dir.path("bad.csv"), "-o", dir.path("pd.txt")});
    EXPECT_EQ(refused.status, 3);
    EXPECT_EQ(refused.err, "Addresses in Talsenshow script are not formatted for PD!\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path("pd.txt")));

    // A row that does not fit, late in a large script, leaves standard output
    // empty too, though far more than a piece of the text comes before it.
    std::string rows = ",0.00,Wave File\r\n";
    for (int i = 0; i < 40000; ++i) rows += "9,Comet,3," + std::to_string(i) + ",1,1,1,01,1,,\r\n";
    writeBytes(dir.path("late.csv"), rows + "9,Comet,300,50000,1,1,1,01,1,,\r\n");
    Outcome late = runCli({"format-pd", dir.path("late.csv")});
    EXPECT_EQ(late.status, 3);
    EXPECT_EQ(late.out, "");
    EXPECT_EQ(late.err, "Row 40001 cannot be formatted for PD: its Size lies outside 0 to 255.\n");
}

TEST(CliSdExample, TheExampleShowConvertsWithItsUnwiredEffectsLeftOut) {
    const std::string example = std::string(FULGOR_EXAMPLES) + "/midsummer_finale.scx";
    const std::string before = readBytes(example);
    Outcome pd = runCli({"sd2pd", example});
    EXPECT_EQ(pd.status, 0) << pd.err;
    EXPECT_TRUE(pd.err.starts_with("Visible Lines: 236\n Lines: 231\n")) << pd.err;
    EXPECT_TRUE(pd.err.ends_with("Conflicts: 6\n")) << pd.err;
    Outcome talsen = runCli({"sd2talsen", example, "--sort", "[TIME] DESC"});
    EXPECT_EQ(talsen.status, 3);
    EXPECT_TRUE(talsen.err.ends_with("6 events with an empty ADDR.\n")) << talsen.err;
    EXPECT_EQ(readBytes(example), before);
}

}  // namespace
}  // namespace fulgor
