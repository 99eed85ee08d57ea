#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
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

const char kHint[] = "Run 'fulgor help' for the list of commands.\n";
const char kScript[] = "w,0,t\r\n9,a,,,,,,,,,\r\n";
const char kRenumbered[] = "w,0.00,t\r\n1,a,,,,,,,,,\r\n";

TEST(CliUsage, UnknownWordsSuggestTheNearestCommandOnlyWhenClose) {
    struct Case {
        const char* word;
        const char* suggestion;  // nullptr: none
    };
    const Case cases[] = {
        {"chek", "check"},       {"Check", "check"},
        {"sned", "send"},  // two neighbours swapped count as one edit
        {"hlep", "help"},        {"renumber-line", "renumber-lines"},
        {"renumbr", "renumber"}, {"formatkv", "format-kv"},
        {"imprt", "import"},     {"grp", nullptr},  // two edits from a five-letter name
        {"chck-it", nullptr},    {"frobnicate", nullptr},
        {"x", nullptr},
    };
    for (const Case& c : cases) {
        std::string expected = std::string("fulgor: unknown command '") + c.word + "'";
        if (c.suggestion) expected += std::string(" (did you mean '") + c.suggestion + "'?)";
        expected += std::string("\n") + kHint;
        EXPECT_EQ(cli::unknownCommandMessage(c.word), expected);
    }
    Outcome run = runCli({"chek", "x.kvn"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              std::string("fulgor: unknown command 'chek' (did you mean 'check'?)\n") + kHint);
    Outcome help = runCli({"help", "grup"});
    EXPECT_EQ(help.status, 1);
    EXPECT_EQ(help.err,
              std::string("fulgor: unknown command 'grup' (did you mean 'group'?)\n") + kHint);
}

TEST(CliUsage, OnlyScriptFilesStartTheWindowAndOnlyWithADisplay) {
    TempDir dir;
    writeBytes(dir.path("show"), "w,0,t\r\n");
    std::filesystem::create_directory(dir.root() / "shows");
    using Kind = cli::Launch::Kind;
    struct Case {
        std::vector<std::string> args;
        bool display;
        Kind kind;
        std::string message;
    };
    const std::string noDisplay =
        "fulgor: the window needs a display, and none is set (DISPLAY, WAYLAND_DISPLAY or "
        "QT_QPA_PLATFORM).\nRun 'fulgor help' for the commands that run without one.\n";
    const Case cases[] = {
        {{"check", "x.kvn"}, false, Kind::Headless, ""},
        {{"--version"}, false, Kind::Headless, ""},
        {{}, true, Kind::Window, ""},
        {{"new.csv", "NEW.KVN", "db.scx", dir.path("show")}, true, Kind::Window, ""},
        {{}, false, Kind::Refused, noDisplay},
        {{"new.csv"}, false, Kind::Refused, noDisplay},
        {{"chek", "x.kvn"}, true, Kind::Refused, cli::unknownCommandMessage("chek")},
        {{"x.kvn", "frobnicate"}, true, Kind::Refused, cli::unknownCommandMessage("frobnicate")},
        {{dir.path("shows")}, true, Kind::Refused, cli::unknownCommandMessage(dir.path("shows"))},
        {{dir.path("missing")},
         true,
         Kind::Refused,
         cli::unknownCommandMessage(dir.path("missing"))},
        {{"frobnicate"}, false, Kind::Refused, cli::unknownCommandMessage("frobnicate")},
    };
    for (const Case& c : cases) {
        cli::Launch launch = cli::decideLaunch(c.args, c.display);
        EXPECT_EQ(launch.kind, c.kind) << ::testing::PrintToString(c.args);
        EXPECT_EQ(launch.message, c.message) << ::testing::PrintToString(c.args);
    }
}

TEST(CliUsage, UsageMessagesNameTheSubcommand) {
    TempDir dir;
    const std::string in = dir.path("in.csv");
    writeBytes(in, kScript);
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const Case cases[] = {
        {{"renumber", in, "-o", "a.csv", "-o", "b.csv"},
         "fulgor renumber: option -o is given more than once\nUsage: fulgor renumber "
         "SCRIPT.csv [-o OUT.csv] [--numbering kavrin|talsen|custom] [--custom-lo TEXT] "
         "[--custom-hi TEXT]\n"},
        {{"group", in, "--miravel", "--miravel"},
         "fulgor group: option --miravel is given more than once\nUsage: fulgor group "
         "SHOW.kvn [-o OUT.kvn] [--miravel]\n"},
        {{"renumber", in, "--numbering", "x"},
         "fulgor renumber: --numbering takes kavrin, talsen or custom, not \"x\"\n"},
        {{"renumber", in, in}, "fulgor renumber: expected one input file, got 2\n"},
        {{"check"}, "fulgor check: expected one input file, got 0\n"},
        {{"import", in, "--show-name", "Gala\nNight"},
         "fulgor import: --show-name: the show name must be one line: it holds a line break\n"},
        {{"import", in, "--show-name=Gala\rNight"},
         "fulgor import: --show-name: the show name must be one line: it holds a line break\n"},
        {{"renumber-lines", dir.path("none.csv")},
         "fulgor renumber-lines: Cannot open \"" + dir.path("none.csv") +
             "\": No such file or directory\n"},
        {{"renumber-lines", in, "-o", "/dev/full"},
         "fulgor renumber-lines: Cannot save \"/dev/full\": No space left on device\n"},
    };
    for (const Case& c : cases) {
        Outcome outcome = runCli(c.args);
        EXPECT_EQ(outcome.status, 1) << c.err;
        EXPECT_EQ(outcome.err, c.err);
        EXPECT_EQ(outcome.out, "") << c.err;
    }
    EXPECT_FALSE(std::filesystem::exists("a.csv"));
    EXPECT_FALSE(std::filesystem::exists("b.csv"));
}

TEST(CliUsage, DashAsOutputIsStandardOutput) {
    TempDir dir;
    writeBytes(dir.path("in.csv"), kScript);
    Outcome outcome = runCli({"renumber-lines", dir.path("in.csv"), "-o", "-"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, kRenumbered);
    EXPECT_FALSE(std::filesystem::exists(dir.path("-")));
    EXPECT_FALSE(std::filesystem::exists("-"));
}

struct BinaryRun {
    int status;
    std::string out;
};

// Runs a shell command and keeps what it printed.
BinaryRun runShell(const std::string& command) {
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

// Runs the real program; its standard error joins standard output.
BinaryRun runBinary(const std::string& arguments, const std::string& environment = "") {
    return runShell(environment + FULGOR_EXE + " " + arguments + " 2>&1");
}

TEST(CliBinary, RefusesUnknownWordsAndAWindowWithoutADisplay) {
    const std::string noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";
    BinaryRun typo = runBinary("chek x.kvn", "QT_QPA_PLATFORM=offscreen ");
    EXPECT_EQ(typo.status, 1);
    EXPECT_EQ(typo.out, cli::unknownCommandMessage("chek"));
    BinaryRun unknown = runBinary("frobnicate x.csv", noDisplay);
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.out, cli::unknownCommandMessage("frobnicate"));
    BinaryRun window = runBinary("", noDisplay);
    EXPECT_EQ(window.status, 1);
    EXPECT_EQ(window.out, cli::decideLaunch({}, false).message);
}

TEST(CliBinary, WritesThroughStandardOutputAndPipes) {
    TempDir dir;
    writeBytes(dir.path("in.csv"), kScript);
    // /dev/stdout is a link to the pipe popen reads: the script goes down the pipe.
    BinaryRun toStdout = runBinary("renumber-lines " + dir.path("in.csv") + " -o /dev/stdout");
    EXPECT_EQ(toStdout.status, 0) << toStdout.out;
    EXPECT_EQ(toStdout.out, kRenumbered);
    EXPECT_TRUE(std::filesystem::is_symlink(std::filesystem::symlink_status("/dev/stdout")));

    BinaryRun full = runBinary("renumber-lines " + dir.path("in.csv") + " -o /dev/full");
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.out,
              "fulgor renumber-lines: Cannot save \"/dev/full\": No space left on device\n");
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));

    // A reader that leaves early makes the write fail with status 1, not a silent death.
    writeBytes(dir.path("big.csv"), "w,0,t\r\n" + std::string(1 << 20, '\n'));
    BinaryRun early =
        runShell("bash -c '" + std::string(FULGOR_EXE) + " renumber-lines " + dir.path("big.csv") +
                 " 2>" + dir.path("err.txt") + " | head -c 10 >/dev/null; echo ${PIPESTATUS[0]}'");
    EXPECT_EQ(early.out, "1\n");
    EXPECT_EQ(readBytes(dir.path("err.txt")),
              "fulgor renumber-lines: Cannot write to standard output\n");
}

}  // namespace
}  // namespace fulgor
