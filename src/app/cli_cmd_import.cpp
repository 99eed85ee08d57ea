#include <algorithm>
#include <ostream>
#include <vector>

#include "app/cli_commands.h"
#include "app/cli_script_io.h"
#include "conversion/talsen_to_kavrin.h"
#include "files/script_text.h"

namespace fulgor::cli {
namespace {

int run(const Args& args, Io& io) {
    std::string showName = args.value("--show-name").value_or("");
    if (hasLineBreak(showName)) {
        complain(args, io) << "--show-name: " << kShowNameOnOneLine << '\n';
        return kBadUsage;
    }
    std::optional<TalsenScript> talsen = readTalsenInput(args, io);
    if (!talsen) return kBadUsage;
    // The Kavrin rows are made and written a part at a time, so that a large
    // show is never held twice, once as each script.
    constexpr int kPartRows = 1 << 16;
    const Table& rows = talsen->table;
    std::vector<int> untimedRows;
    auto produce = [&](const ByteSink& sink) -> Status {
        if (Status status = writeKavrinShowName(showName, sink); !status) return status;
        for (int first = 0; first < rows.rowCount(); first += kPartRows) {
            KavrinImport part = talsenToKavrin(rows, args.has("--miravel"), first,
                                               std::min(kPartRows, rows.rowCount() - first));
            untimedRows.insert(untimedRows.end(), part.untimedRows.begin(),
                               part.untimedRows.end());
            if (Status status = writeRows(part.table, sink, first); !status) return status;
        }
        return {};
    };
    if (!writeOutputFrom(args, produce, io)) return kBadUsage;
    if (!untimedRows.empty()) {
        io.err << untimedRowsMessage(untimedRows) << '\n';
        return kFellShort;
    }
    return kDone;
}

}  // namespace

Command importCommand() {
    return {"import",
            "SCRIPT.csv [-o SHOW.kvn] [--miravel] [--show-name TEXT]",
            "Builds a Kavrin script from a Talsen script (Import Talsen).",
            "  -o SHOW.kvn          write the Kavrin script here (default: standard output)\n"
            "  --miravel            Miravel timing: keep times in hundredths, unrounded\n"
            "                       (default: rounded to tenths)\n"
            "  --show-name TEXT     the show name, the file's first line, without line breaks\n"
            "                       (default: empty)\n"
            "\nThe firing time is Time less Prefire. Exit status 3, naming the Lines on standard\n"
            "error, when a row's Time or Prefire is not a number or its Prefire is larger than\n"
            "its Time: such rows get an empty Time. The script is still written.\n",
            {{"-o", true}, {"--miravel", false}, {"--show-name", true}},
            run};
}

}  // namespace fulgor::cli
