#include <gtest/gtest.h>
#include <algorithm>
#include <iterator>
#include <sys/wait.h>

#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace fulgor {
namespace {

using Outcome = test::CliOutcome;
using test::readBytes;
using test::runCli;
using test::TempDir;
using test::writeBytes;

constexpr const char* kTalsen =
    "show.wav,0.00,Wave File\r\n"
    "1,Shell,75mm,12.50,2.25,1,2,,,3.10,Red\r\n"
    "2,Comet,30mm,5.00,,2,1,,,1.00,Blue\r\n"
    "3,Mine,50mm,6.00,,1,,,,2.00,Spare\r\n";

// A Kavrin show of one cue at each of the times 0, 1, 2 ...
std::string kavrinShow(int times) {
    std::string show = "Show\r\n";
    for (int i = 0; i < times; ++i) show += "1,,1," + std::to_string(i) + ",01,01,,,,,,,\r\n";
    return show;
}

TEST(CliRenumber, WritesAddressesAndReportsLeftOverLines) {
    TempDir dir;
    writeBytes(dir.path("in.csv"), kTalsen);
    Outcome done = runCli({"renumber", dir.path("in.csv"), "-o", dir.path("out.csv")});
    EXPECT_EQ(done.status, 0) << done.err;
    EXPECT_EQ(readBytes(dir.path("out.csv")),
              "show.wav,0.00,Wave File\r\n"
              "3,Mine,50mm,6.00,,1,,,,2.00,Spare\r\n"
              "2,Comet,30mm,5.00,,2,1,01,01,1.00,Blue\r\n"
              "1,Shell,75mm,12.50,2.25,1,2,02,01,3.10,Red\r\n");
    // The custom range defaults to 0 to F.
    Outcome hex = runCli({"renumber", dir.path("in.csv"), "--numbering", "custom"});
    EXPECT_EQ(hex.status, 0) << hex.err;
    EXPECT_EQ(hex.out,
              "show.wav,0.00,Wave File\r\n"
              "3,Mine,50mm,6.00,,1,,,,2.00,Spare\r\n"
              "2,Comet,30mm,5.00,,2,1,01,0,1.00,Blue\r\n"
              "1,Shell,75mm,12.50,2.25,1,2,02,0,3.10,Red\r\n");

    Outcome none = runCli({"renumber", dir.path("in.csv"), "-o", dir.path("none.csv"),
                           "--numbering=custom", "--custom-hi", "1F"});
    EXPECT_EQ(none.status, 3);
    EXPECT_EQ(none.err, "Out of Modules!\r\n2 Lines left!\n");
    EXPECT_EQ(readBytes(dir.path("none.csv")),
              "show.wav,0.00,Wave File\r\n"
              "3,Mine,50mm,6.00,,1,,,,2.00,Spare\r\n"
              "2,Comet,30mm,5.00,,2,1,,,1.00,Blue\r\n"
              "1,Shell,75mm,12.50,2.25,1,2,,,3.10,Red\r\n");

    Outcome badLow = runCli({"renumber", dir.path("in.csv"), "-o", dir.path("bad.csv"),
                             "--numbering", "custom", "--custom-lo", "abc"});
    EXPECT_EQ(badLow.status, 1);
    EXPECT_EQ(badLow.err, "fulgor renumber: The custom low pin \"abc\" is not a number.\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path("bad.csv")));
    EXPECT_EQ(runCli({"renumber", dir.path("in.csv"), "--numbering", "hex"}).status, 1);
}

TEST(CliImport, WritesTheKavrinScriptAndNamesTheLinesItCannotTime) {
    TempDir dir;
    writeBytes(dir.path("in.csv"), kTalsen);
    Outcome done = runCli({"import", dir.path("in.csv"), "--show-name", "Finale"});
    EXPECT_EQ(done.status, 0) << done.err;
    EXPECT_EQ(done.out,
              "Finale\r\n"
              "1,1,2,10.2,,,0:00:10.20,1,,75mm,1,Shell,Red\r\n"
              "2,2,1,5,,,0:00:05.00,2,,30mm,2,Comet,Blue\r\n"
              "3,3,,6,,,0:00:06.00,3,,50mm,1,Mine,Spare\r\n");
    Outcome miravel = runCli({"import", dir.path("in.csv"), "--miravel"});
    EXPECT_EQ(miravel.out,
              "\r\n"
              "1,1,2,10.25,,,0:00:10.25,1,,75mm,1,Shell,Red\r\n"
              "2,2,1,5,,,0:00:05.00,2,,30mm,2,Comet,Blue\r\n"
              "3,3,,6,,,0:00:06.00,3,,50mm,1,Mine,Spare\r\n");

    writeBytes(dir.path("late.csv"), "w,0,t\r\n1,Shell,75mm,1.00,2.00,1,1,01,01,,\r\n");
    Outcome late = runCli({"import", dir.path("late.csv"), "-o", dir.path("late.kvn")});
    EXPECT_EQ(late.status, 3);
    EXPECT_EQ(late.err,
              "1 Lines have no firing time (Time or Prefire is not a number, or Prefire is larger "
              "than Time); their Time is left empty: Line 1\n");
    EXPECT_EQ(readBytes(dir.path("late.kvn")), "\r\n1,1,1,,01,01,,1,,75mm,1,Shell,\r\n");
}

// A show larger than the part the import makes at a time: Lines and the
// untimed rows count on across the parts, and nothing is lost between them.
TEST(CliImport, ALargeShowIsWrittenWholeAcrossItsParts) {
    TempDir dir;
    constexpr int kRows = 70'000;
    const int untimed[] = {2, 65'536, 65'537, kRows};
    std::string talsen = "w,0,t\r\n";
    std::string kavrin = "\r\n";
    for (int line = 1; line <= kRows; ++line) {
        const std::string n = std::to_string(line);
        const bool late = std::find(std::begin(untimed), std::end(untimed), line) != std::end(untimed);
        talsen += n + ",Shell,75mm,1.00," + (late ? "2.00" : "") + ",1,1,01,01,,\r\n";
        kavrin += n + "," + n + ",1," + (late ? "" : "1") + ",01,01," + (late ? "" : "0:00:01.00") +
                  "," + n + ",,75mm,1,Shell,\r\n";
    }
    writeBytes(dir.path("big.csv"), talsen);
    Outcome done = runCli({"import", dir.path("big.csv"), "-o", dir.path("big.kvn")});
    EXPECT_EQ(done.status, 3);
    EXPECT_EQ(done.err,
              "4 Lines have no firing time (Time or Prefire is not a number, or Prefire is larger "
              "than Time); their Time is left empty: Lines 2, 65536, 65537, 70000\n");
    EXPECT_TRUE(readBytes(dir.path("big.kvn")) == kavrin);
}

TEST(CliGroupAndCheck, ExitStatusTellsConflictsFromAFullFireMemory) {
    TempDir dir;
    writeBytes(dir.path("over.kvn"), kavrinShow(551));
    Outcome grouped = runCli({"group", dir.path("over.kvn"), "-o", dir.path("grouped.kvn")});
    EXPECT_EQ(grouped.status, 3);
    EXPECT_EQ(grouped.err, "Exceeded Kavrin Fire Memory!\n");
    std::string numbered = "Show\r\n";
    for (int i = 0; i < 551; ++i) {
        const std::string n = std::to_string(i + 1);
        numbered += n + "," + n + ",1," + std::to_string(i) + ",01,01,,,,,,,\r\n";
    }
    EXPECT_EQ(readBytes(dir.path("grouped.kvn")), numbered);
    EXPECT_EQ(runCli({"group", dir.path("over.kvn"), "--miravel"}).status, 0);
    Outcome checked = runCli({"check", dir.path("over.kvn")});
    EXPECT_EQ(checked.status, 4);  // shot 551 itself is a conflict
    EXPECT_EQ(checked.err, "Exceeded Kavrin Fire Memory!\n1 found!\n");
    writeBytes(dir.path("miravel.kvn"), kavrinShow(3169));
    EXPECT_EQ(runCli({"check", dir.path("miravel.kvn"), "--miravel"}).status, 3);

    writeBytes(dir.path("clash.kvn"), "Show\r\n1,,1,5,03,01,,,,,,,\r\n2,,1,5,04,01,,,,,,,\r\n");
    EXPECT_EQ(runCli({"check", dir.path("clash.kvn"), "-o", dir.path("out.kvn")}).status, 4);
    EXPECT_EQ(readBytes(dir.path("out.kvn")),
              "Show\r\n1,1,1,5,03,01,,,,,,,\r\n2,1,1,5,04,01,,,1,,,,\r\n");
    EXPECT_EQ(runCli({"check", dir.path("clash.kvn"), "--miravel", "--numbering", "talsen"}).status,
              0);
}

// The example Kavrin show is what the two commands make of the example Talsen show.
TEST(CliBinary, ExampleKavrinShowComesFromRenumberAndImport) {
    TempDir dir;
    const std::string exe = FULGOR_EXE;
    const std::string examples = FULGOR_EXAMPLES;
    auto run = [](const std::string& command) {
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    ASSERT_EQ(
        run(exe + " renumber " + examples + "/midsummer_finale.csv -o " + dir.path("numbered.csv")),
        0);
    ASSERT_EQ(run(exe + " import " + dir.path("numbered.csv") + " -o " + dir.path("show.kvn") +
                  " --show-name 'Midsummer Finale'"),
              0);
    EXPECT_EQ(readBytes(dir.path("show.kvn")), readBytes(examples + "/midsummer_finale.kvn"));
    EXPECT_EQ(run(exe + " check " + dir.path("show.kvn") + " 2>/dev/null >/dev/null"), 4);
}

}  // namespace
}  // namespace fulgor
