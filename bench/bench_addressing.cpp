// Renumbers, imports and checks a large generated show through the same code
// as the Renumber Cues, Import Talsen and Check Conflicts buttons.
//   bench_addressing [ROWS]   (default 1,000,000)
// Goal: each step under 1 s. The custom range 1 to 10000 gives every cue an
// address (at most two modules per position), so the walk writes them all.

#include <cstdio>
#include <cstdlib>

#include "addressing/conflict_check.h"
#include "addressing/renumber_cues.h"
#include "bench_support.h"
#include "conversion/talsen_to_kavrin.h"
#include "talsen_generator.h"
#include "files/talsen_file.h"

using namespace fulgor;
using namespace fulgor::bench;

int main(int argc, char* argv[]) {
    int rows = argc > 1 ? std::atoi(argv[1]) : 1'000'000;
    TalsenScript script = ImportTalsen(generateTalsenScript(rows, 42));

    Stopwatch renumberClock;
    Result<RenumberOutcome> renumbered =
        RenumberQues(script.table, {NumberingOption::Custom, "1", "10000"});
    double renumberSeconds = renumberClock.seconds();
    if (!renumbered) {
        std::fprintf(stderr, "%s\n", renumbered.error().c_str());
        return 1;
    }

    Stopwatch importClock;
    KavrinImport imported = talsenToKavrin(script.table, false);
    double importSeconds = importClock.seconds();

    Stopwatch checkClock;
    ConflictReport report = checkConflicts(imported.table, ConflictRules{});
    double checkSeconds = checkClock.seconds();

    std::printf("cues                 %d\n", script.table.rowCount());
    std::printf("renumber             %.3f s  (%d lines left; goal < 1 s)\n", renumberSeconds,
                renumbered.value().linesLeft);
    std::printf("import               %.3f s  (%zu rows untimed; goal < 1 s)\n", importSeconds,
                imported.untimedRows.size());
    std::printf("check                %.3f s  (%d shots, %d conflicts; goal < 1 s)\n", checkSeconds,
                report.grouping.shots, report.conflicts);
    bool met = renumberSeconds < 1 && importSeconds < 1 && checkSeconds < 1;
    std::printf("goal met: %s\n", met ? "yes" : "NO");
    return met ? 0 : 1;
}
