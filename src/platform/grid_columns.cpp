#include "platform/grid_columns.h"

namespace fulgor {
namespace {

constexpr Qt::Alignment kRight = Qt::AlignRight;
constexpr Qt::Alignment kCentre = Qt::AlignHCenter;
constexpr Qt::Alignment kLeft = Qt::AlignLeft;
constexpr auto kFixed = DisplayFormat::Fixed;
constexpr auto kNumber = DisplayFormat::GeneralNumber;
constexpr auto kPlain = DisplayFormat::Plain;

}  // namespace

// The maximum widths limit typing, before the cell check rounds what arrives:
// a typed "12.3456" is cut to "12.345" and stored as 12.34, while the check
// itself rounds a whole 12.3456 to 12.35.
const std::array<GridColumn, talsen::ColumnCount> kTalsenGridColumns = {{
    {talsen::kCaptions[talsen::Line], kNumber, "#####", 0, kRight, 56},
    {talsen::kCaptions[talsen::Type], kPlain, "", 0, kRight, 110},
    {talsen::kCaptions[talsen::Size], kPlain, "", 0, kRight, 80},
    {talsen::kCaptions[talsen::Time], kFixed, "", 6, kRight, 70},
    {talsen::kCaptions[talsen::Prefire], kFixed, "", 6, kRight, 70},
    {talsen::kCaptions[talsen::Qty], kNumber, "#####", 0, kRight, 50},
    {talsen::kCaptions[talsen::Pos], kNumber, "###", 0, kRight, 50},
    {talsen::kCaptions[talsen::Mod], kPlain, "", 3, kRight, 50},
    {talsen::kCaptions[talsen::Pin], kPlain, "", 3, kRight, 50},
    {talsen::kCaptions[talsen::Cost], DisplayFormat::Currency, "", 0, kRight, 80},
    {talsen::kCaptions[talsen::Notes], kPlain, "", 0, kLeft, 260},
}};

const std::array<GridColumn, kavrin::ColumnCount> kKavrinGridColumns = {{
    {kavrin::kCaptions[kavrin::Line], kPlain, "#####", 0, kRight, 56},
    {kavrin::kCaptions[kavrin::Shot], kPlain, "#####", 0, kRight, 56},
    {kavrin::kCaptions[kavrin::Pos], kPlain, "###", 0, kRight, 50},
    {kavrin::kCaptions[kavrin::Time], kFixed, "", 6, kRight, 70},
    {kavrin::kCaptions[kavrin::Mod], kPlain, "", 3, kRight, 50},
    {kavrin::kCaptions[kavrin::Pin], kPlain, "", 3, kRight, 50},
    {kavrin::kCaptions[kavrin::Clock], kPlain, "", 0, kCentre, 96},
    {kavrin::kCaptions[kavrin::TsRef], kPlain, "", 0, kCentre, 60},
    {kavrin::kCaptions[kavrin::Err], kPlain, "", 0, kCentre, 50},
    {kavrin::kCaptions[kavrin::Size], kPlain, "", 0, kLeft, 80},
    {kavrin::kCaptions[kavrin::Qty], kPlain, "", 0, kLeft, 50},
    {kavrin::kCaptions[kavrin::Type], kPlain, "", 0, kLeft, 110},
    {kavrin::kCaptions[kavrin::Notes], kPlain, "", 0, kLeft, 240},
}};

std::vector<PlacedColumn> startingColumns(std::span<const GridColumn> columns) {
    std::vector<PlacedColumn> placed;
    for (std::size_t c = 0; c < columns.size(); ++c)
        placed.push_back({static_cast<int>(c), columns[c].width, false});
    return placed;
}

}  // namespace fulgor
