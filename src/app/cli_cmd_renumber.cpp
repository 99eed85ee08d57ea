#include <ostream>

#include "addressing/addressing_texts.h"
#include "addressing/renumber_cues.h"
#include "app/cli_commands.h"
#include "app/cli_numbering.h"
#include "app/cli_script_io.h"
#include "core/script_columns.h"

namespace fulgor::cli {
namespace {

// Renumbering sorts by Pos, Type, Size and Time and changes Mod and Pin
// alone: those columns are held, the others written back as the file holds
// them. Pos and Time are read only as numbers.
constexpr ColumnSet kKept =
    columnSet({talsen::Type, talsen::Size, talsen::Time, talsen::Pos, talsen::Mod, talsen::Pin});
constexpr ColumnsRead kColumnsUsed{kKept, columnSet({talsen::Pos, talsen::Time})};
constexpr ColumnSet kChanged = columnSet({talsen::Mod, talsen::Pin});
constexpr talsen::AddressColumns kHeldColumns{
    heldColumn(kKept, talsen::Type), heldColumn(kKept, talsen::Size),
    heldColumn(kKept, talsen::Time), heldColumn(kKept, talsen::Pos),
    heldColumn(kKept, talsen::Mod),  heldColumn(kKept, talsen::Pin)};

int run(const Args& args, Io& io) {
    std::optional<NumberingOption> option = numberingOption(args, io);
    if (!option) return kBadUsage;
    NumberingChoice choice;
    choice.option = *option;
    if (std::optional<std::string> lo = args.value("--custom-lo")) choice.customLo = *lo;
    if (std::optional<std::string> hi = args.value("--custom-hi")) choice.customHi = *hi;

    std::optional<HeldTalsenScript> script = holdTalsenInput(args, io, kColumnsUsed);
    if (!script) return kBadUsage;
    Result<RenumberOutcome> outcome =
        RenumberQues(script->rows.table, choice, {}, {}, kHeldColumns);
    if (!outcome) {
        complain(args, io) << outcome.error() << '\n';
        return kBadUsage;
    }
    if (!writeHeldTalsenOutput(args, *script, kChanged, io)) return kBadUsage;
    if (outcome.value().linesLeft > 0) {
        io.err << leftOverMessage(outcome.value().linesLeft) << '\n';
        return kFellShort;
    }
    return kDone;
}

}  // namespace

Command renumberCommand() {
    static const std::string details =
        "  -o OUT.csv           write the script here (default: standard output)\n" +
        std::string(kNumberingHelp) +
        "  --custom-lo TEXT     the custom scheme's lowest pin (default: 0)\n"
        "  --custom-hi TEXT     the custom scheme's highest pin: a number gives decimal\n"
        "                       addresses, one letter A-F hexadecimal ones (default: F)\n"
        "\nSorts the cues by Pos, Type, Size and Time and gives each a module and pin.\n"
        "Exit status 3, with the count on standard error, when cues were left without an\n"
        "address; the script is still written.\n";
    return {"renumber",
            "SCRIPT.csv [-o OUT.csv] [--numbering kavrin|talsen|custom] [--custom-lo TEXT] "
            "[--custom-hi TEXT]",
            "Gives every cue of a Talsen script a firing address (Renumber Cues).",
            details,
            {{"-o", true}, {"--numbering", true}, {"--custom-lo", true}, {"--custom-hi", true}},
            run};
}

}  // namespace fulgor::cli
