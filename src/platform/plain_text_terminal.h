#pragma once
// The serial link's terminal pane shown in a QPlainTextEdit.

#include <QPlainTextEdit>
#include <QPointer>

#include "platform/qt_serial_link.h"

namespace fulgor {

class PlainTextTerminal : public TerminalPane {
public:
    // The edit may be destroyed before this pane; the pane then shows nothing.
    explicit PlainTextTerminal(QPlainTextEdit* edit) : m_edit(edit) {}

    void append(const QString& text) override;
    void clear() override;
    // Qt reads a block count of 0 as "keep everything", hence at least 1.
    void setMaximumLines(int lines) override;

private:
    QPointer<QPlainTextEdit> m_edit;
};

}  // namespace fulgor
