#include "addressing/conflict_check.h"

#include <limits>
#include <optional>

#include "addressing/panel_limits.h"
#include "core/rounding.h"
#include "core/script_columns.h"

namespace fulgor {
namespace {

// double to float without undefined behaviour for times beyond float's range.
float toSingle(double x) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (x > kMax) return std::numeric_limits<float>::infinity();
    if (x < -kMax) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(x);
}

double numberAt(const Table& kavrin, int row, int column) {
    return cellNumber(kavrin.cell(row, column));
}

void takeAsPreviousTime(Table& kavrin, int row, double time, ConflictWalk& walk) {
    walk.previousTime = toSingle(time);
    kavrin.setText(row, walk.columns.err, "");
}

bool passesKavrinRules(Table& kavrin, int row, double time, ConflictWalk& walk) {
    double shot = numberAt(kavrin, row, walk.columns.shot);
    double mod = numberAt(kavrin, row, walk.columns.mod);
    double pin = numberAt(kavrin, row, walk.columns.pin);
    if (shot == 0 || shot > kKavrinFireMemory) return false;
    if (mod <= 0 || mod > kKavrinModules) return false;
    if (pin <= 0 || pin > kKavrinPins) return false;
    if (toSingle(time) == walk.previousTime)
        return !(walk.previousModule >= 1 && mod != walk.previousModule);
    takeAsPreviousTime(kavrin, row, time, walk);
    return true;
}

bool passesTalsenRules(Table& kavrin, int row, double time, ConflictWalk& walk) {
    double shot = numberAt(kavrin, row, walk.columns.shot);
    if (shot == 0 || shot > kMiravelFireMemory) return false;
    double pos = numberAt(kavrin, row, walk.columns.pos);
    if (pos < 0) return true;
    double mod = numberAt(kavrin, row, walk.columns.mod);
    double pin = numberAt(kavrin, row, walk.columns.pin);
    if (pos < kTalsenHighPosition) {
        if (mod <= 0 || mod > kTalsenModules) return false;
        if (pin <= 0 || pin > kTalsenPins) return false;
    } else {
        if (mod < kTalsenHighFirstModule || mod > kTalsenHighLastModule) return false;
        if (pin <= 0 || pin > kTalsenHighPins) return false;
    }
    takeAsPreviousTime(kavrin, row, time, walk);
    return true;
}

bool passesRules(Table& kavrin, int row, const ConflictRules& rules, ConflictWalk& walk) {
    std::optional<double> time = numericValue(kavrin.cell(row, walk.columns.time));
    if (!time || *time < 0) return false;
    if (!rules.miravel) return passesKavrinRules(kavrin, row, *time, walk);
    if (rules.readsPosition()) return passesTalsenRules(kavrin, row, *time, walk);
    return true;
}

float firstTime(const Table& kavrin, int timeColumn) {
    for (int row = 0; row < kavrin.rowCount(); ++row) {
        if (std::optional<double> time = numericValue(kavrin.cell(row, timeColumn)))
            return toSingle(*time);
    }
    return 0;
}

}  // namespace

void MarkConflictRow(Table& kavrin, int row, ConflictWalk& walk) {
    ++walk.counter;
    kavrin.setNumber(row, walk.columns.err, walk.counter);
    walk.markedRows.push_back(row);
}

void CheckConflictRow(Table& kavrin, int row, const ConflictRules& rules, ConflictWalk& walk) {
    if (!passesRules(kavrin, row, rules, walk)) MarkConflictRow(kavrin, row, walk);
    double mod = numberAt(kavrin, row, walk.columns.mod);
    if (mod > 0) walk.previousModule = roundHalfEven(mod);
}

ConflictReport checkConflicts(Table& kavrin, const ConflictRules& rules, const Progress& progress,
                              const std::function<void()>& sorted,
                              const kavrin::PanelColumns& columns) {
    ConflictReport report;
    // Numbering the shots sorts the table: about half the work.
    const Progress numbering = stageOf(progress, 0, 0.5);
    const Progress checking = stageOf(progress, 0.5, 1);
    // Err is emptied once the rows are sorted rather than before: the sort
    // does not read it, and `sorted` then sees every cell as it was.
    report.grouping = groupShots(
        kavrin, rules.miravel, numbering,
        [&] {
            if (sorted) sorted();
            for (int row = 0; row < kavrin.rowCount(); ++row) kavrin.setText(row, columns.err, "");
        },
        columns);
    ProgressWatch watch(checking);
    ConflictWalk walk;
    walk.columns = columns;
    // Room for every row at once: room never filled costs no memory, while
    // growing a step at a time would make fresh memory again and again.
    walk.markedRows.reserve(static_cast<std::size_t>(kavrin.rowCount()));
    walk.previousTime = firstTime(kavrin, columns.time);
    for (int row = 0; row < kavrin.rowCount() && reportRow(watch, row, kavrin.rowCount()); ++row)
        CheckConflictRow(kavrin, row, rules, walk);
    report.conflicts = walk.counter;
    report.markedRows = std::move(walk.markedRows);
    return report;
}

}  // namespace fulgor
