#pragma once
// The Communications tab: the holding pen (the text to transmit), the serial
// port settings, the show statistics, the paced transmission and the terminal.

#include <QElapsedTimer>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "comms/transmission.h"
#include "conversion/sd_to_talsen.h"
#include "workspace/workspace_tab.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTimer;

namespace fulgor {

class HoldingPen;
class Prompter;
class PlainTextTerminal;
class QtSerialLink;
struct PortOutcome;
struct PortPreset;
struct PdScript;
struct WorkspaceState;

class CommunicationsTab : public WorkspaceTab {
    Q_OBJECT
public:
    struct Links {
        std::function<bool()> miravelTiming;  // the Kavrin tab's "Miravel Timing"
        // Run a change of the Kavrin or Talsen table as one undoable step of its tab.
        // Format KV Script numbers the shots on a copy of the Kavrin table
        // (so that a cancel leaves it as it was); this puts the copy in its place.
        std::function<void(const QString& text, Table after)> replaceKavrinTable;
        TableChange changeTalsenTable;
        // The SD view's events and its Cal/Cghz choice, for "Format SD as PD Script".
        std::function<Result<std::unique_ptr<SdEventSource>>()> sdEvents;
        std::function<SdSize()> sdSize;
    };

    CommunicationsTab(WorkspaceState& state, Prompter& prompter, Links links,
                      QWidget* parent = nullptr);
    ~CommunicationsTab() override;

    // Paste Lines replaces the holding pen's text with the clipboard's.
    bool serves(MenuCommand command) const override { return command == MenuCommand::PasteLines; }
    void run(MenuCommand command) override;

    QLineEdit* showNameBox() const { return m_showRepeater; }
    // Follows the Miravel Timing switch: "Format KV Script" or "Format MV Script".
    void setMiravelTiming(bool on);

private:
    void buildPortFrame(QWidget* frame);
    void formatShow();
    void formatTalsenPd();
    void formatSdPd();
    // Puts a PD script into the holding pen.
    void showPdText(std::string text);
    // The PD script's statistics, and the PD preset selected.
    void finishPd(const PdScript& script);
    void applyPort();
    void choosePreset(const PortPreset& preset);
    void showPort(const PortOutcome& outcome);
    void sendShow();
    void tick();
    void showSend(const SendStep& step);
    // Logs a transmission that ended and keeps its record line showing.
    void recordTransmission(const SentShow& sent);
    void EnableCommButtons(bool on);
    void toggleCapture();
    // The link stopped capturing because the capture file could not be written.
    void reportCaptureFailure(const QString& reason);
    void clearTerminal();
    void clearHoldingPen();
    std::string portBoxText() const;

    WorkspaceState& m_state;
    Prompter& m_prompter;
    Links m_links;
    HoldingPen* m_holdingPen;
    QPlainTextEdit* m_terminal;
    std::unique_ptr<PlainTextTerminal> m_terminalPane;
    std::unique_ptr<QtSerialLink> m_link;
    Transmission m_transmission;
    QTimer* m_timer;  // Timer1: paces a transmission, runs only during one
    bool m_busyShown = false;
    QElapsedTimer m_sinceRepaint;

    QPushButton* m_clearHolding;
    QPushButton* m_formatShow;
    QPushButton* m_talsenToPd;
    QPushButton* m_sdToPd;
    QPushButton* m_send;
    QPushButton* m_clearScreen;
    QPushButton* m_capture;
    QLineEdit* m_portBox;
    QPushButton* m_applyPort;
    std::array<QRadioButton*, 3> m_presetOptions{};
    QLabel* m_portSettings;
    QLineEdit* m_showRepeater;
    std::array<QLabel*, 3> m_showStats{};
    QProgressBar* m_progress;
    QLabel* m_sendStatus;
    QLabel* m_sendChars;
    QLabel* m_lastSend;  // the last transmission's record, until the next one starts
};

}  // namespace fulgor
