#include "addressing/number_shots.h"

#include "core/script_columns.h"

namespace fulgor {

ShotNumbering NumberShots(Table& kavrin, const Progress& progress,
                          const std::function<void()>& sorted) {
    ProgressWatch watch(progress);
    static constexpr SortKey kKeys[] = {
        {kavrin::Time, true}, {kavrin::Mod, true}, {kavrin::Shot, true}};
    ShotNumbering numbering{0, kavrin.sortRows(kKeys)};
    if (sorted) sorted();
    int& shots = numbering.shots;
    double shotTime = 0;  // Time of the current shot's first row
    for (int row = 0; row < kavrin.rowCount() && reportRow(watch, row, kavrin.rowCount()); ++row) {
        kavrin.setNumber(row, kavrin::Line, row + 1);
        bool qualifies =
            !kavrin.cell(row, kavrin::Time).isEmpty() && kavrin.cell(row, kavrin::Err).isEmpty();
        if (!qualifies) {
            kavrin.setText(row, kavrin::Shot, "");
            continue;
        }
        double time = cellNumber(kavrin.cell(row, kavrin::Time));
        if (shots == 0 || time != shotTime) {
            ++shots;
            shotTime = time;
        }
        kavrin.setNumber(row, kavrin::Shot, shots);
    }
    return numbering;
}

}  // namespace fulgor
