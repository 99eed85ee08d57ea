#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <algorithm>
#include <filesystem>
#include <iterator>
#include <set>
#include <thread>
#include <tuple>

#include "files/file_io.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace fulgor {
namespace {

using Outcome = test::CliOutcome;
using test::readBytes;
using test::runCli;
using test::TempDir;
using test::writeBytes;

const std::string kHeader = "show.wav,0.00,Wave File\r\n";
const std::string kTalsen = kHeader +
                            "1,Shell,75mm,12.50,2.25,1,2,,,3.10,Red\r\n"
                            "2,Comet,30mm,5.00,,2,1,,,1.00,Blue\r\n"
                            "3,Mine,50mm,6.00,,1,,,,2.00,Spare\r\n";

// The Talsen show in firing order, the spare without a position first, with
// the Mod,Pin given to the comet and the shell.
std::string renumbered(const std::string& comet, const std::string& shell) {
    return kHeader + "3,Mine,50mm,6.00,,1,,,,2.00,Spare\r\n2,Comet,30mm,5.00,,2,1," + comet +
           ",1.00,Blue\r\n1,Shell,75mm,12.50,2.25,1,2," + shell + ",3.10,Red\r\n";
}

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
    EXPECT_EQ(readBytes(dir.path("out.csv")), renumbered("01,01", "02,01"));
    // The custom range defaults to 0 to F.
    Outcome hex = runCli({"renumber", dir.path("in.csv"), "--numbering", "custom"});
    EXPECT_EQ(hex.status, 0) << hex.err;
    EXPECT_EQ(hex.out, renumbered("01,0", "02,0"));
    Outcome none = runCli({"renumber", dir.path("in.csv"), "-o", dir.path("none.csv"),
                           "--numbering=custom", "--custom-hi", "1F"});
    EXPECT_EQ(none.status, 3);
    EXPECT_EQ(none.err, "Out of Modules!\r\n2 Lines left!\n");
    EXPECT_EQ(readBytes(dir.path("none.csv")), renumbered(",", ","));

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

// A show larger than the piece that import and renumber-lines write at a
// time: Lines and the untimed rows count on across the pieces, and nothing is
// lost between them.
TEST(CliImport, ALargeShowIsWrittenWholeAcrossItsPieces) {
    TempDir dir;
    constexpr int kRows = 70'000;
    // More than the warning names, all through the show: the later ones only
    // counted. Lines are made on two threads, so later untimed rows are met
    // before earlier ones; the warning must still name the first.
    auto untimed = [](int line) { return line % 997 == 0 || line == kRows; };
    std::string talsen = "w,0.00,t\r\n";
    std::string lettered = talsen;  // the same with Lines renumber-lines must replace
    std::string kavrin = "\r\n";
    for (int line = 1; line <= kRows; ++line) {
        const std::string n = std::to_string(line);
        const bool late = untimed(line);
        const std::string rest =
            ",Shell,75mm,1.00," + std::string(late ? "2.00" : "") + ",1,1,01,01,,\r\n";
        talsen += n + rest;
        lettered += "L" + rest;
        kavrin += n + "," + n + ",1," + (late ? "" : "1") + ",01,01," + (late ? "" : "0:00:01.00") +
                  "," + n + ",,75mm,1,Shell,\r\n";
    }
    writeBytes(dir.path("big.csv"), talsen);
    Outcome done = runCli({"import", dir.path("big.csv"), "-o", dir.path("big.kvn")});
    EXPECT_EQ(done.status, 3);
    EXPECT_EQ(done.err,
              "71 Lines have no firing time (Time or Prefire is not a number, or Prefire is "
              "larger than Time); their Time is left empty: Lines 997, 1994, 2991, 3988, 4985, "
              "5982, 6979, 7976, 8973, 9970, ...\n");
    EXPECT_TRUE(readBytes(dir.path("big.kvn")) == kavrin);
    // A disk that fills in a later piece: the save fails whole, and the old
    // file stays.
    Outcome full = [&] {
        ScopedWriteFault fault({.failAfterBytes = kavrin.size() - 1000, .writeError = ENOSPC});
        return runCli({"import", dir.path("big.csv"), "-o", dir.path("big.kvn")});
    }();
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "fulgor import: Cannot save \"" + dir.path("big.kvn") +
                            "\": No space left on device\n");
    EXPECT_TRUE(readBytes(dir.path("big.kvn")) == kavrin);
    EXPECT_EQ(test::namesIn(dir.path("")), (std::set<std::string>{"big.csv", "big.kvn"}));

