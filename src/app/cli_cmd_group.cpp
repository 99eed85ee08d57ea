#include <ostream>

#include "addressing/addressing_texts.h"
#include "addressing/group_shots.h"
#include "app/cli_commands.h"
#include "app/cli_script_io.h"

namespace fulgor::cli {
namespace {

int run(const Args& args, Io& io) {
    std::optional<KavrinScript> show = readKavrinInput(args, io);
    if (!show) return kBadUsage;
    GroupShotsOutcome outcome = groupShots(show->table, args.has("--miravel"));
    if (!writeKavrinOutput(args, *show, io)) return kBadUsage;
    if (outcome.exceeded()) {
        io.err << kFireMemoryExceeded << '\n';
        return kFellShort;
    }
    return kDone;
}

}  // namespace

Command groupCommand() {
    return {"group",
            "SHOW.kvn [-o OUT.kvn] [--miravel]",
            "Sorts a Kavrin script by time and numbers its shots (Group Shots).",
            "  -o OUT.kvn   write the script here (default: standard output)\n"
            "  --miravel    Miravel timing: the panel holds 3168 shots (default: 550)\n"
            "\nExit status 3 when the show has more shots than the panel holds; the script is\n"
            "still written.\n",
            {{"-o", true}, {"--miravel", false}},
            run};
}

}  // namespace fulgor::cli
