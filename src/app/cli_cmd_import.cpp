#include <ostream>
#include <vector>

#include "app/cli_commands.h"
#include "app/cli_script_io.h"
#include "conversion/talsen_to_kavrin.h"
#include "core/message_text.h"

namespace fulgor::cli {
namespace {

int run(const Args& args, Io& io) {
    std::string showName = args.value("--show-name").value_or("");
    if (hasLineBreak(showName)) {
        complain(args, io) << "--show-name: " << kShowNameOnOneLine << '\n';
        return kBadUsage;
    }
    // Each Kavrin line is made from its Talsen line and written as the lines
    // are read, so that a large show is never held whole: of its untimed rows
    // only the count and the first few, which the warning names, are kept.
    KavrinLineMaker maker(args.has("--miravel"));
    std::vector<int> untimedRows;
    std::size_t untimedCount = 0;
    bool written = rewriteTalsenLines(
        args, io,
        [&](const TalsenHeader&, const ByteSink& sink) {
            return writeKavrinShowName(showName, sink);
        },
        [&](std::string_view line, int row, std::string& out) {
            if (maker.append(line, row, out)) return;
            if (untimedRows.size() <= kLinesNamed) untimedRows.push_back(row);
            ++untimedCount;
        });
    if (!written) return kBadUsage;
    if (untimedCount > 0) {
        io.err << untimedRowsMessage(untimedRows, untimedCount) << '\n';
        return kFellShort;
    }
    return kDone;
}

}  // namespace

Command importCommand() {
    static const std::string details =
        "  -o SHOW.kvn          write the Kavrin script here (default: standard output)\n"
        "  --miravel            Miravel timing: keep times in hundredths, unrounded\n"
        "                       (default: rounded to tenths)\n"
        "  --show-name TEXT     the show name, the file's first line, without line breaks\n"
        "                       (default: empty)\n"
        "\nThe firing time is Time less Prefire. Exit status 3, naming the Lines on standard\n"
        "error, when a row's Time or Prefire is not a number or its Prefire is larger than\n"
        "its Time: such rows get an empty Time. The script is still written.\n\n" +
        std::string(kPartwiseOutputHelp);
    return {"import",
            "SCRIPT.csv [-o SHOW.kvn] [--miravel] [--show-name TEXT]",
            "Builds a Kavrin script from a Talsen script (Import Talsen).",
            details,
            {{"-o", true}, {"--miravel", false}, {"--show-name", true}},
            run};
}

}  // namespace fulgor::cli
