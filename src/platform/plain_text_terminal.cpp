#include "platform/plain_text_terminal.h"

#include <algorithm>

namespace fulgor {

void PlainTextTerminal::append(const QString& text) {
    if (!m_edit) return;
    m_edit->moveCursor(QTextCursor::End);
    m_edit->insertPlainText(text);
}

void PlainTextTerminal::clear() {
    if (m_edit) m_edit->clear();
}

void PlainTextTerminal::setMaximumLines(int lines) {
    if (m_edit) m_edit->setMaximumBlockCount(std::max(lines, 1));
}

}  // namespace fulgor
