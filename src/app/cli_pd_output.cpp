#include "app/cli_pd_output.h"

#include <ostream>

#include "comms/show_format.h"

namespace fulgor::cli {

void printPdStats(const PdScript& script, Io& io) {
    const std::int64_t figures[] = {script.records, script.characters(), script.skipped};
    for (std::size_t i = 0; i < kShowStatsCaptions.size(); ++i) {
        io.err << kShowStatsCaptions[i] << ": " << figures[i] << '\n';
    }
}

}  // namespace fulgor::cli
