#pragma once
// A read-only view of a long text that lays out only the lines on screen:
// scrolling a million lines costs what scrolling a screenful does. Lines end
// at LF (a CR before it is not shown); tabs stop every `tabStop` pixels.

#include <QAbstractScrollArea>
#include <string>
#include <vector>

namespace fulgor {

class PagedTextView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit PagedTextView(QWidget* parent = nullptr);

    // Shows `text` (UTF-8), which must outlive the view or the next call; the
    // view keeps only where each line starts.
    void setText(const std::string* text);
    void setTabStop(qreal pixels) { m_tabStop = pixels; }
    int lineCount() const { return static_cast<int>(m_lineStarts.size()); }
    // The line's text, without its line end.
    QString line(int index) const;
    int firstVisibleLine() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void updateScrollBars();

    const std::string* m_text = nullptr;
    std::vector<std::size_t> m_lineStarts;
    std::size_t m_longestLine = 0;  // in bytes: the widest a line can be, in characters
    qreal m_tabStop = 80;
};

}  // namespace fulgor
