#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace fulgor {
namespace {

using Outcome = test::CliOutcome;
using test::readBytes;
using test::runCli;
using test::TempDir;
using test::writeBytes;

TEST(Cli, HelpAndVersion) {
    Outcome help = runCli({"help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("renumber-lines"), std::string::npos);
    Outcome commandHelp = runCli({"renumber-lines", "--help"});
    EXPECT_EQ(commandHelp.status, 0);
    EXPECT_NE(commandHelp.out.find("-o OUT.csv"), std::string::npos);
    Outcome version = runCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("fulgor ", 0), 0u);
}

TEST(Cli, BadUsageGivesStatusOne) {
    EXPECT_EQ(runCli({"frobnicate"}).status, 1);
    EXPECT_EQ(runCli({"renumber-lines"}).status, 1);
    EXPECT_EQ(runCli({"renumber-lines", "a.csv", "--bogus"}).status, 1);
    EXPECT_EQ(runCli({"renumber-lines", "a.csv", "-o"}).status, 1);
}

TEST(Cli, RenumberLinesWritesTheTalsenFile) {
    TempDir dir;
    writeBytes(dir.path("in.csv"), "w.wav,1.5,FSK\n7,a,,,,,,,,,\n2,b,,,,,,,,,\n,c,,,,,,,,,\n");
    Outcome toFile = runCli({"renumber-lines", dir.path("in.csv"), "-o", dir.path("out.csv")});
    EXPECT_EQ(toFile.status, 0) << toFile.err;
    const std::string expected =
        "w.wav,1.50,FSK\r\n1,a,,,,,,,,,\r\n2,b,,,,,,,,,\r\n3,c,,,,,,,,,\r\n";
    EXPECT_EQ(readBytes(dir.path("out.csv")), expected);
    Outcome toStdout = runCli({"renumber-lines", dir.path("in.csv")});
    EXPECT_EQ(toStdout.out, expected);
}

TEST(Cli, MissingInputNamesTheFile) {
    TempDir dir;
    Outcome missing = runCli({"renumber-lines", dir.path("nowhere.csv")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("nowhere.csv"), std::string::npos);
    EXPECT_NE(missing.err.find("No such file"), std::string::npos) << missing.err;
}

// The real binary runs headless: no display is needed and none is touched.
TEST(CliBinary, RunsWithoutADisplay) {
    TempDir dir;
    writeBytes(dir.path("in.csv"), "w,0,t\r\n9,a,,,,,,,,,\r\n");
    std::string command =
        "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= " + std::string(FULGOR_EXE) +
        " renumber-lines " + dir.path("in.csv") + " -o " + dir.path("out.csv") + " 2>&1";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readBytes(dir.path("out.csv")), "w,0.00,t\r\n1,a,,,,,,,,,\r\n");

    int missing = std::system(
        (std::string(FULGOR_EXE) + " renumber-lines " + dir.path("none.csv") + " 2>/dev/null")
            .c_str());
    EXPECT_EQ(WEXITSTATUS(missing), 1);
}

}  // namespace
}  // namespace fulgor
