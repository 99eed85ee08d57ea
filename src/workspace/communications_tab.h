#pragma once
// The Communications tab: the holding pen (the text to transmit), the serial
// port settings, the show statistics, transmission progress and the terminal.

#include "workspace/workspace_tab.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace fulgor {

class CommunicationsTab : public WorkspaceTab {
    Q_OBJECT
public:
    explicit CommunicationsTab(QWidget* parent = nullptr);

    bool serves(MenuCommand) const override { return false; }
    void run(MenuCommand) override {}

    QLineEdit* showNameBox() const { return m_showRepeater; }
    // Follows the Miravel Timing switch: "Format KV Script" or "Format MV Script".
    void setMiravelTiming(bool on);

private:
    QPlainTextEdit* m_holdingPen;
    QPlainTextEdit* m_terminal;
    QPushButton* m_formatShow;
    QLineEdit* m_showRepeater;
};

}  // namespace fulgor
