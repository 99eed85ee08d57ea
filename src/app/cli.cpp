#include "app/cli.h"

#include <algorithm>
#include <iostream>

#include "app/cli_commands.h"
#include "files/file_io.h"

namespace fulgor::cli {
namespace {

constexpr std::string_view kVersion = "fulgor " FULGOR_VERSION;

void printHelp(std::ostream& out) {
    out << "Fulgor: fireworks firing scripts, from the design to the panel.\n\n"
           "Usage:\n"
           "  fulgor [FILE...]          open the window, loading each .csv (Talsen) or .kvn "
           "(Kavrin) file\n"
           "  fulgor SUBCOMMAND [ARGS]  run one command without a window\n"
           "  fulgor SUBCOMMAND --help  describe a subcommand's options\n"
           "  fulgor help | --help      this text\n"
           "  fulgor --version          the program's version\n\n"
           "Subcommands:\n";
    for (const Command& command : commands()) {
        out << "  " << command.name << ' ' << command.usage << "\n      " << command.summary
            << '\n';
    }
    out << "\nWithout -o a subcommand writes its result to standard output; messages go to "
           "standard error.\n"
           "Exit status: 0 done; 1 bad usage or unreadable input; 3 the command refused or fell "
           "short\n"
           "(its output is still written); 4 the conflict check found conflicts.\n";
}

void printCommandHelp(const Command& command, std::ostream& out) {
    out << "Usage: fulgor " << command.name << ' ' << command.usage << "\n\n"
        << command.summary << "\n";
    if (!command.details.empty()) out << '\n' << command.details;
}

const Command* findCommand(std::string_view name) {
    auto all = commands();
    auto it =
        std::find_if(all.begin(), all.end(), [&](const Command& c) { return c.name == name; });
    return it == all.end() ? nullptr : &*it;
}

}  // namespace

std::span<const Command> commands() {
    static const std::vector<Command> all = {
        renumberCommand(), renumberLinesCommand(), importCommand(),   groupCommand(),
        checkCommand(),    formatKvCommand(),      formatPdCommand(), sdToTalsenCommand(),
        sdToPdCommand(),   sendCommand(),
    };
    return all;
}

bool isCliWord(std::string_view word) {
    return word == "help" || word == "--help" || word == "-h" || word == "--version" ||
           findCommand(word);
}

int run(std::span<const std::string> args, Io& io) {
    if (args.empty() || args[0] == "help" || args[0] == "--help" || args[0] == "-h") {
        if (args.size() > 1) {
            if (const Command* command = findCommand(args[1])) {
                printCommandHelp(*command, io.out);
                return kDone;
            }
            io.err << "fulgor: unknown subcommand \"" << args[1] << "\"\n";
            return kBadUsage;
        }
        printHelp(io.out);
        return kDone;
    }
    if (args[0] == "--version") {
        io.out << kVersion << '\n';
        return kDone;
    }
    const Command* command = findCommand(args[0]);
    if (!command) {
        io.err << "fulgor: unknown subcommand \"" << args[0] << "\" (see fulgor help)\n";
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
    return command->run(parsed.value(), io);
}

bool writeOutput(const Args& args, std::string_view bytes, Io& io) {
    if (std::optional<std::string> path = args.value("-o")) {
        if (Status status = writeFileAtomically(*path, bytes); !status) {
            io.err << "fulgor: " << status.error() << '\n';
            return false;
        }
        return true;
    }
    io.out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    io.out.flush();
    if (!io.out) {
        io.err << "fulgor: cannot write to standard output\n";
        return false;
    }
    return true;
}

}  // namespace fulgor::cli
