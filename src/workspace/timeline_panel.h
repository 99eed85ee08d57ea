#pragma once
// The Timeline dock: the timeline of the script tab last shown (Talsen or
// Kavrin) and its address usage under it. It follows the tab's table as it
// changes, selects a clicked mark's line in the grid and rings the marks of
// the lines selected there.

#include <QPointer>
#include <QWidget>

#include "show_view/address_usage.h"
#include "show_view/timeline_marks.h"

class QLabel;
class QTableWidget;

namespace fulgor {

class ScriptTab;
class TimelineCanvas;

class TimelinePanel : public QWidget {
    Q_OBJECT
public:
    explicit TimelinePanel(QWidget* parent = nullptr);

    // Shows the script of `tab`; the same tab again changes nothing.
    void setSource(ScriptTab* tab);

    QSize sizeHint() const override { return {1000, 360}; }
    TimelineCanvas* canvas() const { return m_canvas; }
    const TimelineMarks& marks() const { return m_marks; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The table changed: rebuild once control returns to the event loop, and
    // only while the panel is visible.
    void tableChanged();
    void rebuild();
    void showUsage();
    void selectRow(int row);
    // "Line 5: 15.5, Pos 6, Mod 06 Pin 07", and the conflict number when flagged.
    QString describeCue(int row) const;
    void highlightSelection();

    QPointer<ScriptTab> m_source;
    QList<QMetaObject::Connection> m_connections;
    TimelineMarks m_marks;
    AddressUsage m_usage;
    bool m_stale = false;
    bool m_rebuildQueued = false;
    bool m_fitNext = true;
    QLabel* m_summary;
    TimelineCanvas* m_canvas;
    QTableWidget* m_usageTable;
};

}  // namespace fulgor
