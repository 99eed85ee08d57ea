#pragma once
// The timeline's drawing surface: paints the marks straight from the marks
// list (no widget per cue), zooms with the wheel about the pointer, pans while
// dragged, fits the whole show on a double click, and names the row of a
// clicked mark.

#include <QWidget>
#include <functional>
#include <vector>

#include "show_view/timeline_geometry.h"
#include "show_view/timeline_marks.h"

namespace fulgor {

class TimelineCanvas : public QWidget {
    Q_OBJECT
public:
    explicit TimelineCanvas(QWidget* parent = nullptr);

    // Shows `marks` (which must outlive the canvas or the next call), fitted
    // to the show's whole time span when `fit` is true.
    void setMarks(const TimelineMarks* marks, bool fit);
    // Rings the marks of these table rows.
    void setHighlightedRows(std::vector<int> rows);
    const std::vector<int>& highlightedRows() const { return m_highlighted; }
    // The view as painted now, for hit-testing from outside (tests).
    TimelineView currentView() const;
    // Shows the whole show again.
    void fitAll();
    // What the tooltip says of the cue on table row `row` when the pointer rests on its mark.
    void setDescription(std::function<QString(int row)> describe) {
        m_describe = std::move(describe);
    }

signals:
    // A click landed on the mark of table row `row`.
    void markClicked(int row);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    const TimelineMarks* m_marks = nullptr;
    std::function<QString(int row)> m_describe;
    TimelineMarks m_empty;
    TimeRange m_range{0, 1};
    std::vector<int> m_highlighted;
    QPointF m_pressedAt;
    TimeRange m_pressedRange{0, 1};
    bool m_pressed = false;
    bool m_dragging = false;
};

}  // namespace fulgor
