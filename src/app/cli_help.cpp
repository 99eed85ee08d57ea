#include "app/cli_help.h"

#include <array>
#include <ostream>
#include <sstream>
#include <string>

namespace fulgor::cli {
namespace {

constexpr std::string_view kPurpose = "fireworks firing scripts, from the design to the panel";

struct UsageLine {
    std::string_view synopsis;
    std::string_view meaning;
};
constexpr std::array<UsageLine, 6> kUsage = {{
    {"fulgor [FILE...]",
     "open the window, loading each .csv (Talsen), .kvn (Kavrin) or .scx (SD) file"},
    {"fulgor SUBCOMMAND [ARGS]", "run one command without a window"},
    {"fulgor SUBCOMMAND --help", "describe a subcommand's options"},
    {"fulgor help | --help", "this text"},
    {"fulgor --version", "the program's version"},
    {"fulgor --man", "this text as the manual page fulgor(1), in roff"},
}};

constexpr std::string_view kOutputNote =
    "Without -o (or with -o -) a subcommand writes its result to standard output; messages go "
    "to\nstandard error. Input files may hold at most 2 GiB.\n";
constexpr std::string_view kExitStatus =
    "Exit status: 0 done; 1 bad usage or unreadable input; 3 the command refused or fell short\n"
    "(its output is still written); 4 the conflict check found conflicts, or an address\n"
    "is used twice (usage).\n";

// Text safe to put in roff: backslashes and hyphens escaped, and no line
// taken for a request because it starts with a dot or a quote.
std::string roff(std::string_view text) {
    std::string out;
    bool lineStart = true;
    for (char c : text) {
        if (lineStart && (c == '.' || c == '\'')) out += "\\&";
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else {
            out += c;
        }
        lineStart = c == '\n';
    }
    return out;
}

std::string commandSynopsis(const Command& command) {
    return "fulgor " + std::string(command.name) + ' ' + std::string(command.usage);
}

}  // namespace

void printHelp(std::ostream& out) {
    out << "Fulgor: " << kPurpose << ".\n\nUsage:\n";
    for (const UsageLine& line : kUsage) {
        std::string synopsis(line.synopsis);
        synopsis.resize(std::max<std::size_t>(synopsis.size() + 2, 26), ' ');
        out << "  " << synopsis << line.meaning << '\n';
    }
    out << "\nSubcommands:\n";
    for (const Command& command : commands()) {
        out << "  " << command.name << ' ' << command.usage << "\n      " << command.summary
            << '\n';
    }
    out << '\n' << kOutputNote << kExitStatus;
}

void printCommandHelp(const Command& command, std::ostream& out) {
    out << "Usage: " << commandSynopsis(command) << "\n\n" << command.summary << "\n";
    if (!command.details.empty()) out << '\n' << command.details;
}

void printManPage(std::ostream& out, std::string_view version) {
    out << ".TH FULGOR 1 \"\" \"" << roff(version) << "\" \"User Commands\"\n"
        << ".SH NAME\nfulgor \\- " << roff(kPurpose) << "\n.SH SYNOPSIS\n";
    for (const UsageLine& line : kUsage) {
        out << ".TP\n.B " << roff(line.synopsis) << '\n' << roff(line.meaning) << '\n';
    }
    out << ".SH DESCRIPTION\n" << roff(kOutputNote) << ".SH SUBCOMMANDS\n";
    for (const Command& command : commands()) {
        out << ".SS\n" << roff(commandSynopsis(command)) << '\n' << roff(command.summary) << '\n';
        if (!command.details.empty())
            out << ".PP\n.nf\n"
                << roff(command.details) << (command.details.ends_with('\n') ? "" : "\n")
                << ".fi\n";
    }
    out << ".SH EXIT STATUS\n" << roff(kExitStatus);
}

}  // namespace fulgor::cli
