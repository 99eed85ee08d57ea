// Line editing and undo on large shows, through the grid model and the undo
// steps the window uses (offscreen, no window shown).
//   bench_editing [ROWS]   (default 1,000,000)
// Goals, each under 1 s: Paste Lines of 100,000 rows; Delete Lines of half
// the rows, selected in random order; Undo of Renumber Cues.

#include <QApplication>
#include <QUndoStack>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <random>

#include "addressing/renumber_cues.h"
#include "bench_support.h"
#include "editing/clipboard_rows.h"
#include "editing/line_edits.h"
#include "files/talsen_file.h"
#include "platform/script_grid_view.h"
#include "platform/script_table_model.h"
#include "talsen_generator.h"
#include "platform/grid_columns.h"
#include "workspace/table_commands.h"

using namespace fulgor;
using namespace fulgor::bench;

namespace {

void report(const char* step, double seconds) {
    std::printf("%-44s %7.3f s %s\n", step, seconds, seconds < 1.0 ? "" : "(over 1 s)");
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int rows = argc > 1 ? std::atoi(argv[1]) : 1'000'000;
    Table table = ImportTalsen(generateTalsenScript(rows, 42)).table;
    ScriptTableModel model(table, ScriptGrid::Talsen, kTalsenGridColumns);
    ScriptGridView grid;
    grid.setScriptModel(&model);
    QUndoStack stack;
    std::printf("%d rows, %.0f MiB resident\n", rows, mib(residentBytes()));

    // Paste Lines: 100,000 copied rows into the middle of the show.
    std::vector<int> copied(100'000);
    std::iota(copied.begin(), copied.end(), 0);
    std::string clipboard = clipboardText(table, copied);
    grid.setCurrentRow(rows / 2);
    Stopwatch pasteClock;
    Table pasted = pastedRows(ScriptGrid::Talsen, clipboard, table.columnCount());
    RowsPlacement place = placePastedRows(table.rowCount(), grid.currentRow(), pasted.rowCount());
    std::vector<int> at(static_cast<std::size_t>(pasted.rowCount()));
    std::iota(at.begin(), at.end(), place.first);
    stack.push(new RowsCommand(QStringLiteral("Paste Lines"), grid, RowsCommand::Kind::Insert,
                               {std::move(at), std::move(pasted)}, place.currentAfter));
    report("Paste Lines, 100,000 rows", pasteClock.seconds());
    Stopwatch undoPasteClock;
    stack.undo();
    report("Undo of the paste", undoPasteClock.seconds());

    // Delete Lines: every other row, selected in random order.
    std::vector<int> selection(static_cast<std::size_t>(rows / 2));
    for (std::size_t i = 0; i < selection.size(); ++i) selection[i] = static_cast<int>(2 * i);
    std::shuffle(selection.begin(), selection.end(), std::mt19937(7));
    Stopwatch deleteClock;
    std::vector<int> doomed = rowsToDelete(selection, table.rowCount());
    int currentAfter =
        currentAfterDelete(doomed.front(), table.rowCount() - static_cast<int>(doomed.size()));
    Table removed = table.copyRows(doomed);
    stack.push(new RowsCommand(QStringLiteral("Delete Line(s)"), grid, RowsCommand::Kind::Delete,
                               {std::move(doomed), std::move(removed)}, currentAfter));
    report("Delete Lines, half the rows selected", deleteClock.seconds());
    Stopwatch undoDeleteClock;
    stack.undo();
    report("Undo of the deletion", undoDeleteClock.seconds());

    // Renumber Cues as the window runs it: the table kept once, the command,
    // a comparison that drops a step which changed nothing, then the step.
    Stopwatch copyClock;
    Table before = table;
    report("Keeping the table for undo", copyClock.seconds());
    Stopwatch renumberClock;
    Result<RenumberOutcome> renumbered =
        RenumberQues(table, {NumberingOption::Custom, "1", "10000"});
    if (!renumbered) {
        std::fprintf(stderr, "%s\n", renumbered.error().c_str());
        return 1;
    }
    report("Renumber Cues itself", renumberClock.seconds());
    Stopwatch compareClock;
    bool changed = !(table == before);
    model.reload();
    report("Comparing with the table kept", compareClock.seconds());
    if (!changed) return 1;
    stack.push(new WholeTableCommand(QStringLiteral("Renumber Cues"), grid, std::move(before)));
    Stopwatch undoRenumberClock;
    stack.undo();
    report("Undo of Renumber Cues", undoRenumberClock.seconds());
    Stopwatch redoRenumberClock;
    stack.redo();
    report("Redo of Renumber Cues", redoRenumberClock.seconds());
    std::printf("peak %.0f MiB resident\n", mib(peakResidentBytes()));
    return 0;
}
