#include "addressing/renumber_lines.h"
#include "app/cli_commands.h"
#include "app/cli_script_io.h"
#include "files/talsen_file.h"

namespace fulgor::cli {
namespace {

int run(const Args& args, Io& io) {
    bool written = rewriteTalsenInput(args, io, writeTalsenHeader,
                                      [](Table& part, int rowsBefore, const ByteSink& sink) {
                                          renumberLines(part, rowsBefore);
                                          return writeRows(part, sink, rowsBefore);
                                      });
    return written ? kDone : kBadUsage;
}

}  // namespace

Command renumberLinesCommand() {
    static const std::string details =
        "  -o OUT.csv   write the script here (default: standard output)\n\n" +
        std::string(kPartwiseOutputHelp);
    return {"renumber-lines",
            "SCRIPT.csv [-o OUT.csv]",
            "Numbers the Line column 1, 2, 3 ... in the present row order and writes the Talsen "
            "script.",
            details,
            {{"-o", true}},
            run};
}

}  // namespace fulgor::cli
