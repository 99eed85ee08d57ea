#include "app/cli_pd_output.h"

#include <ostream>

#include "comms/show_format.h"

namespace fulgor::cli {

bool writePdOutput(const Args& args, const PdScript& script, Io& io) {
    if (!writeOutput(args, script.text, io)) return false;
    const std::int64_t figures[] = {script.records, script.characters(), script.skipped};
    for (std::size_t i = 0; i < kShowStatsCaptions.size(); ++i) {
        io.err << kShowStatsCaptions[i] << ": " << figures[i] << '\n';
    }
    return true;
}

}  // namespace fulgor::cli
