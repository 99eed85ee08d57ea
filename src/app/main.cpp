// Fulgor runs headless when the first argument names a subcommand. The window
// is not built yet, so any other start prints the command line's help.

#include <iostream>
#include <string>
#include <vector>

#include "app/cli.h"

int main(int argc, char* argv[]) {
    std::vector<std::string> args(argv + 1, argv + argc);
    fulgor::cli::Io io{std::cout, std::cerr};
    if (args.empty() || !fulgor::cli::isCliWord(args[0])) args = {"help"};
    return fulgor::cli::run(args, io);
}