    writeBytes(dir.path("lettered.csv"), lettered);
    Outcome numbered = runCli({"renumber-lines", dir.path("lettered.csv")});
    EXPECT_EQ(numbered.status, 0) << numbered.err;
    EXPECT_TRUE(numbered.out == talsen);
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

// Pos counts under the Talsen rules alone: a module of the low range at a high
// position is a conflict there, and a position below 0 is not checked further.
TEST(CliGroupAndCheck, OnlyTheTalsenRulesReadThePosition) {
    TempDir dir;
    const std::string show = "Show\r\n1,,100,5,03,01,,,,,,,\r\n2,,-1,6,300,99,,,,,,,\r\n";
    writeBytes(dir.path("high.kvn"), show);
    Outcome talsen = runCli({"check", dir.path("high.kvn"), "--miravel", "--numbering", "talsen"});
    EXPECT_EQ(talsen.status, 4);
    EXPECT_EQ(talsen.err, "1 found!\n");
    EXPECT_EQ(talsen.out, "Show\r\n1,1,100,5,03,01,,,1,,,,\r\n2,2,-1,6,300,99,,,,,,,\r\n");
    Outcome timeOnly = runCli({"check", dir.path("high.kvn"), "--miravel"});
    EXPECT_EQ(timeOnly.status, 0) << timeOnly.err;
    EXPECT_EQ(timeOnly.out, "Show\r\n1,1,100,5,03,01,,,,,,,\r\n2,2,-1,6,300,99,,,,,,,\r\n");
}

// The commands that change a few columns write every other field back as the
// file holds it, letters of the code page, a line's extra fields cut and
// missing ones added as for the whole table; read from a pipe, the script
// gives the same bytes as from a file.
TEST(CliGroupAndCheck, OtherFieldsStayAsTheFileHoldsThemReadFromAFileOrAPipe) {
    TempDir dir;
    const std::string show =
        "Sh\xF6w\r\n"
        "9,,,7.50,02,01,0:00:07.5,x,,75mm,1,Shell,Caf\xE9 cr\xE8me,more,fields\r\n"
        "8,,,2,01,01\n"
        "\r\n"
        "7,,,2.0,03,02,,,old,,,Cake,\x81\r";
    // Times 0 (the empty line), 2 and 2.0 (one shot, but Mod 3 after Mod 1
    // is a conflict, and the check empties Err first), 7.50.
    const std::string grouped =
        "Sh\xF6w\r\n"
        "1,,,,,,,,,,,,\r\n"
        "2,1,,2,01,01,,,,,,,\r\n"
        "3,,,2.0,03,02,,,old,,,Cake,\x81\r\r\n"
        "4,2,,7.50,02,01,0:00:07.5,x,,75mm,1,Shell,Caf\xE9 cr\xE8me\r\n";
    const std::string checked =
        "Sh\xF6w\r\n"
        "1,,,,,,,,1,,,,\r\n"
        "2,1,,2,01,01,,,,,,,\r\n"
        "3,1,,2.0,03,02,,,2,,,Cake,\x81\r\r\n"
        "4,2,,7.50,02,01,0:00:07.5,x,,75mm,1,Shell,Caf\xE9 cr\xE8me\r\n";
    writeBytes(dir.path("show.kvn"), show);
    const std::string fifo = dir.path("show.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const auto& [command, expected, status] :
         {std::tuple{"group", grouped, 0}, std::tuple{"check", checked, 4}}) {
        Outcome fromFile = runCli({command, dir.path("show.kvn")});
        EXPECT_EQ(fromFile.status, status) << command << ": " << fromFile.err;
        EXPECT_TRUE(fromFile.out == expected) << command << ":\n" << fromFile.out;
        std::thread writer([&] { writeBytes(fifo, show); });
        Outcome fromPipe = runCli({command, fifo});
        writer.join();
        EXPECT_TRUE(fromPipe.out == expected) << command << ":\n" << fromPipe.out;
    }
}

// The example Kavrin show is what the two commands make of the example Talsen
// show, run by the real binary with no display at all.
TEST(CliBinary, ExampleKavrinShowComesFromRenumberAndImport) {
    TempDir dir;
    const std::string exe =
        std::string("env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= ") + FULGOR_EXE;
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

// Rows already in firing order and numbered, so sorting and numbering them
// first changes nothing.
const std::string kFiringOrderShow =
    "Midsummer Finale\r\n"
    "1,1,4,0.25,01,01,0:00:00.2,,,3in,1,Comet,\r\n"
    "2,,5,0.35,02,01,0:00:00.4,,1,3in,1,Comet,\r\n"
    "3,2,6,1.15,03,01,0:00:01.2,,,4in,1,Mine,\r\n";

class CliFormatKv : public ::testing::Test {
protected:
    Outcome formatKv(const std::string& show, std::vector<std::string> options = {}) {
        writeBytes(path, show);
        options.insert(options.begin(), {"format-kv", path});
        return runCli(options);
    }
    TempDir dir;
    const std::string path = dir.path("show.kvn");
};

TEST_F(CliFormatKv, WritesThePanelTextAndItsStatistics) {
    Outcome tenths = formatKv(kFiringOrderShow, {"-o", dir.path("panel.txt")});
    EXPECT_EQ(tenths.status, 0) << tenths.err;
    const std::string expected =
        "N\tMidsummer Finale\r\nS\t1\t1\t4\t2\t1\t1\r\nS\t3\t2\t6\t12\t3\t1\r\nS\t0\t0\r\n";
    EXPECT_EQ(readBytes(dir.path("panel.txt")), expected);
    EXPECT_EQ(tenths.err,
              " Lines: 4\nCharacters: " + std::to_string(expected.size()) + "\nConflicts: 1\n");

    Outcome miravel = formatKv(kFiringOrderShow, {"--miravel"});
    EXPECT_EQ(miravel.status, 0) << miravel.err;
    EXPECT_EQ(
        miravel.out,
        "N\tMidsummer Finale\r\ns\t1\t1\t4\t25\t1\t1\r\ns\t3\t2\t6\t115\t3\t1\r\nS\t0\t0\r\n");

    // The show is put in firing order and its shots numbered first.
    Outcome sorted =
        formatKv("\r\n9,7,1,5,02,01,,,,,,,\r\n9,7,2,1,01,02,,,,,,,\r\n9,7,3,1,01,01,,,,,,,\r\n");
    EXPECT_EQ(sorted.status, 0) << sorted.err;
    EXPECT_EQ(
        sorted.out,
        "S\t1\t1\t2\t10\t1\t2\r\nS\t2\t1\t3\t10\t1\t1\r\nS\t3\t2\t1\t50\t2\t1\r\nS\t0\t0\r\n");
    // Rows of one Time and module keep the order of their old shot numbers.
    Outcome byShot = formatKv("\r\n9,8,2,1,01,02,,,,,,,\r\n9,3,3,1,01,01,,,,,,,\r\n");
    EXPECT_EQ(byShot.status, 0) << byShot.err;
    EXPECT_EQ(byShot.out, "S\t1\t1\t3\t10\t1\t1\r\nS\t2\t1\t2\t10\t1\t2\r\nS\t0\t0\r\n");
}

// Rows without a Time are held back (status 3); a Time, Mod or Pin with no
// number goes out as 0, as the panel expects, with a warning naming the Lines.
TEST_F(CliFormatKv, HeldBackAndSentAsZeroRowsAreReported) {
    Outcome untimed = formatKv("\r\n1,,1,,01,01,,,,,,,\r\n2,1,1,2,01,02,,,,,,,\r\n");
    EXPECT_EQ(untimed.status, 3);
    EXPECT_EQ(untimed.out, "S\t2\t1\t1\t20\t1\t2\r\nS\t0\t0\r\n");
    EXPECT_EQ(untimed.err, " Lines: 2\nCharacters: 23\nConflicts: 0\nNo Time, not sent: Line 1\n");

    Outcome zero =
        formatKv("\r\n1,,1,2,,03,,,,,,,\r\n2,,1,tbd,01,01,,,,,,,\r\n3,,1,3,02,x,,,,,,,\r\n");
    EXPECT_EQ(zero.status, 0);
    EXPECT_EQ(zero.out,
              "S\t1\t1\t1\t0\t1\t1\r\nS\t2\t2\t1\t20\t0\t3\r\nS\t3\t3\t1\t30\t2\t0\r\nS\t0\t0\r\n");
    EXPECT_EQ(zero.err,
              " Lines: 4\nCharacters: 54\nConflicts: 0\n"
              "Time is not a number, sent as 0 (fires at the start of the show): Line 1\n"
              "Module or pin missing, sent as 0: Lines 2, 3\n");
}

// A value too large to send refuses the show: the message names the file and
// the Line, and quotes a long value only in part.
TEST_F(CliFormatKv, ValueTooLargeToSendNamesTheFileAndLine) {
    Outcome outcome = formatKv("Show\r\n1,,1e999,1,01,01,,,,,,,\r\n2,,1,2,01,02,,,,,,,\r\n",
                               {"-o", dir.path("panel.txt")});
    EXPECT_EQ(outcome.status, 3);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "fulgor format-kv: \"" + path +
                               "\": Line 1, Pos: the value \"1e999\" is too large to send\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path("panel.txt")));

    // Standard output too is given nothing, though far more than a piece of
    // the panel text comes before the refused row.
    std::string rows;
    for (int i = 1; i <= 60000; ++i) rows += std::to_string(i) + ",,1,2,01,01,,,,,,,\r\n";
    Outcome huge =
        formatKv("Show\r\n" + rows + "60001,,1,3,01," + std::string(1000000, '9') + ",,,,,,,\r\n");
    EXPECT_EQ(huge.status, 3);
    EXPECT_EQ(huge.out, "");
    EXPECT_EQ(huge.err, "fulgor format-kv: \"" + path + "\": Line 60001, Pin: the value \"" +
                            std::string(40, '9') + "...\" is too large to send\n");
}

}  // namespace
}  // namespace fulgor
