#include <ostream>

#include "app/cli_commands.h"
#include "app/cli_pd_output.h"
#include "app/cli_sd_show.h"
#include "conversion/sd_read_ahead.h"
#include "conversion/sd_to_pd.h"

namespace fulgor::cli {
namespace {

int run(const Args& args, Io& io) {
    std::optional<SdShowView> view = openSdShowView("sd2pd", args, io);
    if (!view) return kBadUsage;
    // The text goes out a piece at a time, never held whole. What was formed
    // before a failure of the show is kept, as the holding pen keeps it.
    SdToPdOutcome outcome;
    const ByteProducer produce = [&](const ByteSink& sink) -> Status {
        Status sinkFailure;
        // The database is read a batch of events ahead while the records of
        // the last batch are formed.
        ReadAheadSource events(*view->events);
        outcome = SdToPd(events, view->size,
                         [&](std::string_view piece) { return sinkFailure = sink(piece); });
        if (!sinkFailure) return sinkFailure;
        return sink(outcome.script.text);
    };
    if (!writeOutputFrom(args, produce, io)) return kBadUsage;
    if (outcome.failure) {
        io.err << *outcome.failure << '\n';
        return kFellShort;
    }
    printPdStats(outcome.script, io);
    return kDone;
}

}  // namespace

Command sdToPdCommand() {
    static const std::string details =
        std::string("  -o PD.txt         write the PD text here (default: standard output)\n") +
        std::string(kSdSizeOptionHelp) + std::string(kSdViewOptionHelp) +
        "Events with an empty time or ADDR are not fired and are left out. An empty view,\n"
        "a missing value in a fired event or a value too large for its field stops the\n"
        "command with status 3; the records formed before it are still written.\n";
    return {"sd2pd",
            "SHOW.scx [-o PD.txt] [--size cal|cghz] [--sort TEXT] [--filter FIELD=TEXT]...",
            "Writes the SD show's visible events as a PD script, as Format SD as PD Script "
            "puts it into the holding pen.",
            details,
            kSdShowOptions,
            run};
}

}  // namespace fulgor::cli
