#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>

#include "app/hand_over.h"
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

TEST(Cli, HelpVersionAndRenumberLines) {
    Outcome help = runCli({"help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("renumber-lines"), std::string::npos);
    Outcome commandHelp = runCli({"renumber-lines", "--help"});
    EXPECT_EQ(commandHelp.status, 0);
    EXPECT_NE(commandHelp.out.find("-o OUT.csv"), std::string::npos);
    Outcome version = runCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("fulgor ", 0), 0u);

    TempDir dir;
    writeBytes(dir.path("in.csv"), "w.wav,1.5,FSK\n7,a,,,,,,,,,\n2,b,,,,,,,,,\n,c,,,,,,,,,\n");
    Outcome toFile = runCli({"renumber-lines", dir.path("in.csv"), "-o", dir.path("out.csv")});
    EXPECT_EQ(toFile.status, 0) << toFile.err;
    const std::string expected =
        "w.wav,1.50,FSK\r\n1,a,,,,,,,,,\r\n2,b,,,,,,,,,\r\n3,c,,,,,,,,,\r\n";
    EXPECT_EQ(readBytes(dir.path("out.csv")), expected);
    EXPECT_EQ(runCli({"renumber-lines", dir.path("in.csv")}).out, expected);
    // "-" as the output is standard output, not a file of that name.
    Outcome dash = runCli({"renumber-lines", dir.path("in.csv"), "-o", "-"});
    EXPECT_EQ(dash.status, 0) << dash.err;
    EXPECT_EQ(dash.out, expected);
    EXPECT_FALSE(std::filesystem::exists(dir.path("-")) || std::filesystem::exists("-"));
}

// Two neighbours swapped count as one edit; "grp" is two edits from a
// five-letter name, too far for a suggestion.
TEST(CliUsage, UnknownWordsSuggestTheNearestCommandOnlyWhenClose) {
    using Case = std::pair<const char*, const char*>;  // the word, and the suggestion or nullptr
    for (auto [word, suggestion] :
         {Case{"chek", "check"}, Case{"Check", "check"}, Case{"sned", "send"}, Case{"hlep", "help"},
          Case{"renumber-line", "renumber-lines"}, Case{"renumbr", "renumber"},
          Case{"formatkv", "format-kv"}, Case{"imprt", "import"}, Case{"grp", nullptr},
          Case{"chck-it", nullptr}, Case{"frobnicate", nullptr}, Case{"x", nullptr}}) {
        std::string expected = std::string("fulgor: unknown command '") + word + "'";
        if (suggestion) expected += std::string(" (did you mean '") + suggestion + "'?)";
        EXPECT_EQ(cli::unknownCommandMessage(word), expected + "\n" + kHint);
    }
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
        {{dir.path("none")}, true, Kind::Refused, cli::unknownCommandMessage(dir.path("none"))},
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

// The headless program starts without Qt Gui; the drawing subcommands and
// the window are the full program's, found beside the program's own file
// (here a copy alone in a folder, first without one, then with a stand-in).
TEST(CliBinary, LoadsNoQtGuiAndHandsTheDrawingToTheFullProgram) {
    BinaryRun libraries = runShell(std::string("ldd ") + FULGOR_EXE);
    EXPECT_EQ(libraries.status, 0);
    EXPECT_NE(libraries.out.find("libQt6Core.so"), std::string::npos) << libraries.out;
    EXPECT_EQ(libraries.out.find("libQt6Gui.so"), std::string::npos) << libraries.out;
    EXPECT_EQ(libraries.out.find("libQt6Widgets.so"), std::string::npos) << libraries.out;

    TempDir dir;
    const std::string alone = dir.path("fulgor");
    ASSERT_EQ(runShell("cp " + std::string(FULGOR_EXE) + " " + alone).status, 0);
    writeBytes(dir.path("in.csv"), kScript);
    BinaryRun drawing = runShell(alone + " timeline " + dir.path("in.csv") + " --png " +
                                 dir.path("out.png") + " 2>&1");
    EXPECT_EQ(drawing.status, 1);
    EXPECT_EQ(drawing.out, "fulgor: cannot start \"" + dir.path("fulgor-gui") +
                               "\": No such file or directory\n");
    BinaryRun renumbered = runShell(alone + " renumber-lines " + dir.path("in.csv") + " 2>&1");
    EXPECT_EQ(renumbered.status, 0) << renumbered.out;

    // A stand-in for the full program shows what it is handed: the arguments
    // as given, and glibc told to use huge pages, added to what was set.
    writeBytes(dir.path("fulgor-gui"), "#!/bin/sh\necho \"$GLIBC_TUNABLES|$#|$*\"\n");
    ASSERT_EQ(runShell("chmod +x " + dir.path("fulgor-gui")).status, 0);
    BinaryRun handed = runShell("env -u GLIBC_TUNABLES " + alone + " timeline 'a b.csv' --png x");
    EXPECT_EQ(handed.out, "glibc.malloc.hugetlb=1|4|timeline a b.csv --png x\n");
    handed = runShell("GLIBC_TUNABLES=glibc.malloc.check=0 " + alone + " print s.kvn");
    EXPECT_EQ(handed.out, "glibc.malloc.check=0:glibc.malloc.hugetlb=1|2|print s.kvn\n");
}

TEST(CliHandOver, AHugePageTunableIsAddedUnlessOneIsSet) {
    EXPECT_EQ(cli::withHugePageTunable(nullptr), "glibc.malloc.hugetlb=1");
    EXPECT_EQ(cli::withHugePageTunable(""), "glibc.malloc.hugetlb=1");
    EXPECT_EQ(cli::withHugePageTunable("glibc.malloc.arena_max=2"),
              "glibc.malloc.arena_max=2:glibc.malloc.hugetlb=1");
    EXPECT_EQ(cli::withHugePageTunable("glibc.malloc.hugetlb=0"), "glibc.malloc.hugetlb=0");
}

TEST(CliBinary, WritesThroughStandardOutputAndPipes) {
    TempDir dir;
    writeBytes(dir.path("in.csv"), kScript);
    // /dev/stdout is a link to the pipe popen reads: the script goes down the pipe.
    BinaryRun toStdout = runBinary("renumber-lines " + dir.path("in.csv") + " -o /dev/stdout");
    EXPECT_EQ(toStdout.status, 0) << toStdout.out;
    EXPECT_EQ(toStdout.out, "w,0.00,t\r\n1,a,,,,,,,,,\r\n");
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
