#pragma once
// Prints a grid's table page by page, painting straight from its model (no
// widget per row), onto any paged device: a QPrinter in the window, a
// QPdfWriter on the command line. Each page has the header line in italics,
// the column headers, as many rows as fit, and the footer line at the bottom.
// Columns keep the grid's widths (screen pixels at 96 per inch); a table wider
// than the page is scaled down, text and all, until its full width fits, so
// every printed row stays whole on one line.

#include <QString>
#include <vector>

#include "core/result.h"
#include "platform/grid_layout.h"
#include "platform/page_texts.h"

class QAbstractItemModel;
class QPagedPaintDevice;
class QPaintDevice;

namespace fulgor {

struct PageTexts {
    QString header;
    QString footer = kPageFooter;
};

struct PagePlan {
    double scale = 1;  // 1, or less when the columns are wider than the page
    int rowsPerPage = 1;
    int pageCount = 1;  // at least 1: an empty table still prints its header
};

// A4 portrait with 15 mm margins: the pages of a PDF printed without a window.
void setPdfPageLayout(QPagedPaintDevice& device);

// How `rowCount` rows of the visible `columns` fall onto the pages of `device`.
PagePlan planPages(QPaintDevice& device, const std::vector<PlacedColumn>& columns, int rowCount);

// Paints every row of `model` (after fetching all it holds) in the visible
// `columns`, left to right, each cell as the model displays it, with its
// alignment and background. Returns the number of pages; fails when the device
// cannot be painted on (a printer that cannot be opened, say) or no column is
// visible.
Result<int> printTable(QPagedPaintDevice& device, QAbstractItemModel& model,
                       const std::vector<PlacedColumn>& columns, const PageTexts& texts);

}  // namespace fulgor
