#include "show_view/timeline_marks.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "core/number_format.h"
#include "show_view/address_key.h"
#include "show_view/cue_columns.h"

namespace fulgor {
namespace {

// Hands out dense indices to distinct keys as they are met, then renumbers
// them in sorted order, so that the work stays linear in the cues.
template <class Key, class Less>
std::vector<int> sortedRenumbering(const std::vector<Key>& keys, Less less) {
    std::vector<int> order(keys.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return less(keys[static_cast<std::size_t>(a)], keys[static_cast<std::size_t>(b)]);
    });
    std::vector<int> rank(keys.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        rank[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
    return rank;
}

}  // namespace

TimelineMarks timelineMarks(const Table& table, ScriptGrid grid) {
    const CueColumns columns = cueColumns(grid);
    TimelineMarks result;
    result.markOfRow.assign(static_cast<std::size_t>(table.rowCount()), -1);
    result.marks.reserve(static_cast<std::size_t>(table.rowCount()));

    std::unordered_map<double, int> positionIndex;
    std::vector<double> positions;
    bool missingPosition = false;
    std::unordered_map<std::string, int> moduleIndex;
    std::vector<std::string> moduleKeys;

    for (int row = 0; row < table.rowCount(); ++row) {
        std::optional<double> time = cueTime(table, row, columns);
        if (!time) {
            if (!isBlankRow(table, row)) ++result.untimed;
            continue;
        }
        TimelineMark mark;
        mark.time = *time;
        mark.row = row;
        std::optional<double> position = numericValue(table.cell(row, columns.pos));
        if (position && std::isfinite(*position)) {
            auto [it, added] =
                positionIndex.try_emplace(*position + 0.0, static_cast<int>(positions.size()));
            if (added) positions.push_back(*position + 0.0);
            mark.positionRow = it->second;
        } else {
            missingPosition = true;
            mark.positionRow = -1;
        }
        const std::string modText = cellText(table.cell(row, columns.mod));
        std::string key = addressKey(modText);
        if (!key.empty()) {
            auto [it, added] = moduleIndex.try_emplace(key, static_cast<int>(moduleKeys.size()));
            if (added) {
                moduleKeys.push_back(key);
                result.modules.push_back(modText);
            }
            mark.module = it->second;
        }
        mark.addressed =
            !key.empty() && !addressKey(cellText(table.cell(row, columns.pin))).empty();
        mark.flagged = columns.err >= 0 && !table.cell(row, columns.err).isEmpty();
        result.markOfRow[static_cast<std::size_t>(row)] = static_cast<int>(result.marks.size());
        result.marks.push_back(mark);
    }

    std::vector<int> positionRank = sortedRenumbering(positions, std::less<double>());
    std::vector<int> moduleRank = sortedRenumbering(moduleKeys, addressKeyLess);
    const int noPositionRow = static_cast<int>(positions.size());
    for (TimelineMark& mark : result.marks) {
        mark.positionRow = mark.positionRow < 0
                               ? noPositionRow
                               : positionRank[static_cast<std::size_t>(mark.positionRow)];
        if (mark.module >= 0) mark.module = moduleRank[static_cast<std::size_t>(mark.module)];
    }

    result.positions.resize(positions.size());
    for (std::size_t i = 0; i < positions.size(); ++i)
        result.positions[static_cast<std::size_t>(positionRank[i])] = shortestText(positions[i]);
    if (missingPosition) result.positions.push_back(kNoPositionLabel);
    result.missingPositions = missingPosition;
    std::vector<std::string> modules(result.modules.size());
    for (std::size_t i = 0; i < modules.size(); ++i)
        modules[static_cast<std::size_t>(moduleRank[i])] = std::move(result.modules[i]);
    result.modules = std::move(modules);

    if (!result.marks.empty()) {
        auto [first, last] = std::minmax_element(
            result.marks.begin(), result.marks.end(),
            [](const TimelineMark& a, const TimelineMark& b) { return a.time < b.time; });
        result.firstTime = first->time;
        result.lastTime = last->time;
    }
    return result;
}

}  // namespace fulgor
