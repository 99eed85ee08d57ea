#include <ostream>

#include "app/cli_commands.h"
#include "app/cli_pd_output.h"
#include "app/cli_script_io.h"
#include "conversion/pd_script.h"
#include "core/script_columns.h"

namespace fulgor::cli {
namespace {

// The firing order and the records read Time, Prefire, Mod, Pin and Size, and
// Line once the rows are numbered: the other columns are never read in, nor
// held. Time is read only as a number, by the sort and again by each record;
// Line is numbered anew.
constexpr ColumnSet kKept = columnSet(
    {talsen::Line, talsen::Size, talsen::Time, talsen::Prefire, talsen::Mod, talsen::Pin});
constexpr ColumnsRead kColumnsUsed{kKept, columnSet({talsen::Line, talsen::Time})};
constexpr PdColumns kHeldColumns{
    heldColumn(kKept, talsen::Line), heldColumn(kKept, talsen::Size),
    heldColumn(kKept, talsen::Time), heldColumn(kKept, talsen::Prefire),
    heldColumn(kKept, talsen::Mod),  heldColumn(kKept, talsen::Pin)};

int run(const Args& args, Io& io) {
    std::optional<TalsenScript> script = readTalsenInput(args, io, kColumnsUsed);
    if (!script) return kBadUsage;
    // The text goes out a piece at a time, never held whole; a script refused
    // part-way leaves no output.
    PdScript pd;
    Status refusal;
    const ByteProducer produce = [&](const ByteSink& sink) -> Status {
        Status sinkFailure;
        Result<PdScript> made = TalsenToPd(
            script->table, [&](std::string_view piece) { return sinkFailure = sink(piece); },
            kHeldColumns);
        if (!made) {
            if (sinkFailure) refusal = Error{made.error()};
            return Error{made.error()};
        }
        pd = std::move(made.value());
        return sink(pd.text);
    };
    if (!writeWholeOutputFrom(args, produce, io, refusal)) {
        if (refusal.ok()) return kBadUsage;  // the output failed, and was reported
        io.err << refusal.error() << '\n';
        return kFellShort;
    }
    printPdStats(pd, io);
    return kDone;
}

}  // namespace

Command formatPdCommand() {
    return {"format-pd",
            "SCRIPT.csv [-o PD.txt]",
            "Writes the PD script of a Talsen script, as Format TS as PD Script puts it into "
            "the holding pen.",
            "  -o PD.txt  write the PD text here (default: standard output)\n"
            "The rows are put in firing order and numbered; rows without a time, prefire,\n"
            "module or pin are left out. A script whose addresses are not made for PD\n"
            "(module 80 or more, a pin other than one hex digit) is refused with status 3\n"
            "and nothing is written. The show statistics go to standard error.\n",
            {{"-o", true}},
            run};
}

}  // namespace fulgor::cli
