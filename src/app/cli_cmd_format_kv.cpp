#include <ostream>

#include "addressing/number_shots.h"
#include "app/cli_commands.h"
#include "app/cli_script_io.h"
#include "comms/show_format.h"
#include "core/cp1252.h"
#include "core/script_columns.h"

namespace fulgor::cli {
namespace {

// Shot numbering reads Time, Mod, Shot and Err and writes Line and Shot, which
// the panel text then reads with Pos, Time, Mod and Pin: the other columns are
// never read in, nor held. Time is read only as a number, by the sort, the
// numbering and the panel text in turn, and Line is numbered anew. (Mod and
// Shot as numbers too measured no faster.)
constexpr ColumnSet kKept = columnSet(
    {kavrin::Line, kavrin::Shot, kavrin::Pos, kavrin::Time, kavrin::Mod, kavrin::Pin, kavrin::Err});
constexpr ColumnsRead kColumnsUsed{kKept, columnSet({kavrin::Line, kavrin::Time})};
constexpr kavrin::PanelColumns kHeldColumns{
    heldColumn(kKept, kavrin::Line), heldColumn(kKept, kavrin::Shot),
    heldColumn(kKept, kavrin::Pos),  heldColumn(kKept, kavrin::Time),
    heldColumn(kKept, kavrin::Mod),  heldColumn(kKept, kavrin::Pin),
    heldColumn(kKept, kavrin::Err)};

int run(const Args& args, Io& io) {
    std::optional<KavrinScript> script = readKavrinInput(args, io, kColumnsUsed);
    if (!script) return kBadUsage;
    NumberShots(script->table, {}, {}, kHeldColumns);
    // The panel text goes out a piece at a time, never held whole. A failure
    // of the show itself (a value too large to send, a show name the code
    // page lacks) leaves no output.
    PanelStats panel;
    Status showFailure;
    bool tooLarge = false;
    std::string encoded;
    const ByteProducer produce = [&](const ByteSink& sink) -> Status {
        Status sinkFailure;
        Result<PanelStats> written = writePanelText(
            script->table, script->showName, args.has("--miravel"),
            [&](std::string_view piece) -> Status {
                if (!isAscii(piece)) {
                    encoded.clear();
                    if (Status ok = appendEncoded1252(piece, encoded); !ok)
                        return sinkFailure = showFailure = ok;
                    piece = encoded;
                }
                return sinkFailure = sink(piece);
            },
            {}, {}, kHeldColumns);
        if (!written && sinkFailure) {
            tooLarge = true;
            showFailure = Error{"\"" + args.positional[0] + "\": " + written.error()};
        }
        if (!written) return Error{written.error()};
        panel = std::move(written.value());
        return {};
    };
    if (!writeWholeOutputFrom(args, produce, io, showFailure)) {
        if (!showFailure) complain(args, io) << showFailure.error() << '\n';
        return tooLarge ? kFellShort : kBadUsage;
    }

    const std::int64_t figures[] = {panel.lines, panel.characters, panel.markedRows};
    for (std::size_t i = 0; i < kShowStatsCaptions.size(); ++i) {
        io.err << kShowStatsCaptions[i] << ": " << figures[i] << '\n';
    }
    for (const std::string& warning : sentAsZeroWarnings(panel)) io.err << warning << '\n';
    if (!panel.untimedRows.empty()) {
        io.err << heldBackUntimedMessage(panel.untimedRows) << '\n';
        return kFellShort;
    }
    return kDone;
}

}  // namespace

Command formatKvCommand() {
    return {
        "format-kv",
        "SHOW.kvn [-o PANEL.txt] [--miravel]",
        "Writes the Kavrin panel text of a Kavrin script, as Format KV Script puts it into "
        "the holding pen.",
        "  -o PANEL.txt  write the panel text here (default: standard output)\n"
        "  --miravel     Miravel timing: times in hundredths and \"s\" cue records\n"
        "The show name is the script's first line. Rows marked in Err are not sent; rows\n"
        "with an empty Time are not sent either and make the exit status 3. A Time, Mod or\n"
        "Pin that is not a number is sent as 0, with a warning naming the Lines. A value\n"
        "too large to send (1e999) refuses the whole show with exit status 3. The show\n"
        "statistics (lines, characters, conflicts = rows marked in Err) go to standard error.\n",
        {{"-o", true}, {"--miravel", false}},
        run};
}

}  // namespace fulgor::cli
