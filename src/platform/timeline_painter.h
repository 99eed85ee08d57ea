#pragma once
// Paints a show's timeline with QPainter: the position rows with their labels
// on the left, the clock labels along the bottom, one mark per cue. The window
// and `fulgor timeline` paint the same picture with it. Qt Gui only.

#include <QColor>
#include <QFont>
#include <QSize>
#include <span>

#include "show_view/timeline_geometry.h"
#include "show_view/timeline_marks.h"

class QPainter;

namespace fulgor {

// The view that fits the widget or image of `size`: the plot takes what the
// position labels and the clock labels leave, showing `range`.
TimelineView timelineViewFor(const TimelineMarks& marks, QSize size, TimeRange range,
                             const QFont& font);

// The colour of a module's marks (by its index in TimelineMarks::modules);
// never red, which flagged cues use.
QColor moduleColour(int module);
inline constexpr QRgb kFlaggedColour = 0xffd01818;

// Paints the whole picture into `size` (background included). Marks of the
// table rows in `highlightedRows` get a dark ring; rows without a mark are
// passed over.
void paintTimeline(QPainter& painter, QSize size, const TimelineMarks& marks,
                   const TimelineView& view, std::span<const int> highlightedRows = {});

}  // namespace fulgor
