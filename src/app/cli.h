#pragma once
// The headless command line: `fulgor SUBCOMMAND ...`. Each subcommand runs the
// same code as its button in the window, without the confirmation questions,
// writes its result to the file given with -o (or standard output) and its
// messages to standard error.

#include <functional>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli_args.h"
#include "files/file_io.h"

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

// What `fulgor ARGS` starts. A first argument that is a subcommand (or help or
// --version) runs headless. Otherwise the window starts when every argument is
// an existing file or ends in .csv, .kvn or .scx, and a display is there;
// anything else is refused with `message` (status 1).
struct Launch {
    enum Kind { Headless, Window, Refused } kind;
    std::string message;  // for Refused: the lines to print on standard error
};
Launch decideLaunch(std::span<const std::string> args, bool displayAvailable);

// True when the environment names a display for the window: DISPLAY,
// WAYLAND_DISPLAY or QT_QPA_PLATFORM set and not empty.
bool displayAvailable();

// "fulgor: unknown command 'WORD'", with the nearest subcommand as a
// suggestion when one is close, and a line pointing at `fulgor help`.
std::string unknownCommandMessage(std::string_view word);

// Runs the command line given without the program name; returns the exit status.
int run(std::span<const std::string> args, Io& io);

// What a program does with its arguments (argv[0] its name): runs the
// command line headless, on standard output and error, refuses, or calls
// `openWindow` (see decideLaunch). Returns the exit status.
int launch(int argc, char* argv[], const std::function<int()>& openWindow);

// Writes `bytes` to the -o file (through the one safe writer) or to standard
// output when -o is absent or "-". Reports a failure on `io.err` and returns false.
bool writeOutput(const Args& args, std::string_view bytes, Io& io);
// The same for bytes made piece by piece, never held whole. A producer that
// reads its input as it writes sets `*inputFailure` when the reading fails,
// which is then reported alone, as a failure to read before any output is.
bool writeOutputFrom(const Args& args, const ByteProducer& produce, Io& io,
                     const Status* inputFailure = nullptr);
// The same for output that is whole or nothing, from a producer that may fail
// part-way for a cause of its own, which it puts in `ownFailure` and the
// command reports: that failure is not reported here. The -o file is only
// replaced once every piece is made, and standard output is given the bytes
// only then, gathered first.
bool writeWholeOutputFrom(const Args& args, const ByteProducer& produce, Io& io,
                          const Status& ownFailure);

// Starts a message of the running subcommand on standard error:
// "fulgor NAME: ".
std::ostream& complain(const Args& args, Io& io);

}  // namespace fulgor::cli
