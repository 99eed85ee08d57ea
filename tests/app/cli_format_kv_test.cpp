#include <gtest/gtest.h>

#include <filesystem>

#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace fulgor {
namespace {

using Outcome = test::CliOutcome;
using test::readBytes;
using test::runCli;
using test::TempDir;
using test::writeBytes;

// Rows already in firing order and numbered, so sorting and numbering them
// first changes nothing.
const std::string kShow =
    "Midsummer Finale\r\n"
    "1,1,4,0.25,01,01,0:00:00.2,,,3in,1,Comet,\r\n"
    "2,,5,0.35,02,01,0:00:00.4,,1,3in,1,Comet,\r\n"
    "3,2,6,1.15,03,01,0:00:01.2,,,4in,1,Mine,\r\n";

TEST(CliFormatKv, WritesThePanelTextAndItsStatistics) {
    TempDir dir;
    writeBytes(dir.path("show.kvn"), kShow);
    Outcome tenths = runCli({"format-kv", dir.path("show.kvn"), "-o", dir.path("panel.txt")});
    EXPECT_EQ(tenths.status, 0) << tenths.err;
    const std::string expected =
        "N\tMidsummer Finale\r\n"
        "S\t1\t1\t4\t2\t1\t1\r\n"
        "S\t3\t2\t6\t12\t3\t1\r\n"
        "S\t0\t0\r\n";
    EXPECT_EQ(readBytes(dir.path("panel.txt")), expected);
    EXPECT_EQ(tenths.err,
              " Lines: 4\nCharacters: " + std::to_string(expected.size()) + "\nConflicts: 1\n");

    Outcome miravel = runCli({"format-kv", dir.path("show.kvn"), "--miravel"});
    EXPECT_EQ(miravel.status, 0) << miravel.err;
    EXPECT_EQ(
        miravel.out,
        "N\tMidsummer Finale\r\ns\t1\t1\t4\t25\t1\t1\r\ns\t3\t2\t6\t115\t3\t1\r\nS\t0\t0\r\n");
}

TEST(CliFormatKv, RowsWithoutATimeAreHeldBackAndReported) {
    TempDir dir;
    writeBytes(dir.path("show.kvn"), "\r\n1,,1,,01,01,,,,,,,\r\n2,1,1,2,01,02,,,,,,,\r\n");
    Outcome outcome = runCli({"format-kv", dir.path("show.kvn")});
    EXPECT_EQ(outcome.status, 3);
    EXPECT_EQ(outcome.out, "S\t2\t1\t1\t20\t1\t2\r\nS\t0\t0\r\n");
    EXPECT_EQ(outcome.err, " Lines: 2\nCharacters: 23\nConflicts: 0\nNo Time, not sent: Line 1\n");
}

// A Time, Mod or Pin with no number goes out as 0, as the panel expects; the
// operator is told which Lines, and the status stays 0.
TEST(CliFormatKv, CellsWithoutANumberGoOutAsZeroWithAWarning) {
    TempDir dir;
    writeBytes(dir.path("show.kvn"),
               "\r\n1,,1,2,,03,,,,,,,\r\n2,,1,tbd,01,01,,,,,,,\r\n3,,1,3,02,x,,,,,,,\r\n");
    Outcome outcome = runCli({"format-kv", dir.path("show.kvn")});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out,
              "S\t1\t1\t1\t0\t1\t1\r\n"
              "S\t2\t2\t1\t20\t0\t3\r\n"
              "S\t3\t3\t1\t30\t2\t0\r\n"
              "S\t0\t0\r\n");
    EXPECT_EQ(outcome.err,
              " Lines: 4\nCharacters: 54\nConflicts: 0\n"
              "Time is not a number, sent as 0 (fires at the start of the show): Line 1\n"
              "Module or pin missing, sent as 0: Lines 2, 3\n");
}

// A value too large to send refuses the show: the message names the file and
// the Line, and quotes a long value only in part.
TEST(CliFormatKv, ValueTooLargeToSendNamesTheFileAndLine) {
    TempDir dir;
    const std::string path = dir.path("show.kvn");
    writeBytes(path, "Show\r\n1,,1e999,1,01,01,,,,,,,\r\n2,,1,2,01,02,,,,,,,\r\n");
    Outcome outcome = runCli({"format-kv", path, "-o", dir.path("panel.txt")});
    EXPECT_EQ(outcome.status, 3);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "fulgor format-kv: \"" + path +
                               "\": Line 1, Pos: the value \"1e999\" is too large to send\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path("panel.txt")));

    writeBytes(path, "Show\r\n1,,1,2,01,01,,,,,,,\r\n2,,1,3,01," + std::string(1000000, '9') +
                         ",,,,,,,\r\n");
    Outcome huge = runCli({"format-kv", path});
    EXPECT_EQ(huge.status, 3);
    EXPECT_EQ(huge.err, "fulgor format-kv: \"" + path + "\": Line 2, Pin: the value \"" +
                            std::string(40, '9') + "...\" is too large to send\n");
}

TEST(CliFormatKv, PutsTheShowInFiringOrderAndNumbersItsShotsFirst) {
    TempDir dir;
    writeBytes(dir.path("show.kvn"),
               "\r\n9,7,1,5,02,01,,,,,,,\r\n9,7,2,1,01,02,,,,,,,\r\n9,7,3,1,01,01,,,,,,,\r\n");
    Outcome outcome = runCli({"format-kv", dir.path("show.kvn")});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(
        outcome.out,
        "S\t1\t1\t2\t10\t1\t2\r\nS\t2\t1\t3\t10\t1\t1\r\nS\t3\t2\t1\t50\t2\t1\r\nS\t0\t0\r\n");
}

}  // namespace
}  // namespace fulgor
