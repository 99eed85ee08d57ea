#pragma once
// The light `fulgor` program links no Qt Gui, so that a headless command
// starts in some 10 ms instead of 25; the window and the subcommands that
// draw are run by the full program, `fulgor-gui`, which lies beside it.

#include "app/cli.h"

namespace fulgor::cli {

// Keeps the program's arguments, to hand them on as they came.
void keepArguments(char* argv[]);

// Runs the full program in this process with the kept arguments. Returns
// only when it cannot be started, having reported why.
int handOver(Io& io);

}  // namespace fulgor::cli
