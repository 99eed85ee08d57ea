#pragma once
// What `fulgor help`, `fulgor NAME --help` and the manual page say. The manual
// page is made from the same texts, so the two never drift apart.

#include <iosfwd>
#include <string_view>

#include "app/cli.h"

namespace fulgor::cli {

// `fulgor help`: how to start the program and every subcommand in one line each.
void printHelp(std::ostream& out);

// `fulgor NAME --help`: the usage, summary and options of one subcommand.
void printCommandHelp(const Command& command, std::ostream& out);

// `fulgor --man`: the manual page fulgor(1) in roff (man macros), with every
// subcommand's usage, summary and options. `version` goes into its title line.
void printManPage(std::ostream& out, std::string_view version);

}  // namespace fulgor::cli
