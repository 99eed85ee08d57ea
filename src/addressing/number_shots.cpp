#include "addressing/number_shots.h"

namespace fulgor {

ShotNumbering NumberShots(Table& kavrin, const Progress& progress,
                          const std::function<void()>& sorted,
                          const kavrin::PanelColumns& columns) {
    ProgressWatch watch(progress);
    const SortKey keys[] = {{columns.time, true}, {columns.mod, true}, {columns.shot, true}};
    ShotNumbering numbering{0, kavrin.sortRows(keys)};
    if (sorted) sorted();
    int& shots = numbering.shots;
    double shotTime = 0;  // Time of the current shot's first row
    for (int row = 0; row < kavrin.rowCount() && reportRow(watch, row, kavrin.rowCount()); ++row) {
        kavrin.setNumber(row, columns.line, row + 1);
        bool qualifies =
            !kavrin.cell(row, columns.time).isEmpty() && kavrin.cell(row, columns.err).isEmpty();
        if (!qualifies) {
            kavrin.setText(row, columns.shot, "");
            continue;
        }
        double time = cellNumber(kavrin.cell(row, columns.time));
        if (shots == 0 || time != shotTime) {
            ++shots;
            shotTime = time;
        }
        kavrin.setNumber(row, columns.shot, shots);
    }
    return numbering;
}

}  // namespace fulgor
