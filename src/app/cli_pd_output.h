#pragma once
// The show statistics of a PD script, for format-pd and sd2pd.

#include "app/cli.h"
#include "conversion/pd_script.h"

namespace fulgor::cli {

// Writes the three statistics (records, characters, rows left out) to standard error.
void printPdStats(const PdScript& script, Io& io);

}  // namespace fulgor::cli
