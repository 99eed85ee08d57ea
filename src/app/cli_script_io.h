#pragma once
// Reading a subcommand's input script and writing its result script, with the
// messages and exit statuses every subcommand shares.

#include <functional>
#include <optional>
#include <string_view>

#include "app/cli.h"
#include "editing/cell_rules.h"
#include "files/kavrin_file.h"
#include "files/talsen_file.h"

namespace fulgor::cli {

// The script named by the one positional argument; reports and gives nothing
// when the argument is missing or the file cannot be read. A command that
// writes no script back may read only the columns it uses (`columns`).
std::optional<TalsenScript> readTalsenInput(const Args& args, Io& io, ColumnsRead columns = {});
std::optional<KavrinScript> readKavrinInput(const Args& args, Io& io, ColumnsRead columns = {});

// The script named by the one positional argument, held for a command that
// changes a few of its columns (see holdTalsenFile, holdKavrinFile); reports
// and gives nothing as readTalsenInput does.
std::optional<HeldTalsenScript> holdTalsenInput(const Args& args, Io& io, ColumnsRead columns);
std::optional<HeldKavrinScript> holdKavrinInput(const Args& args, Io& io, ColumnsRead columns);

// The table of a Talsen (.csv) or Kavrin (.kvn) script, told apart by the
// extension of the one positional argument; reports and gives nothing for any
// other extension or a file that cannot be read.
struct ScriptInput {
    Table table;
    ScriptGrid grid;
};
std::optional<ScriptInput> readScriptInput(const Args& args, Io& io);

// The rows a command that converts a show part by part holds at once.
inline constexpr int kPartRows = 1 << 16;
// What a command that writes its output as it reads its input says of it in its help.
inline constexpr std::string_view kPartwiseOutputHelp =
    "Rows are written as they are read, so that a large script is never held whole.\n"
    "An input that fails part-way (exit status 1) leaves a regular file named by -o\n"
    "as it was, but standard output has had the rows before the failure.\n";

// Reads the Talsen script named by the one positional argument a run of
// lines at a time and writes the output to -o or standard output as it goes,
// for a command that rewrites each line on its own: `begin` writes the
// output's start, given the script's header, then a LineRewrite appends the
// output of every line after the header, given as the file holds it (see
// readTalsenLines), and its row's index. Lines are rewritten on two threads
// at once, each with a LineRewrite of its own from `makeRewrite`. Reports a
// failure as readTalsenInput and writeTalsenOutput do, and returns false.
using LineRewrite = std::function<void(std::string_view line, int row, std::string& out)>;
bool rewriteTalsenLines(
    const Args& args, Io& io,
    const std::function<Status(const TalsenHeader& header, const ByteSink& sink)>& begin,
    const std::function<LineRewrite()>& makeRewrite);

// Writes the script to -o or standard output; reports and returns false on failure.
bool writeTalsenOutput(const Args& args, const TalsenScript& script, Io& io);
bool writeKavrinOutput(const Args& args, const KavrinScript& script, Io& io);
// Writes a held script, its `changed` columns from its table (see
// writeHeldTalsen, writeHeldKavrin), as writeTalsenOutput does.
bool writeHeldTalsenOutput(const Args& args, const HeldTalsenScript& script, ColumnSet changed,
                           Io& io);
bool writeHeldKavrinOutput(const Args& args, const HeldKavrinScript& script, ColumnSet changed,
                           Io& io);

}  // namespace fulgor::cli
