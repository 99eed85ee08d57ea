#include "app/cli.h"

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <new>

#include "app/cli_commands.h"
#include "app/cli_help.h"
#include "files/file_io.h"
#include "files/script_text.h"

namespace fulgor::cli {
namespace {

constexpr std::string_view kVersion = "fulgor " FULGOR_VERSION;

const Command* findCommand(std::string_view name) {
    auto all = commands();
    auto it =
        std::find_if(all.begin(), all.end(), [&](const Command& c) { return c.name == name; });
    return it == all.end() ? nullptr : &*it;
}

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Edits (insert, delete, replace, swap two neighbours) turning `a` into `b`.
std::size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t replace = d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, replace});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

// The subcommand `word` most likely misspells: within one edit for short
// names, more for long ones (a third of the name), so that an unrelated word
// gets no suggestion.
std::optional<std::string_view> nearestCommand(std::string_view word) {
    std::vector<std::string_view> names = {"help"};
    for (const Command& command : commands()) names.push_back(command.name);
    std::optional<std::string_view> best;
    std::size_t bestDistance = SIZE_MAX;
    const std::string typed = lowered(word);
    for (std::string_view name : names) {
        std::size_t distance = editDistance(typed, name);
        if (distance <= std::max<std::size_t>(1, name.size() / 3) && distance < bestDistance) {
            best = name;
            bestDistance = distance;
        }
    }
    return best;
}

bool isScriptFileArgument(const std::string& arg) {
    std::string name = lowered(arg);
    if (name.ends_with(".csv") || name.ends_with(".kvn") || name.ends_with(".scx")) return true;
    std::error_code error;
    return std::filesystem::exists(arg, error) && !std::filesystem::is_directory(arg, error);
}

}  // namespace

std::span<const Command> commands() {
    static const std::vector<Command> all = {
        renumberCommand(), renumberLinesCommand(), importCommand(),   groupCommand(),
        checkCommand(),    formatKvCommand(),      formatPdCommand(), sdToTalsenCommand(),
        sdToPdCommand(),   sendCommand(),          printCommand(),    timelineCommand(),
        usageCommand(),
    };
    return all;
}

bool isCliWord(std::string_view word) {
    return word == "help" || word == "--help" || word == "-h" || word == "--version" ||
           word == "--man" || findCommand(word);
}

std::string unknownCommandMessage(std::string_view word) {
    std::string message = "fulgor: unknown command '" + std::string(word) + "'";
    if (std::optional<std::string_view> near = nearestCommand(word))
        message += " (did you mean '" + std::string(*near) + "'?)";
    return message + "\nRun 'fulgor help' for the list of commands.\n";
}

Launch decideLaunch(std::span<const std::string> args, bool displayAvailable) {
    if (!args.empty() && isCliWord(args[0])) return {Launch::Headless, {}};
    auto notAFile = std::find_if_not(args.begin(), args.end(), isScriptFileArgument);
    if (notAFile != args.end()) return {Launch::Refused, unknownCommandMessage(*notAFile)};
    if (!displayAvailable) {
        return {Launch::Refused,
                "fulgor: the window needs a display, and none is set (DISPLAY, WAYLAND_DISPLAY "
                "or QT_QPA_PLATFORM).\nRun 'fulgor help' for the commands that run without "
                "one.\n"};
    }
    return {Launch::Window, {}};
}

bool displayAvailable() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

int launch(int argc, char* argv[], const std::function<int()>& openWindow) {
    std::vector<std::string> args(argv + 1, argv + argc);
    Launch launch = decideLaunch(args, displayAvailable());
    switch (launch.kind) {
        case Launch::Headless: {
            // A reader that goes away (a closed pipe) makes the write fail with a
            // message instead of killing the process silently.
            std::signal(SIGPIPE, SIG_IGN);
            Io io{std::cout, std::cerr};
            return run(args, io);
        }
        case Launch::Refused:
            std::cerr << launch.message;
            return kBadUsage;
        case Launch::Window:
            break;
    }
    return openWindow();
}

