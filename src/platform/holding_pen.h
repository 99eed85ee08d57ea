#pragma once
// The holding pen: the text to transmit. A text of ordinary size is an
// editable text box as ever; a large one (a formatted show of tens of
// thousands of cues) is shown read-only by a view that lays out only the lines
// on screen, since a text box takes seconds to take in tens of megabytes.
// Either way the pen keeps the exact characters to send.

#include <QPlainTextEdit>
#include <optional>
#include <string>

namespace fulgor {

class PagedTextView;

class HoldingPen : public QPlainTextEdit {
    Q_OBJECT
public:
    // Texts longer than this, in bytes, are shown read-only.
    static constexpr std::size_t kEditableBytes = std::size_t{1} << 20;

    explicit HoldingPen(QWidget* parent = nullptr);

    // Replaces the text with `text` (UTF-8), kept as the characters to send.
    void setSendText(std::string text);
    // Replaces the text with pasted text, whose lines may end in LF or CR LF.
    void setPastedText(const QString& text);
    // The characters to send: the text with every line ended by CR LF.
    const std::string& sendText();
    // The text with its lines ended by LF, as the pen shows it.
    QString shownText() const;
    bool isPaged() const { return m_paged; }
    PagedTextView* pager() const { return m_pager; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showPaged(bool on);

    PagedTextView* m_pager;
    bool m_paged = false;
    bool m_replacing = false;
    // Kept until the text changes: reading a large show out of the text box
    // on every transmission tick would stall the window.
    std::optional<std::string> m_sendText;
};

}  // namespace fulgor
