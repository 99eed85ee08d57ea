// The command line against outputs that cannot be written and argument lists
// made up at random: status 1 with a message, never an abort or a lost file.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>

#include "files/file_io.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace fulgor {
namespace {

namespace fs = std::filesystem;
using test::namesIn;
using test::readBytes;
using test::runCli;
using test::TempDir;
using test::writeBytes;

// Every subcommand that writes a file, on the example show in a folder of its own.
struct Writer {
    std::vector<std::string> args;  // {command, input}; the output option follows
    const char* outputOption;
};

std::vector<Writer> writers(const TempDir& dir) {
    const std::string csv = dir.path("show.csv"), kvn = dir.path("show.kvn"),
                      scx = dir.path("show.scx");
    return {{{"renumber", csv}, "-o"},  {{"renumber-lines", csv}, "-o"}, {{"import", csv}, "-o"},
            {{"format-pd", csv}, "-o"}, {{"group", kvn}, "-o"},          {{"check", kvn}, "-o"},
            {{"format-kv", kvn}, "-o"}, {{"sd2talsen", scx}, "-o"},      {{"sd2pd", scx}, "-o"},
            {{"print", csv}, "--pdf"}};
}

void copyExamples(const TempDir& dir) {
    for (const char* name : {"csv", "kvn", "scx"}) {
        fs::copy_file(std::string(FULGOR_EXAMPLES) + "/midsummer_finale." + name,
                      dir.path(std::string("show.") + name));
    }
}

TEST(CliFailedSave, EveryOutputKeepsTheOldFileAndLeavesNoTemporaryFile) {
    TempDir dir;
    copyExamples(dir);
    const std::string out = dir.path("out");
    fs::create_directory(dir.path("folder"));
    const std::set<std::string> names = {"show.csv", "show.kvn", "show.scx", "out", "folder"};
    struct Fault {
        const char* what;
        WriteFault fault;
        std::string target;
        std::string reason;
    };
    const std::string full = "No space left on device";
    const Fault faults[] = {
        {"disk full at byte 5", {.failAfterBytes = 5, .writeError = ENOSPC}, out, full},
        {"disk full at once", {.failAfterBytes = 0, .writeError = ENOSPC}, out, full},
        {"rename refused", {.renameError = EACCES}, out, "Permission denied"},
        {"target is a folder", {}, dir.path("folder"), "Is a directory"},
        {"a full device", {}, "/dev/full", full}};
    for (const Writer& writer : writers(dir)) {
        for (const Fault& f : faults) {
            writeBytes(out, "the old output");
            std::vector<std::string> args = writer.args;
            args.insert(args.end(), {writer.outputOption, f.target});
            test::CliOutcome outcome = [&] {
                ScopedWriteFault fault(f.fault);
                return runCli(args);
            }();
            std::string context = args[0] + ", " + f.what;
            EXPECT_EQ(outcome.status, 1) << context << "\n" << outcome.err;
            std::string message =
                "fulgor " + args[0] + ": Cannot save \"" + f.target + "\": " + f.reason + "\n";
            ASSERT_GE(outcome.err.size(), message.size()) << context << "\n" << outcome.err;
            EXPECT_EQ(outcome.err.substr(outcome.err.size() - message.size()), message)
                << context << "\n"
                << outcome.err;
            EXPECT_EQ(readBytes(out), "the old output") << context;
            EXPECT_EQ(namesIn(dir.root()), names) << context;
        }
    }
}

// An input that cannot be read is named as the reason, never taken for a
// failed save, though a command that works row by row has begun its output
// by the time it meets an empty file: the old output stays, no temporary
// file is left, and nothing reaches standard output.
TEST(CliFailedRead, EveryWriterNamesTheInputAndKeepsTheOldOutput) {
    TempDir dir;
    copyExamples(dir);
    const std::string out = dir.path("out");
    writeBytes(dir.path("empty.csv"), "");
    const std::set<std::string> names = {"show.csv", "show.kvn", "show.scx", "out", "empty.csv"};
    for (const Writer& writer : writers(dir)) {
        const std::string& command = writer.args[0];
        const std::string& input = writer.args[1];
        const std::string missing = dir.path("none" + input.substr(input.rfind('.')));
        // {input, reason}
        std::vector<std::pair<std::string, std::string>> unreadable = {
            {missing, "Cannot open \"" + missing + "\": No such file or directory" +
                          (input.ends_with(".scx") ? "." : "")}};
        if (input.ends_with(".csv")) {
            const std::string empty = dir.path("empty.csv");
            unreadable.emplace_back(
                empty, "Cannot read \"" + empty + "\": the file is empty, not a Talsen script");
        }
        for (const auto& [path, reason] : unreadable) {
            writeBytes(out, "the old output");
            test::CliOutcome saved = runCli({command, path, writer.outputOption, out});
            EXPECT_EQ(saved.status, 1) << command << " " << path;
            EXPECT_EQ(saved.err, "fulgor " + command + ": " + reason + "\n");
            EXPECT_EQ(readBytes(out), "the old output") << command;
            EXPECT_EQ(namesIn(dir.root()), names) << command;
            if (writer.outputOption == std::string("-o")) {
                test::CliOutcome shown = runCli({command, path});
                EXPECT_EQ(shown.status, 1) << command;
                EXPECT_EQ(shown.err, saved.err);
                EXPECT_EQ(shown.out, "") << command;
            }
        }
    }
}

// Argument lists drawn from the words the command line knows and words it
// must refuse. Whatever the list, the program answers with one of its exit
// statuses; a list its parser refuses gets status 1 and the usage line.
TEST(CliArguments, GeneratedArgumentListsGiveAStatusAndNeverAbort) {
    TempDir dir;
    copyExamples(dir);
    fs::create_directory(dir.path("folder"));
    // Port numbers must never reach a real serial device, and relative output
    // names land in the test's folder.
    ::setenv("FULGOR_PORT_1", dir.path("no-such-port").c_str(), 1);
    const fs::path previousFolder = fs::current_path();
    fs::current_path(dir.root());
    std::vector<std::string> words = {
        "help",   "--help", "-h",    "--version",   "-o",          "-",          "--",
        "-x",     "--o",    "",      " ",           "=",           "\xFF\xFE",   "kavrin",
        "talsen", "custom", "fsk",   "pd",          "cal",         "cghz",       "1",
        "0",      "-1",     "1e999", "&H",          "&HFF",        "[CUE] DESC", "[NOPE]",
        "QTY=>2", "CUE=",   "=1",    "Gala\nNight", "TalsenScript"};
    words.emplace_back(5000, 'a');
    for (const char* name :
         {"show.csv", "show.kvn", "show.scx", "missing.csv", "folder", "out.txt", "out.pdf"})
        words.push_back(dir.path(name));
    for (const cli::Command& command : cli::commands()) {
        words.emplace_back(command.name);
        for (const cli::OptionSpec& option : command.options) {
            words.emplace_back(option.name);
            words.push_back(std::string(option.name) + "=x");
        }
    }
    std::mt19937 random(1406);
    std::uniform_int_distribution<std::size_t> pick(0, words.size() - 1);
    for (int list = 0; list < 1500; ++list) {
        std::vector<std::string> args;
        std::size_t length = std::uniform_int_distribution<std::size_t>(0, 6)(random);
        // Most lists start with a subcommand, so that its parser is reached.
        if (length > 0 && random() % 4 != 0) {
            args.emplace_back(cli::commands()[random() % cli::commands().size()].name);
            --length;
        }
        while (length-- > 0) args.push_back(words[pick(random)]);

        std::string shown;
        for (const std::string& arg : args) shown += "[" + arg.substr(0, 40) + "] ";
        test::CliOutcome outcome = runCli(args);
        EXPECT_TRUE(outcome.status == 0 || outcome.status == 1 || outcome.status == 3 ||
                    outcome.status == 4)
            << shown << outcome.status;
        if (outcome.status == 1) {
            EXPECT_FALSE(outcome.err.empty()) << shown;
        }
        if (args.empty() || !cli::isCliWord(args[0])) continue;
        for (const cli::Command& command : cli::commands()) {
            if (command.name != args[0]) continue;
            std::vector<std::string> rest(args.begin() + 1, args.end());
            bool help = std::find(rest.begin(), rest.end(), "--help") != rest.end();
            if (!help && !cli::parseArgs(rest, command.options)) {
                EXPECT_EQ(outcome.status, 1) << shown;
                EXPECT_NE(outcome.err.find("\nUsage: fulgor " + std::string(command.name) + " "),
                          std::string::npos)
                    << shown << outcome.err;
            }
        }
    }
    fs::current_path(previousFolder);
    ::unsetenv("FULGOR_PORT_1");
    for (const std::string& name : namesIn(dir.root()))
        EXPECT_EQ(name.find(".fulgor-"), std::string::npos)
            << "a temporary file was left: " << name;
}

}  // namespace
}  // namespace fulgor