std::ostream& complain(const Args& args, Io& io) {
    return io.err << "fulgor " << args.command << ": ";
}

int run(std::span<const std::string> args, Io& io) {
    if (args.empty() || args[0] == "help" || args[0] == "--help" || args[0] == "-h") {
        if (args.size() > 1) {
            if (const Command* command = findCommand(args[1])) {
                printCommandHelp(*command, io.out);
                return kDone;
            }
            io.err << unknownCommandMessage(args[1]);
            return kBadUsage;
        }
        printHelp(io.out);
        return kDone;
    }
    if (args[0] == "--version") {
        io.out << kVersion << '\n';
        return kDone;
    }
    if (args[0] == "--man") {
        printManPage(io.out, kVersion);
        return kDone;
    }
    const Command* command = findCommand(args[0]);
    if (!command) {
        io.err << unknownCommandMessage(args[0]);
        return kBadUsage;
    }
    auto rest = args.subspan(1);
    if (std::find(rest.begin(), rest.end(), "--help") != rest.end()) {
        printCommandHelp(*command, io.out);
        return kDone;
    }
    Result<Args> parsed = parseArgs(rest, command->options);
    if (!parsed) {
        io.err << "fulgor " << command->name << ": " << parsed.error() << "\nUsage: fulgor "
               << command->name << ' ' << command->usage << '\n';
        return kBadUsage;
    }
    parsed.value().command = command->name;
    try {
        return command->run(parsed.value(), io);
    } catch (const std::bad_alloc&) {
        // The input fit within the read limit but what the command builds from it does not.
        if (parsed.value().positional.size() == 1)
            complain(parsed.value(), io)
                << outOfMemoryReading(parsed.value().positional[0]).message;
        else
            complain(parsed.value(), io) << "there is not enough memory to finish";
        io.err << '\n';
        return kBadUsage;
    }
}

namespace {

// The file named by -o; nothing for standard output.
std::optional<std::string> outputPath(const Args& args) {
    std::optional<std::string> path = args.value("-o");
    if (path == "-") return std::nullopt;
    return path;
}

// What went wrong writing the output, as the command reports it; empty when
// nothing did.
std::string outputFailure(const Args& args, const ByteProducer& produce, Io& io) {
    if (std::optional<std::string> path = outputPath(args)) {
        Status status = writeFileFrom(*path, produce);
        return status ? std::string() : status.error();
    }
    bool streamFailed = false;
    Status made = produce([&](std::string_view piece) -> Status {
        io.out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
        if (io.out) return {};
        streamFailed = true;
        return Error{"Cannot write to standard output"};
    });
    if (made) io.out.flush();
    if (streamFailed || (made && !io.out)) return "Cannot write to standard output";
    if (!made) return "Cannot write the output: " + made.error();
    return {};
}

}  // namespace

bool writeOutputFrom(const Args& args, const ByteProducer& produce, Io& io,
                     const Status* inputFailure) {
    std::string failure = outputFailure(args, produce, io);
    if (failure.empty()) return true;
    if (inputFailure && !*inputFailure) failure = inputFailure->error();
    complain(args, io) << failure << '\n';
    return false;
}

bool writeWholeOutputFrom(const Args& args, const ByteProducer& produce, Io& io,
                          const Status& ownFailure) {
    std::string failure;
    if (outputPath(args)) {
        failure = outputFailure(args, produce, io);
    } else {
        Result<std::string> bytes = gatherBytes(produce);
        failure = outputFailure(
            args,
            [&bytes](const ByteSink& sink) -> Status {
                if (!bytes) return Error{bytes.error()};
                return sink(bytes.value());
            },
            io);
    }
    if (failure.empty()) return true;
    if (ownFailure) complain(args, io) << failure << '\n';
    return false;
}

bool writeOutput(const Args& args, std::string_view bytes, Io& io) {
    return writeOutputFrom(
        args, [bytes](const ByteSink& sink) { return sink(bytes); }, io);
}

}  // namespace fulgor::cli
