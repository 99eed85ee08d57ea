#include <ostream>

#include "addressing/addressing_texts.h"
#include "addressing/conflict_check.h"
#include "app/cli_commands.h"
#include "app/cli_numbering.h"
#include "app/cli_script_io.h"
#include "core/script_columns.h"

namespace fulgor::cli {
namespace {

// The check reads Shot, Time, Mod, Pin and Err, and Pos too under the rules
// that read it, and changes Line, Shot and Err alone: those columns are held,
// the others written back as the file holds them, a column no rule reads
// costing nothing to read and no memory to hold. All but Err are read only
// as numbers.
ColumnSet keptColumns(const ConflictRules& rules) {
    ColumnSet kept = columnSet(
        {kavrin::Line, kavrin::Shot, kavrin::Time, kavrin::Mod, kavrin::Pin, kavrin::Err});
    if (rules.readsPosition()) kept |= columnSet({kavrin::Pos});
    return kept;
}
constexpr ColumnSet kChanged = columnSet({kavrin::Line, kavrin::Shot, kavrin::Err});

int run(const Args& args, Io& io) {
    std::optional<NumberingOption> option = numberingOption(args, io);
    if (!option) return kBadUsage;
    const ConflictRules rules{args.has("--miravel"), *option == NumberingOption::Talsen};
    const ColumnSet kept = keptColumns(rules);
    std::optional<HeldKavrinScript> show =
        holdKavrinInput(args, io, {kept, kept & ~columnSet({kavrin::Line, kavrin::Err})});
    if (!show) return kBadUsage;
    ConflictReport report = checkConflicts(show->rows.table, rules, {}, {}, heldPanelColumns(kept));
    if (!writeHeldKavrinOutput(args, *show, kChanged, io)) return kBadUsage;
    if (report.grouping.exceeded()) io.err << kFireMemoryExceeded << '\n';
    if (report.conflicts > 0) {
        io.err << conflictMessageText(report.conflicts) << '\n';
        return kConflicts;
    }
    return report.grouping.exceeded() ? kFellShort : kDone;
}

}  // namespace

Command checkCommand() {
    static const std::string details =
        "  -o OUT.kvn           write the checked script here (default: standard output)\n"
        "  --miravel            Miravel timing: 3168 shots, and only the time rule unless\n"
        "                       the numbering is talsen (default: the Kavrin rules)\n" +
        std::string(kNumberingHelp) +
        "\nGroups the shots, then numbers every conflicting row 1, 2, 3 ... in its Err column.\n"
        "Exit status 4 when conflicts were found, else 3 when the show has more shots than\n"
        "the panel holds, else 0; the script is always written.\n";
    return {"check",
            "SHOW.kvn [-o OUT.kvn] [--miravel] [--numbering kavrin|talsen|custom]",
            "Checks a Kavrin script against the panel's limits (Check Conflicts).",
            details,
            {{"-o", true}, {"--miravel", false}, {"--numbering", true}},
            run};
}

}  // namespace fulgor::cli
