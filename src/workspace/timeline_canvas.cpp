#include "workspace/timeline_canvas.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <cmath>

#include "platform/timeline_painter.h"

namespace fulgor {
namespace {

constexpr double kDragThreshold = 4;  // pixels a press may wander and still be a click
constexpr double kHitRadius = 6;      // pixels from a mark's centre that still hit it

}  // namespace

TimelineCanvas::TimelineCanvas(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("timelineCanvas"));
    setMinimumHeight(120);
    setCursor(Qt::CrossCursor);
    setToolTip(
        QStringLiteral("Wheel: zoom. Drag: move through the show. Double click: the "
                       "whole show. Click a mark: select its line."));
    m_marks = &m_empty;
}

void TimelineCanvas::setMarks(const TimelineMarks* marks, bool fit) {
    m_marks = marks ? marks : &m_empty;
    if (fit) fitAll();
    update();
}

void TimelineCanvas::setHighlightedRows(std::vector<int> rows) {
    m_highlighted = std::move(rows);
    update();
}

void TimelineCanvas::fitAll() {
    m_range = fittedRange(m_marks->firstTime, m_marks->lastTime);
    update();
}

TimelineView TimelineCanvas::currentView() const {
    return timelineViewFor(*m_marks, size(), m_range, font());
}

bool TimelineCanvas::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    std::optional<int> mark =
        markAt(*m_marks, currentView(), help->pos().x(), help->pos().y(), kHitRadius);
    if (mark && m_describe) {
        QToolTip::showText(help->globalPos(),
                           m_describe(m_marks->marks[static_cast<std::size_t>(*mark)].row), this);
    } else {
        QToolTip::showText(help->globalPos(),
                           QStringLiteral("Wheel: zoom. Drag: move through the show. Double "
                                          "click: the whole show. Click a mark: select its line."),
                           this);
    }
    return true;
}

void TimelineCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintTimeline(painter, size(), *m_marks, currentView(), m_highlighted);
}

void TimelineCanvas::wheelEvent(QWheelEvent* event) {
    // One notch of the wheel (120) zooms by a fifth.
    const double factor = std::pow(1.2, event->angleDelta().y() / 120.0);
    TimelineView view = zoomedView(currentView(), event->position().x(), factor);
    m_range = {view.start, view.end};
    update();
    event->accept();
}

void TimelineCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    m_pressed = true;
    m_dragging = false;
    m_pressedAt = event->position();
    m_pressedRange = m_range;
}

void TimelineCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (!m_pressed) return;
    const double dx = event->position().x() - m_pressedAt.x();
    if (!m_dragging && std::abs(dx) < kDragThreshold) return;
    m_dragging = true;
    TimelineView start = currentView();
    start.start = m_pressedRange.start;
    start.end = m_pressedRange.end;
    TimelineView view = pannedView(start, dx);
    m_range = {view.start, view.end};
    update();
}

void TimelineCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_pressed) return QWidget::mouseReleaseEvent(event);
    m_pressed = false;
    if (m_dragging) return;
    std::optional<int> mark =
        markAt(*m_marks, currentView(), event->position().x(), event->position().y(), kHitRadius);
    if (mark) emit markClicked(m_marks->marks[static_cast<std::size_t>(*mark)].row);
}

void TimelineCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) fitAll();
}

}  // namespace fulgor
