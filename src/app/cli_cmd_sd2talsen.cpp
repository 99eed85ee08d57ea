#include <ostream>
#include <utility>

#include "app/cli_commands.h"
#include "app/cli_script_io.h"
#include "app/cli_sd_show.h"
#include "core/in_order_worker.h"
#include "core/script_columns.h"
#include "files/script_text.h"

namespace fulgor::cli {
namespace {

int run(const Args& args, Io& io) {
    std::optional<SdShowView> view = openSdShowView("sd2talsen", args, io);
    if (!view) return kBadUsage;
    // The rows are written a part at a time as they are converted, so that a
    // large show is never held whole. A database that fails part-way leaves
    // no output.
    SdToTalsenOutcome outcome;
    Status readFailure;
    const ByteProducer produce = [&](const ByteSink& sink) -> Status {
        // The header a new Talsen script has.
        TalsenHeader header;
        header.timeType = "Wave File";
        if (Status begun = writeTalsenHeader(header, sink); !begun) return begun;
        // Each part is written on a helper thread while the next is
        // converted: the taker keeps the part's rows and hands back the table
        // it wrote before. (Reading the events ahead on a thread of their
        // own, as sd2pd does, measured no faster here: with the writing, the
        // two processors were already busy.)
        Table writing(0, talsen::ColumnCount);
        Status sinkFailure;
        InOrderWorker writer(1);
        Result<SdToTalsenOutcome> converted = SdToTalsen(
            *view->events, view->size,
            [&](Table& part, int rowsBefore) -> Status {
                if (Status written = writer.finish(); !written) return written;
                std::swap(part, writing);
                return writer.add(
                    [&, rowsBefore] { return sinkFailure = writeRows(writing, sink, rowsBefore); });
            },
            kPartRows);
        const Status lastWritten = writer.finish();
        if (!converted) {
            if (sinkFailure) readFailure = Error{converted.error()};
            return Error{converted.error()};
        }
        if (!lastWritten) return lastWritten;
        outcome = std::move(converted.value());
        return {};
    };
    if (!writeWholeOutputFrom(args, produce, io, readFailure)) {
        if (!readFailure) complain(args, io) << readFailure.error() << '\n';
        return kBadUsage;
    }
    std::string skipped = skippedEventsMessage(outcome);
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
