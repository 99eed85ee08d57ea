#pragma once
// The columns of the SD grid as it starts: each field's editing width and the
// starting widths, shared by the window and the printed pages of the command
// line so that both lay a show out alike.

#include <QString>
#include <optional>
#include <vector>

#include "platform/grid_layout.h"

class QAbstractItemModel;
class QFontMetrics;

namespace fulgor {

// The most characters the field `field` (any case) accepts when edited, as the
// show-design program sizes it; nothing for a field it does not size.
std::optional<int> sdEditWidth(const QString& field);

// The columns of an SD grid over `model` as a show opens: model order, none
// hidden, each wide enough for its caption in `metrics` and for its field's
// usual width (at most 16 characters).
std::vector<PlacedColumn> sdStartingColumns(const QAbstractItemModel& model,
                                            const QFontMetrics& metrics);

}  // namespace fulgor
