#include "addressing/renumber_lines.h"
#include "app/cli_commands.h"
#include "app/cli_script_io.h"
#include "core/script_columns.h"
#include "files/talsen_file.h"

namespace fulgor::cli {
namespace {

// Only the Line field of every line changes, so the lines are rewritten as
// they stand rather than read into cells and written back.
int run(const Args& args, Io& io) {
    bool written = rewriteTalsenLines(args, io, writeTalsenHeader, [] {
        return [](std::string_view line, int row, std::string& out) {
            char digits[16];
            appendWithFirstField(line, talsen::ColumnCount, lineText(row, digits), out);
        };
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
