#include <ostream>

#include "app/cli_commands.h"
#include "app/cli_script_io.h"
#include "app/cli_sd_show.h"

namespace fulgor::cli {
namespace {

int run(const Args& args, Io& io) {
    std::optional<SdShowView> view = openSdShowView("sd2talsen", args, io);
    if (!view) return kBadUsage;
    Result<SdToTalsenOutcome> converted = SdToTalsen(*view->events, view->size);
    if (!converted) {
        io.err << "fulgor sd2talsen: " << converted.error() << '\n';
        return kBadUsage;
    }
    // The header a new Talsen script has.
    TalsenScript script;
    script.timeType = "Wave File";
    script.table = std::move(converted.value().table);
    if (!writeTalsenOutput(args, script, io)) return kBadUsage;
    std::string skipped = skippedEventsMessage(converted.value());
    if (skipped.empty()) return kDone;
    io.err << skipped << '\n';
    return kFellShort;
}

}  // namespace

Command sdToTalsenCommand() {
    static const std::string details =
        std::string(
            "  -o OUT.csv        write the Talsen script here (default: standard output)\n") +
        std::string(kSdSizeOptionHelp) + std::string(kSdViewOptionHelp) +
        "Events with an empty time or ADDR, or an ADDR of 4096 or more, are left out and\n"
        "counted; the script is still written and the exit status is 3.\n";
    return {"sd2talsen",
            "SHOW.scx [-o OUT.csv] [--size cal|cghz] [--sort TEXT] [--filter FIELD=TEXT]...",
            "Writes the SD show's visible events as a Talsen script, as Send to Talsen copies "
            "them.",
            details,
            kSdShowOptions,
            run};
}

}  // namespace fulgor::cli
