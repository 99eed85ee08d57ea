#include <ostream>

#include "addressing/addressing_texts.h"
#include "addressing/group_shots.h"
#include "app/cli_commands.h"
#include "app/cli_script_io.h"
#include "core/script_columns.h"

namespace fulgor::cli {
namespace {

// Shot numbering reads Time, Mod, Shot and Err, and changes Line and Shot
// alone: those columns are held, the others written back as the file holds
// them. Time, Mod and Shot are read only as numbers. Pos and Pin, which the
// numbering never reads, are not held.
constexpr ColumnSet kKept =
    columnSet({kavrin::Line, kavrin::Shot, kavrin::Time, kavrin::Mod, kavrin::Err});
constexpr ColumnsRead kColumnsUsed{kKept, columnSet({kavrin::Time, kavrin::Mod, kavrin::Shot})};
constexpr ColumnSet kChanged = columnSet({kavrin::Line, kavrin::Shot});

int run(const Args& args, Io& io) {
    std::optional<HeldKavrinScript> show = holdKavrinInput(args, io, kColumnsUsed);
    if (!show) return kBadUsage;
    GroupShotsOutcome outcome =
        groupShots(show->rows.table, args.has("--miravel"), {}, {}, heldPanelColumns(kKept));
    if (!writeHeldKavrinOutput(args, *show, kChanged, io)) return kBadUsage;
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
