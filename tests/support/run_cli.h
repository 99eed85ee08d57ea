#pragma once
// Runs the command line in-process and keeps what it printed.

#include <sstream>
#include <string>
#include <vector>

#include "app/cli.h"

namespace fulgor::test {

struct CliOutcome {
    int status;
    std::string out;
    std::string err;
};

inline CliOutcome runCli(std::vector<std::string> args) {
    std::ostringstream out, err;
    cli::Io io{out, err};
    int status = cli::run(args, io);
    return {status, out.str(), err.str()};
}

}  // namespace fulgor::test
