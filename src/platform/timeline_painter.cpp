#include "platform/timeline_painter.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace fulgor {
namespace {

constexpr double kGap = 6;
constexpr double kMinTickSpacing = 90;  // pixels between clock labels, at least

// Twelve colours that stay apart on white and from the flag's red.
constexpr QRgb kModuleColours[] = {0xff1f77b4, 0xff2ca02c, 0xffff7f0e, 0xff9467bd,
                                   0xff17becf, 0xff8c564b, 0xffbcbd22, 0xffe377c2,
                                   0xff393b79, 0xff637939, 0xff7b4173, 0xff202020};
constexpr QRgb kNoModuleColour = 0xff606060;

// One mark drawn once and then copied to every place it stands: far cheaper
// than painting a million ellipses one by one.
QImage markStamp(const TimelineMark& mark, int diameter) {
    QImage stamp(diameter, diameter, QImage::Format_ARGB32_Premultiplied);
    stamp.fill(Qt::transparent);
    QPainter painter(&stamp);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor colour = mark.flagged ? QColor::fromRgb(kFlaggedColour) : moduleColour(mark.module);
    const double pen = diameter >= 7 ? 1.6 : 1.0;
    painter.setPen(QPen(colour, pen));
    painter.setBrush(mark.addressed ? QBrush(colour) : QBrush(Qt::white));
    const double inset = pen / 2;
    painter.drawEllipse(QRectF(inset, inset, diameter - pen, diameter - pen));
    return stamp;
}

int markDiameter(const TimelineView& view) {
    return static_cast<int>(std::clamp(rowHeight(view) * 0.7, 3.0, 11.0));
}

void paintRows(QPainter& painter, const TimelineMarks& marks, const TimelineView& view) {
    const PlotArea& plot = view.plot;
    const double height = rowHeight(view);
    const QFontMetricsF metrics(painter.font());
    // Label every row that has room; skip rows evenly when they are thin.
    const int every = std::max(1, static_cast<int>(std::ceil(metrics.height() / height)));
    // Stripes only while rows are thick enough to tell apart.
    if (height >= 3) {
        for (int row = 1; row < view.rows; row += 2)
            painter.fillRect(QRectF(plot.left, plot.top + row * height, plot.width, height),
                             QColor(0xf3f5f8));
    }
    const int labelled = std::min(view.rows, static_cast<int>(marks.positions.size()));
    for (int row = 0; row < labelled; row += every) {
        QRectF label(0, rowToY(view, row) - metrics.height() / 2, plot.left - kGap,
                     metrics.height());
        painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter,
                         QString::fromStdString(marks.positions[static_cast<std::size_t>(row)]));
    }
}

void paintAxis(QPainter& painter, const TimelineView& view) {
    const PlotArea& plot = view.plot;
    const QFontMetricsF metrics(painter.font());
    for (const AxisTick& tick : axisTicks(view, kMinTickSpacing)) {
        painter.setPen(QColor(0xd8dce3));
        painter.drawLine(QPointF(tick.x, plot.top), QPointF(tick.x, plot.top + plot.height));
        painter.setPen(Qt::black);
        const QString label = QString::fromStdString(tick.label);
        const double width = metrics.horizontalAdvance(label);
        // The last label may not stick out past the picture's right edge.
        const double left = std::min(tick.x - width / 2, plot.left + plot.width + kGap - width);
        painter.drawText(QPointF(left, plot.top + plot.height + kGap + metrics.ascent()), label);
    }
    painter.setPen(QColor(0x8a909a));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(plot.left, plot.top, plot.width, plot.height));
}

