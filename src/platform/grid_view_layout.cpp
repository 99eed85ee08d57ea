#include "platform/grid_view_layout.h"

#include <QHeaderView>
#include <QTableView>

namespace fulgor {

std::vector<PlacedColumn> placedColumns(QTableView& view) {
    QHeaderView* header = view.horizontalHeader();
    std::vector<PlacedColumn> placed;
    for (int visual = 0; visual < header->count(); ++visual) {
        int column = header->logicalIndex(visual);
        bool hidden = header->isSectionHidden(column);
        // The header reports no size for a hidden section; it keeps it for showing it again.
        if (hidden) header->showSection(column);
        placed.push_back({column, header->sectionSize(column), hidden});
        if (hidden) header->hideSection(column);
    }
    return placed;
}

void placeColumns(QTableView& view, const std::vector<PlacedColumn>& columns) {
    QHeaderView* header = view.horizontalHeader();
    for (std::size_t visual = 0; visual < columns.size(); ++visual) {
        const PlacedColumn& column = columns[visual];
        header->moveSection(header->visualIndex(column.column), static_cast<int>(visual));
        header->showSection(column.column);
        header->resizeSection(column.column, column.width);
        header->setSectionHidden(column.column, column.hidden);
    }
}

}  // namespace fulgor
