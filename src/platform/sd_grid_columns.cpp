#include "platform/sd_grid_columns.h"

#include <QAbstractItemModel>
#include <QFontMetrics>
#include <algorithm>
#include <utility>

#include "conversion/sd_fields.h"

namespace fulgor {
namespace {

const std::pair<const char*, int> kEditWidths[] = {{"CUE", 6},      {"TIME", 11},
                                                   {"NEXT", 8},     {"Event Description", 52},
                                                   {"PFT", 6},      {"ADDR", 6},
                                                   {"CGHZ", 6},     {"POS", 6},
                                                   {"ANGLE", 10},   {"QTY", 6},
                                                   {"CAL", 6},      {"TYPE", 36},
                                                   {"DUR", 6},      {"Effect Description", 52},
                                                   {"REF", 16},     {"MFG", 6},
                                                   {"MAGAZINE", 6}, {"PRICE1", 14},
                                                   {"PRICE2", 14},  {"PRICE3", 14},
                                                   {"CUSTOM1", 12}, {"CUSTOM2", 12}};

// Wider columns would push most of a show's fields off the screen.
constexpr int kMostStartingCharacters = 16;

}  // namespace

std::optional<int> sdEditWidth(const QString& field) {
    const std::string name = field.toStdString();
    for (auto [known, width] : kEditWidths) {
        if (sameFieldName(name, known)) return width;
    }
    return std::nullopt;
}

std::vector<PlacedColumn> sdStartingColumns(const QAbstractItemModel& model,
                                            const QFontMetrics& metrics) {
    std::vector<PlacedColumn> columns;
    for (int c = 0; c < model.columnCount(); ++c) {
        // Measured without the cells: measuring them would read every row of a large show.
        QString caption = model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        int characters = std::min(sdEditWidth(caption).value_or(0), kMostStartingCharacters);
        int width =
            std::max(metrics.horizontalAdvance(caption), metrics.averageCharWidth() * characters);
        columns.push_back({c, std::max(width + 24, 48), false});
    }
    return columns;
}

}  // namespace fulgor
