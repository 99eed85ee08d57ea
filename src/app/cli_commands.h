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

}  // namespace fulgor::cli