// The key above the plot: each module's colour, then the flag and the hollow
// mark; as many as the width holds, then "...".
void paintLegend(QPainter& painter, const TimelineMarks& marks, const TimelineView& view) {
    const QFontMetricsF metrics(painter.font());
    const double y = kGap + metrics.height() / 2;
    const int diameter = 9;
    struct Entry {
        TimelineMark look;
        QString text;
    };
    std::vector<Entry> entries;
    for (std::size_t i = 0; i < marks.modules.size(); ++i) {
        TimelineMark look;
        look.module = static_cast<int>(i);
        look.addressed = true;
        entries.push_back(
            {look, QStringLiteral("Mod ") + QString::fromStdString(marks.modules[i])});
    }
    TimelineMark flagged;
    flagged.flagged = flagged.addressed = true;
    entries.push_back({flagged, QStringLiteral("flagged by Check Conflicts")});
    entries.push_back({TimelineMark{}, QStringLiteral("no address")});

    double x = view.plot.left;
    const double right = view.plot.left + view.plot.width;
    const QString more = QStringLiteral("...");
    for (const Entry& entry : entries) {
        const double width = diameter + 4 + metrics.horizontalAdvance(entry.text) + 14;
        if (x + width > right) {
            painter.drawText(QPointF(x, y - metrics.height() / 2 + metrics.ascent()), more);
            return;
        }
        painter.drawImage(QPointF(x, std::round(y - diameter / 2.0)),
                          markStamp(entry.look, diameter));
        painter.drawText(QPointF(x + diameter + 4, y - metrics.height() / 2 + metrics.ascent()),
                         entry.text);
        x += width;
    }
}

void paintMarks(QPainter& painter, const TimelineMarks& marks, const TimelineView& view) {
    const int diameter = markDiameter(view);
    std::unordered_map<std::uint32_t, QImage> stamps;
    for (int index : marksToDraw(marks, view)) {
        const TimelineMark& mark = marks.marks[static_cast<std::size_t>(index)];
        const std::uint32_t look = markLook(mark);
        auto found = stamps.find(look);
        if (found == stamps.end()) found = stamps.emplace(look, markStamp(mark, diameter)).first;
        const QPointF centre(timeToX(view, mark.time), rowToY(view, mark.positionRow));
        painter.drawImage(QPointF(std::round(centre.x() - diameter / 2.0),
                                  std::round(centre.y() - diameter / 2.0)),
                          found->second);
    }
}

void paintHighlights(QPainter& painter, const TimelineMarks& marks, const TimelineView& view,
                     std::span<const int> rows) {
    const double radius = markDiameter(view) / 2.0 + 2.5;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x101010), 2));
    painter.setBrush(Qt::NoBrush);
    const PlotArea& plot = view.plot;
    for (int row : rows) {
        if (row < 0 || row >= static_cast<int>(marks.markOfRow.size())) continue;
        const int index = marks.markOfRow[static_cast<std::size_t>(row)];
        if (index < 0) continue;
        const TimelineMark& mark = marks.marks[static_cast<std::size_t>(index)];
        const double x = timeToX(view, mark.time);
        if (x < plot.left || x > plot.left + plot.width) continue;
        painter.drawEllipse(QPointF(x, rowToY(view, mark.positionRow)), radius, radius);
    }
}

}  // namespace

QColor moduleColour(int module) {
    if (module < 0) return QColor::fromRgb(kNoModuleColour);
    return QColor::fromRgb(
        kModuleColours[static_cast<std::size_t>(module) % std::size(kModuleColours)]);
}

TimelineView timelineViewFor(const TimelineMarks& marks, QSize size, TimeRange range,
                             const QFont& font) {
    const QFontMetricsF metrics(font);
    // Measuring the longest label alone keeps a show of a million positions quick.
    std::string longest = "000";
    for (const std::string& position : marks.positions)
        if (position.size() > longest.size()) longest = position;
    const double labelWidth = metrics.horizontalAdvance(QString::fromStdString(longest));
    TimelineView view;
    view.start = range.start;
    view.end = range.end;
    view.rows = std::max(1, static_cast<int>(marks.positions.size()));
    view.plot.left = labelWidth + 2 * kGap;
    view.plot.top = metrics.height() + 2 * kGap;  // room for the key
    view.plot.width = std::max(1.0, size.width() - view.plot.left - 2 * kGap);
    view.plot.height = std::max(1.0, size.height() - view.plot.top - metrics.height() - 2 * kGap);
    return view;
}

void paintTimeline(QPainter& painter, QSize size, const TimelineMarks& marks,
                   const TimelineView& view, std::span<const int> highlightedRows) {
    painter.save();
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    painter.setPen(Qt::black);
    paintRows(painter, marks, view);
    paintAxis(painter, view);
    painter.setPen(Qt::black);
    paintLegend(painter, marks, view);
    painter.setClipRect(QRectF(view.plot.left, view.plot.top, view.plot.width, view.plot.height)
                            .adjusted(-6, -6, 6, 6));
    paintMarks(painter, marks, view);
    paintHighlights(painter, marks, view, highlightedRows);
    painter.restore();
}

}  // namespace fulgor
