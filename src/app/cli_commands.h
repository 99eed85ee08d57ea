#pragma once
// One definition per subcommand, each in its own cli_cmd_*.cpp file.

#include "app/cli.h"

namespace fulgor::cli {

Command renumberCommand();
Command renumberLinesCommand();
Command importCommand();
Command groupCommand();
Command checkCommand();
Command formatKvCommand();
Command sendCommand();
Command formatPdCommand();
Command sdToTalsenCommand();
Command sdToPdCommand();
Command printCommand();
Command timelineCommand();
Command usageCommand();

// The work of the subcommands that draw. It needs Qt Gui, which would cost
// every headless run some 10 ms to load, so the light `fulgor` program leaves
// it out: there these hand the run to the full program (see hand_over.h);
// the full program and the tests link the drawing itself (cli_draw_*.cpp).
int drawPrint(const Args& args, Io& io);
int drawTimeline(const Args& args, Io& io);

}  // namespace fulgor::cli
