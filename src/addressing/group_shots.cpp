#include "addressing/group_shots.h"

#include "addressing/number_shots.h"
#include "addressing/panel_limits.h"

namespace fulgor {

int fireMemory(bool miravel) {
    return miravel ? kMiravelFireMemory : kKavrinFireMemory;
}

GroupShotsOutcome groupShots(Table& kavrin, bool miravel, const Progress& progress,
                             const std::function<void()>& sorted,
                             const kavrin::PanelColumns& columns) {
    ShotNumbering numbering = NumberShots(kavrin, progress, sorted, columns);
    return {numbering.shots, fireMemory(miravel), std::move(numbering.order)};
}

}  // namespace fulgor
