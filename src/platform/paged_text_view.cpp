#include "platform/paged_text_view.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextOption>
#include <algorithm>

#include "platform/qt_text.h"

namespace fulgor {
namespace {

constexpr int kMargin = 4;  // as a text box leaves around its text

}  // namespace

PagedTextView::PagedTextView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

void PagedTextView::setText(const std::string* text) {
    m_text = text;
    m_lineStarts.assign(1, 0);
    m_longestLine = 0;
    if (text) {
        std::size_t at = text->find('\n');
        while (at != std::string::npos) {
            m_longestLine = std::max(m_longestLine, at - m_lineStarts.back());
            m_lineStarts.push_back(at + 1);
            at = text->find('\n', at + 1);
        }
        m_longestLine = std::max(m_longestLine, text->size() - m_lineStarts.back());
    }
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
}

QString PagedTextView::line(int index) const {
    if (!m_text || index < 0 || index >= lineCount()) return {};
    const std::size_t start = m_lineStarts[static_cast<std::size_t>(index)];
    std::size_t end = index + 1 < lineCount()
                          ? m_lineStarts[static_cast<std::size_t>(index) + 1] - 1
                          : m_text->size();
    if (end > start && (*m_text)[end - 1] == '\r') --end;
    return toQString(std::string_view(*m_text).substr(start, end - start));
}

int PagedTextView::firstVisibleLine() const {
    return verticalScrollBar()->value();
}

void PagedTextView::updateScrollBars() {
    const QFontMetrics metrics = fontMetrics();
    const int shown = std::max(1, (viewport()->height() - 2 * kMargin) / metrics.lineSpacing());
    verticalScrollBar()->setRange(0, std::max(0, lineCount() - shown));
    verticalScrollBar()->setPageStep(shown);
    // Tabs may widen a line beyond its characters; the longest line times the
    // widest character bounds the width well enough for scrolling.
    const qsizetype width =
        static_cast<qsizetype>(m_longestLine) * metrics.horizontalAdvance(QLatin1Char('M')) +
        2 * kMargin;
    const int range = static_cast<int>(std::min<qsizetype>(width - viewport()->width(), 1 << 24));
    horizontalScrollBar()->setRange(0, std::max(0, range));
    horizontalScrollBar()->setPageStep(viewport()->width());
}

void PagedTextView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void PagedTextView::keyPressEvent(QKeyEvent* event) {
    if (event == QKeySequence::MoveToStartOfDocument) {
        verticalScrollBar()->setValue(0);
    } else if (event == QKeySequence::MoveToEndOfDocument) {
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    } else {
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void PagedTextView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const int height = fontMetrics().lineSpacing();
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(m_tabStop);
    const qreal left = kMargin - horizontalScrollBar()->value();
    const qreal width = viewport()->width() + horizontalScrollBar()->value();
    int y = kMargin;
    for (int index = firstVisibleLine(); index < lineCount() && y < viewport()->height();
         ++index, y += height) {
        painter.drawText(QRectF(left, y, width, height), line(index), option);
    }
}

}  // namespace fulgor
