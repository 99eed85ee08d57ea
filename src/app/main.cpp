// Fulgor runs headless when the first argument names a subcommand (it then
// never touches a display); given only script files, or nothing, it opens its
// window and loads them; anything else is a usage error. This program runs the
// headless commands that need no drawing; the window and the drawing are the
// full program's (see hand_over.h).

#include <iostream>

#include "app/cli.h"
#include "app/hand_over.h"

int main(int argc, char* argv[]) {
    fulgor::cli::keepArguments(argv);
    return fulgor::cli::launch(argc, argv, [] {
        fulgor::cli::Io io{std::cout, std::cerr};
        return fulgor::cli::handOver(io);
    });
}
