#include "platform/table_printer.h"

#include <QAbstractItemModel>
#include <QBrush>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace fulgor {
namespace {

constexpr double kScreenDpi = 96;
constexpr double kBodyPoints = 9;
constexpr double kHeaderPoints = 10;
constexpr double kFooterPoints = 8;

QFont printFont(double points, bool bold, bool italic) {
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    // Unshaped text keeps "ff" and "fi" as plain letters for readers of the PDF.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

std::vector<PlacedColumn> visibleOnly(const std::vector<PlacedColumn>& columns) {
    std::vector<PlacedColumn> visible;
    std::copy_if(columns.begin(), columns.end(), std::back_inserter(visible),
                 [](const PlacedColumn& c) { return !c.hidden; });
    return visible;
}

// Fonts and heights of one printed page, in the device's units.
struct PageMetrics {
    double scale;
    std::vector<double> widths;
    QFont header, columnHeader, body, footer;
    double headerHeight, columnHeaderHeight, rowHeight, footerHeight, padding;

    PageMetrics(QPaintDevice& device, const std::vector<PlacedColumn>& visible) {
        const double perPixel = device.logicalDpiX() / kScreenDpi;
        double total = 0;
        for (const PlacedColumn& column : visible) total += column.width * perPixel;
        scale = total > device.width() ? device.width() / total : 1.0;
        for (const PlacedColumn& column : visible)
            widths.push_back(column.width * perPixel * scale);
        header = printFont(kHeaderPoints * scale, false, true);
        columnHeader = printFont(kBodyPoints * scale, true, false);
        body = printFont(kBodyPoints * scale, false, false);
        footer = printFont(kFooterPoints * scale, false, false);
        headerHeight = QFontMetricsF(header, &device).height() * 1.8;
        columnHeaderHeight = QFontMetricsF(columnHeader, &device).height() * 1.5;
        rowHeight = QFontMetricsF(body, &device).height() * 1.35;
        footerHeight = QFontMetricsF(footer, &device).height() * 1.8;
        padding = 2 * perPixel * scale;
    }

    int rowsPerPage(const QPaintDevice& device) const {
        double room = device.height() - headerHeight - columnHeaderHeight - footerHeight;
        return std::max(1, static_cast<int>(std::floor(room / rowHeight)));
    }
};

Qt::Alignment alignmentOf(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<Qt::Alignment>())
        return value.value<Qt::Alignment>();
    return value.isValid() ? Qt::Alignment::fromInt(value.toInt()) : Qt::Alignment(Qt::AlignLeft);
}

void drawPrintLine(QPainter& painter, const QRectF& rect, const QString& line, int page,
                   int pageCount) {
    const std::array<QString, 3> parts = splitPrintLine(expandPageCodes(line, page, pageCount));
    const Qt::Alignment sides[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    QFontMetricsF metrics(painter.font(), painter.device());
    for (std::size_t i = 0; i < parts.size(); ++i) {
        QString text = metrics.elidedText(parts[i], Qt::ElideMiddle, rect.width());
        painter.drawText(rect, static_cast<int>(sides[i] | Qt::AlignVCenter), text);
    }
}

// The cell's text in black, then its border in grey.
void drawCell(QPainter& painter, const QRectF& cell, const QString& text, Qt::Alignment alignment,
              double padding) {
    painter.setPen(Qt::black);
    QRectF inner = cell.adjusted(padding, 0, -padding, 0);
    QString shown = QFontMetricsF(painter.font(), painter.device())
                        .elidedText(text, Qt::ElideRight, inner.width());
    Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    painter.drawText(inner,
                     static_cast<int>((horizontal ? horizontal : Qt::AlignLeft) | Qt::AlignVCenter),
                     shown);
    painter.setPen(QPen(QColor(150, 150, 150), 0));
    painter.drawRect(cell);
}

}  // namespace

void setPdfPageLayout(QPagedPaintDevice& device) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
}

PagePlan planPages(QPaintDevice& device, const std::vector<PlacedColumn>& columns, int rowCount) {
    PageMetrics metrics(device, visibleOnly(columns));
    PagePlan plan;
    plan.scale = metrics.scale;
    plan.rowsPerPage = metrics.rowsPerPage(device);
    plan.pageCount = std::max(1, (rowCount + plan.rowsPerPage - 1) / plan.rowsPerPage);
    return plan;
}

Result<int> printTable(QPagedPaintDevice& device, QAbstractItemModel& model,
                       const std::vector<PlacedColumn>& columns, const PageTexts& texts) {
    const std::vector<PlacedColumn> visible = visibleOnly(columns);
    if (visible.empty()) return Error{"There is no column to print: every column is hidden."};
    while (model.canFetchMore({})) model.fetchMore({});
    const int rowCount = model.rowCount();
    const PageMetrics metrics(device, visible);
    const PagePlan plan = planPages(device, columns, rowCount);

    QPainter painter;
    if (!painter.begin(&device))
        return Error{"Cannot print: the printer or output file could not be opened."};
    const double width = device.width();
    for (int page = 1; page <= plan.pageCount; ++page) {
        if (page > 1) device.newPage();
        painter.setPen(Qt::black);
        painter.setFont(metrics.header);
        drawPrintLine(painter, QRectF(0, 0, width, metrics.headerHeight), texts.header, page,
                      plan.pageCount);

        double y = metrics.headerHeight;
        double x = 0;
        painter.setFont(metrics.columnHeader);
        for (std::size_t c = 0; c < visible.size(); ++c) {
            QRectF cell(x, y, metrics.widths[c], metrics.columnHeaderHeight);
            painter.fillRect(cell, QColor(225, 225, 225));
            QString caption = model.headerData(visible[c].column, Qt::Horizontal).toString();
            Qt::Alignment alignment = alignmentOf(
                model.headerData(visible[c].column, Qt::Horizontal, Qt::TextAlignmentRole));
            drawCell(painter, cell, caption, alignment, metrics.padding);
            x += metrics.widths[c];
        }
        y += metrics.columnHeaderHeight;

        painter.setFont(metrics.body);
        const int first = (page - 1) * plan.rowsPerPage;
        const int last = std::min(rowCount, first + plan.rowsPerPage);
        for (int row = first; row < last; ++row, y += metrics.rowHeight) {
            x = 0;
            for (std::size_t c = 0; c < visible.size(); ++c) {
                QModelIndex index = model.index(row, visible[c].column);
                QRectF cell(x, y, metrics.widths[c], metrics.rowHeight);
                QVariant background = index.data(Qt::BackgroundRole);
                if (background.canConvert<QBrush>())
                    painter.fillRect(cell, background.value<QBrush>());
                drawCell(painter, cell, index.data(Qt::DisplayRole).toString(),
                         alignmentOf(index.data(Qt::TextAlignmentRole)), metrics.padding);
                x += metrics.widths[c];
            }
        }

        painter.setPen(Qt::black);
        painter.setFont(metrics.footer);
        drawPrintLine(
            painter, QRectF(0, device.height() - metrics.footerHeight, width, metrics.footerHeight),
            texts.footer, page, plan.pageCount);
    }
    painter.end();
    return plan.pageCount;
}

}  // namespace fulgor
