#pragma once
// Grid layouts: the arrangement of a grid's columns (order, widths, hidden
// columns) kept by name in the layout file "Pellor.grx" in the program's
// folder. The file is JSON (docs/grid-layout.md):
//
//   {"fulgorGridLayouts": 1,
//    "layouts": {"TalsenScript": [{"column": "Line", "width": 56},
//                                 {"column": "Notes", "width": 260, "hidden": true}]}}
//
// A file is read whole and checked whole before any of it is used, so a
// damaged or hand-edited file is refused with its first fault and never
// half-applied. Display formats and alignments are fixed by each grid's columns
// and are not part of a layout.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

#include "core/result.h"

class QAbstractItemModel;

namespace fulgor {

inline const QString kLayoutFileName = QStringLiteral("Pellor.grx");
inline const QString kTalsenLayoutName = QStringLiteral("TalsenScript");
inline const QString kKavrinLayoutName = QStringLiteral("KavrinScript");
inline const QString kDirectorLayoutName = QStringLiteral("DirectorScript");

inline constexpr int kMaxColumnWidth = 10000;

struct ColumnLayout {
    QString name;  // the column's caption
    int width = 0;
    bool hidden = false;

    bool operator==(const ColumnLayout&) const = default;
};

// Columns in the order shown, left to right.
using GridLayout = std::vector<ColumnLayout>;
using LayoutFile = std::map<QString, GridLayout>;

// Reads a layout file's text. Fails, naming `path` and the first fault, when the
// text is not JSON, is not a layout file of this version, or any layout in it is
// malformed (a column without a name, a name twice in one layout, a width that is
// not a whole number from 1 to kMaxColumnWidth, "hidden" not true or false).
Result<LayoutFile> parseLayoutFile(const QByteArray& text, const QString& path);

// The text of a layout file; parseLayoutFile reads it back unchanged.
QByteArray serialiseLayoutFile(const LayoutFile& file);

// The layout `name` from the file at `path`. Fails when there is no such file,
// it cannot be read, it is damaged, or it holds no layout of that name.
Result<GridLayout> loadGridLayout(const QString& path, const QString& name);

// Stores `layout` under `name` in the file at `path`, replacing a layout of
// that name and keeping the others; a missing file is created. The file is
// replaced whole through the safe writer. A damaged file is left as it is and
// the save fails, so no hand-edited layout is ever lost.
Status saveGridLayout(const QString& path, const QString& name, const GridLayout& layout);

// One column of a grid as placed on screen or on paper.
struct PlacedColumn {
    int column = 0;  // the model's column
    int width = 0;
    bool hidden = false;

    bool operator==(const PlacedColumn&) const = default;
};

// The model's column captions, by model column: the names a layout knows them by.
QStringList columnNames(const QAbstractItemModel& model);

// The layout of a grid whose columns are named `names` (by model column) and
// placed as `present` (left to right).
GridLayout layoutOf(const std::vector<PlacedColumn>& present, const QStringList& names);

// Places a grid's columns by `layout`: the columns it names in its order with its
// widths, then the grid's other columns as they are now (`present`, left to
// right). Fails, changing nothing, when the layout names a column the grid lacks
// or would hide every column. `layoutName` goes into the messages.
Result<std::vector<PlacedColumn>> arrangeColumns(const GridLayout& layout,
                                                 const QString& layoutName,
                                                 const std::vector<PlacedColumn>& present,
                                                 const QStringList& names);

}  // namespace fulgor
