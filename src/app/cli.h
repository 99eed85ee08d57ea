#pragma once
// The headless command line: `fulgor SUBCOMMAND ...`. Each subcommand runs the
// same code as its button in the window, without the confirmation questions,
// writes its result to the file given with -o (or standard output) and its
// messages to standard error.

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli_args.h"

namespace fulgor::cli {

enum ExitCode {
    kDone = 0,
    kBadUsage = 1,   // bad usage or unreadable input
    kFellShort = 3,  // the command refused or fell short; its output is still written
    kConflicts = 4,  // the conflict check found conflicts; its output is still written
};

struct Io {
    std::ostream& out;
    std::ostream& err;
};

struct Command {
    std::string_view name;
    std::string_view usage;    // the arguments after the name
    std::string_view summary;  // one line for `fulgor help`
    std::string_view details;  // the options, for `fulgor NAME --help`
    std::vector<OptionSpec> options;
    int (*run)(const Args& args, Io& io);
};

// Every subcommand, in the order `fulgor help` lists them.
std::span<const Command> commands();

// True when `word` names a subcommand or asks for help or the version; the
// program then runs headless.
bool isCliWord(std::string_view word);

// Runs the command line given without the program name; returns the exit status.
int run(std::span<const std::string> args, Io& io);

// Writes `bytes` to the -o file (replacing it safely) or to standard output.
// Reports a failure on `io.err` and returns false.
bool writeOutput(const Args& args, std::string_view bytes, Io& io);

}  // namespace fulgor::cli
