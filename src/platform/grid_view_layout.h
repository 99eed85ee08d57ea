#pragma once
// Reads and sets the column arrangement of any table view (script grid or SD
// grid) through its horizontal header: which model column stands where, its
// width, and whether it is hidden.

#include <QStringList>
#include <vector>

#include "platform/grid_layout.h"

class QTableView;

namespace fulgor {

// The view's columns as placed now, left to right; a hidden column keeps the
// width it will have when shown again.
std::vector<PlacedColumn> placedColumns(QTableView& view);

// Places the view's columns as `columns` says, left to right. Precondition:
// each of the view's model columns appears once in `columns`.
void placeColumns(QTableView& view, const std::vector<PlacedColumn>& columns);

}  // namespace fulgor
