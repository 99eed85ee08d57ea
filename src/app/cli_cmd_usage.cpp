#include <ostream>

#include "app/cli_commands.h"
#include "app/cli_script_io.h"
#include "show_view/address_usage.h"

namespace fulgor::cli {
namespace {

int run(const Args& args, Io& io) {
    const std::string format = args.value("--format").value_or("text");
    if (format != "text" && format != "csv") {
        complain(args, io) << "--format must be text or csv, not \"" << format << "\"\n";
        return kBadUsage;
    }
    std::optional<ScriptInput> script = readScriptInput(args, io);
    if (!script) return kBadUsage;
    AddressUsage usage = addressUsage(script->table, script->grid);
    if (!writeOutput(args, format == "csv" ? usageCsv(usage) : usageText(usage), io))
        return kBadUsage;
    if (int shared = usage.sharedAddresses(); shared > 0) {
        io.err << shared << (shared == 1 ? " address is" : " addresses are")
               << " used by more than one cue\n";
        return kConflicts;
    }
    return kDone;
}

}  // namespace

Command usageCommand() {
    return {"usage",
            "SCRIPT.csv|SHOW.kvn [--format text|csv] [-o OUT]",
            "Lists the firing addresses a script uses, per module, and the ones used twice.",
            "  --format text|csv  a table for people (default) or CSV with the columns\n"
            "                     Module, Cues, First, Last (seconds), Pins, Used twice\n"
            "  -o OUT             write it here (default: standard output)\n"
            "Per module: the cues, the first and last firing time and the pins used. An\n"
            "address (module and pin) that two or more cues share is named with their lines,\n"
            "and the exit status is then 4. Cues without a Mod or a Pin are counted apart.\n",
            {{"--format", true}, {"-o", true}},
            run};
}

}  // namespace fulgor::cli
