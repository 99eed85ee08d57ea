#pragma once
// One definition per subcommand, each in its own cli_cmd_*.cpp file.

#include "app/cli.h"

namespace fulgor::cli {

Command formatKvCommand();
Command renumberLinesCommand();
Command sendCommand();

}  // namespace fulgor::cli
