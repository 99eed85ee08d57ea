#include <algorithm>
#include <mutex>
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
    // Lines are made on two threads, so an untimed row may come before one
    // above it: the smallest rows met are the ones kept.
    const bool miravel = args.has("--miravel");
    std::mutex untimedLock;
    std::vector<int> untimedRows;
    std::size_t untimedCount = 0;
    auto untimed = [&](int row) {
        std::lock_guard lock(untimedLock);
        ++untimedCount;
        untimedRows.insert(std::upper_bound(untimedRows.begin(), untimedRows.end(), row), row);
        if (untimedRows.size() > kLinesNamed + 1) untimedRows.pop_back();
    };
    bool written = rewriteTalsenLines(
        args, io,
        [&](const TalsenHeader&, const ByteSink& sink) {
            return writeKavrinShowName(showName, sink);
        },
        [&]() -> LineRewrite {
            return [maker = KavrinLineMaker(miravel), &untimed](std::string_view line, int row,
                                                                std::string& out) mutable {
                if (!maker.append(line, row, out)) untimed(row);
            };
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
