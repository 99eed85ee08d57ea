#include "platform/holding_pen.h"

#include <QTextDocument>

#include "comms/crlf_text.h"
#include "platform/paged_text_view.h"
#include "platform/qt_text.h"

namespace fulgor {

HoldingPen::HoldingPen(QWidget* parent) : QPlainTextEdit(parent), m_pager(new PagedTextView(this)) {
    m_pager->hide();
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (m_replacing) return;
        // Typed, or replaced through the text box itself.
        showPaged(false);
        m_sendText.reset();
    });
}

void HoldingPen::setSendText(std::string text) {
    m_replacing = true;
    const bool paged = text.size() > kEditableBytes;
    showPaged(false);
    if (paged) {
        clear();
    } else {
        setPlainText(toQString(text));
    }
    m_sendText = std::move(text);
    if (paged) showPaged(true);
    m_replacing = false;
}

void HoldingPen::setPastedText(const QString& text) {
    if (static_cast<std::size_t>(text.size()) > kEditableBytes) {
        setSendText(withCrLf(text.toStdString()));
    } else {
        setPlainText(text);
    }
}

const std::string& HoldingPen::sendText() {
    if (!m_sendText) {
        // The raw text, not toPlainText(), which turns non-breaking spaces into plain ones.
        QString text = document()->toRawText();
        text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        m_sendText = withCrLf(text.toStdString());
    }
    return *m_sendText;
}

QString HoldingPen::shownText() const {
    if (!m_paged) return toPlainText();
    return toQString(*m_sendText).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void HoldingPen::showPaged(bool on) {
    if (on == m_paged) return;
    m_paged = on;
    // The text box underneath holds nothing then: it must not take keys.
    setReadOnly(on);
    setFocusProxy(on ? m_pager : nullptr);
    if (on) {
        m_pager->setFont(font());
        m_pager->setTabStop(tabStopDistance());
        m_pager->setGeometry(rect());
        m_pager->setText(&*m_sendText);
        m_pager->show();
        m_pager->raise();
    } else {
        m_pager->hide();
        m_pager->setText(nullptr);
    }
}

void HoldingPen::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    m_pager->setGeometry(rect());
}

}  // namespace fulgor
