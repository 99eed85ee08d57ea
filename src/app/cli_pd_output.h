#pragma once
// Writing a PD script and its show statistics, for format-pd and sd2pd.

#include "app/cli.h"
#include "conversion/pd_script.h"

namespace fulgor::cli {

// Writes the text to -o or standard output and the three statistics (records,
// characters, rows left out) to standard error; reports and returns false
// when the text cannot be written.
bool writePdOutput(const Args& args, const PdScript& script, Io& io);

}  // namespace fulgor::cli
