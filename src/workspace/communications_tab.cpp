#include "workspace/communications_tab.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSplitter>
#include <QStringList>
#include <QTimer>
#include <QVBoxLayout>

#include "addressing/number_shots.h"
#include "comms/capture.h"
#include "comms/port_presets.h"
#include "comms/show_format.h"
#include "comms/terminal.h"
#include "conversion/pd_script.h"
#include "conversion/sd_to_pd.h"
#include "conversion/sd_view.h"
#include "platform/holding_pen.h"
#include "platform/plain_text_terminal.h"
#include "platform/program_folder.h"
#include "platform/prompter.h"
#include "platform/qt_serial_link.h"
#include "platform/qt_text.h"
#include "platform/transmission_log.h"
#include "workspace/widgets.h"
#include "workspace/workspace_state.h"

namespace fulgor {
namespace {

const QString kFormatKv = QStringLiteral("Format KV Script");
const QString kFormatMv = QStringLiteral("Format MV Script");
const QString kFormatWhileSending = QStringLiteral(
    "A show is being transmitted. Formatting the SD show now replaces the text being sent and "
    "sets the port to 9600 baud. Format it anyway?");
// The running line count of a long show is repainted this often, not after
// every record: painting a million times would cost more than the formatting.
constexpr qint64 kLineCountRepaintMs = 40;
// And the clock is read only every so many records: reading it for each of a
// million records costs more than the formatting of many of them.
constexpr std::int64_t kLinesPerClockCheck = 256;

template <class Pane>
Pane* makeTextPane(const char* name) {
    auto* pane = named(new Pane, name);
    pane->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    pane->setLineWrapMode(QPlainTextEdit::NoWrap);
    return pane;
}

}  // namespace

CommunicationsTab::CommunicationsTab(WorkspaceState& state, Prompter& prompter, Links links,
                                     QWidget* parent)
    : WorkspaceTab(parent),
      m_state(state),
      m_prompter(prompter),
      m_links(std::move(links)),
      m_holdingPen(makeTextPane<HoldingPen>("txtHoldingPen")),
      m_terminal(makeTextPane<QPlainTextEdit>("txtTerminal")),
      m_terminalPane(std::make_unique<PlainTextTerminal>(m_terminal)),
      m_link(std::make_unique<QtSerialLink>(m_terminalPane.get())),
      m_transmission(*m_link),
      m_timer(new QTimer(this)) {
    m_terminal->setReadOnly(true);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(kTickMilliseconds);
    connect(m_timer, &QTimer::timeout, this, &CommunicationsTab::tick);
    connect(m_link.get(), &QtSerialLink::failed, this,
            [this] { m_portSettings->setText(toQString(kPortClosedLabel)); });
    // Queued: the message waits until the link has finished with what
    // arrived, so that the terminal goes on showing what the panel sends.
    connect(m_link.get(), &QtSerialLink::captureFailed, this,
            &CommunicationsTab::reportCaptureFailure, Qt::QueuedConnection);

    m_clearHolding = makeButton("cmdClearHolding", QStringLiteral("Clear Text window"));
    m_formatShow = makeButton("cmdFormatShow", kFormatKv);
    m_talsenToPd = makeButton("cmdTalsen2PD", QStringLiteral("Format TS as PD Script"));
    m_sdToPd = makeButton("cmdShowDir2PD", QStringLiteral("Format SD as PD Script"));
    m_send = makeButton("cmdSendShow", toQString(kTransmitShowCaption));
    m_clearScreen = makeButton("cmdClearScreen", QStringLiteral("Clear Terminal"));
    m_capture = makeButton("cmdCaptureSerial", toQString(captureCaption(*m_link)));
    connect(m_clearHolding, &QPushButton::clicked, this, &CommunicationsTab::clearHoldingPen);
    connect(m_formatShow, &QPushButton::clicked, this, &CommunicationsTab::formatShow);
    connect(m_talsenToPd, &QPushButton::clicked, this, &CommunicationsTab::formatTalsenPd);
    connect(m_sdToPd, &QPushButton::clicked, this, &CommunicationsTab::formatSdPd);
    connect(m_send, &QPushButton::clicked, this, &CommunicationsTab::sendShow);
    connect(m_clearScreen, &QPushButton::clicked, this, &CommunicationsTab::clearTerminal);
    connect(m_capture, &QPushButton::clicked, this, &CommunicationsTab::toggleCapture);

    QGroupBox* portFrame = makeFrame("frmCommPort", QStringLiteral("Comm Port Settings"));
    buildPortFrame(portFrame);

    QGroupBox* infoFrame = makeFrame("frmShowInfo", QStringLiteral("Show Information"));
    m_showRepeater = named(new QLineEdit, "txtShowRepeater");
    auto* infoLayout = new QGridLayout(infoFrame);
    infoLayout->addWidget(new QLabel(QStringLiteral("Show Name")), 0, 0);
    infoLayout->addWidget(m_showRepeater, 0, 1, 1, 2);
    const char* const infoNames[] = {"lblShowInfo0", "lblShowInfo1", "lblShowInfo2"};
    const char* const statNames[] = {"lblShowStats0", "lblShowStats1", "lblShowStats2"};
    for (int i = 0; i < 3; ++i) {
        infoLayout->addWidget(makeLabel(infoNames[i], toQString(kShowStatsCaptions[i])), 1, i);
        m_showStats[i] = makeLabel(statNames[i]);
        m_showStats[i]->setFrameShape(QFrame::StyledPanel);
        m_showStats[i]->setMinimumWidth(70);
        infoLayout->addWidget(m_showStats[i], 2, i);
    }

    m_progress = named(new QProgressBar, "elProgressBar1");
    m_progress->setRange(0, 100);
    m_sendStatus = makeLabel("lblSendStatus");
    m_sendChars = makeLabel("lblSendChars");
    m_lastSend = makeLabel("lblLastTransmission");
    m_lastSend->setWordWrap(true);
    m_lastSend->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_lastSend->hide();  // shown once there is a record, so the tab keeps its layout till then
    showSend({});

    auto* penButtons = new QHBoxLayout;
    for (QPushButton* button : {m_clearHolding, m_formatShow, m_talsenToPd, m_sdToPd, m_send}) {
        penButtons->addWidget(button);
    }
    auto* sendLine = new QHBoxLayout;
    sendLine->addWidget(m_sendStatus, 1);
    sendLine->addWidget(m_sendChars);
    sendLine->addWidget(m_progress, 2);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Text to transmit")));
    left->addWidget(m_holdingPen, 1);
    left->addLayout(penButtons);
    left->addLayout(sendLine);
    left->addWidget(m_lastSend);

    auto* terminalButtons = new QHBoxLayout;
    terminalButtons->addWidget(m_clearScreen);
    terminalButtons->addWidget(m_capture);
    auto* right = new QVBoxLayout;
    right->addWidget(portFrame);
    right->addWidget(infoFrame);
    right->addWidget(new QLabel(QStringLiteral("Terminal")));
    right->addWidget(m_terminal, 1);
    right->addLayout(terminalButtons);

    // The operator sets how much room the holding pen and the terminal get;
    // the window remembers it.
    auto* panes = named(new QSplitter, "splCommunications");
    for (QLayout* side : {static_cast<QLayout*>(left), static_cast<QLayout*>(right)}) {
        auto* pane = new QWidget;
        side->setContentsMargins(0, 0, 0, 0);
        pane->setLayout(side);
        panes->addWidget(pane);
    }
    // Three fifths for the holding pen at first; the window gives the
    // remembered split back afterwards.
    panes->setSizes({690, 460});
    panes->setStretchFactor(0, 3);
    panes->setStretchFactor(1, 2);
    panes->setChildrenCollapsible(false);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(panes);
}

CommunicationsTab::~CommunicationsTab() = default;

void CommunicationsTab::buildPortFrame(QWidget* frame) {
    m_portBox = named(new QLineEdit(toQString(fulgor::portBoxText(m_state.port))), "txtCommPort");
    m_portBox->setMaximumWidth(140);
    m_applyPort = makeButton("cmdCommPort", QStringLiteral("Apply Port"));
    connect(m_applyPort, &QPushButton::clicked, this, &CommunicationsTab::applyPort);
    m_portSettings = makeLabel("lblPortSets", toQString(kPortClosedLabel));
    auto* layout = new QGridLayout(frame);
    layout->addWidget(new QLabel(QStringLiteral("Comm Port")), 0, 0);
    layout->addWidget(m_portBox, 0, 1);
    layout->addWidget(m_applyPort, 0, 2);
    for (std::size_t i = 0; i < kPortPresets.size(); ++i) {
        const PortPreset& preset = kPortPresets[i];
        m_presetOptions[i] =
            makeOption(std::string(preset.option).c_str(), toQString(preset.caption));
        connect(m_presetOptions[i], &QRadioButton::clicked, this,
                [this, &preset] { choosePreset(preset); });
        layout->addWidget(m_presetOptions[i], 1, static_cast<int>(i));
    }
    m_presetOptions[0]->setChecked(true);
    layout->addWidget(m_portSettings, 2, 0, 1, 3);
}

void CommunicationsTab::setMiravelTiming(bool on) {
    m_formatShow->setText(on ? kFormatMv : kFormatKv);
}

void CommunicationsTab::run(MenuCommand command) {
    if (command != MenuCommand::PasteLines) return;
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    if (clip && clip->hasText()) m_holdingPen->setPastedText(clip->text());
}

std::string CommunicationsTab::portBoxText() const {
    return m_portBox->text().toStdString();
}

void CommunicationsTab::formatShow() {
    std::optional<Result<PanelText>> formatted;
    {
        LongCommand command(m_prompter, QStringLiteral("Formatting the show"));
        const Progress progress = command.report();
        const QString linesShown = m_showStats[0]->text();
        // Numbered on a copy, which takes the table's place only once the
        // formatting has run (refused or not) without a cancel.
        Table numbered = m_state.kavrin;
        NumberShots(numbered, stageOf(progress, 0, 0.5));
        if (command.cancelled()) return;
        m_sinceRepaint.start();
        formatted = formatPanelText(
            numbered, m_showRepeater->text().toStdString(), m_links.miravelTiming(),
            [this](std::int64_t lines) {
                if (lines % kLinesPerClockCheck != 0 ||
                    m_sinceRepaint.elapsed() < kLineCountRepaintMs)
                    return;
                m_showStats[0]->setText(QString::number(lines));
                m_showStats[0]->repaint();
                m_sinceRepaint.restart();
            },
            stageOf(progress, 0.5, 1));
        if (command.cancelled()) {
            m_showStats[0]->setText(linesShown);  // the count ran part-way
            return;
        }
        m_holdingPen->setSendText({});
        m_links.replaceKavrinTable(QStringLiteral("Number Shots"), std::move(numbered));
    }
    if (!*formatted) {
        for (QLabel* stat : m_showStats) stat->clear();
        m_prompter.message(kAppTitle, toQString(formatted->error()), Prompter::Icon::Exclamation);
        return;
    }
    PanelText& panel = formatted->value();
    {
        BusyPointer busy(m_prompter);
        m_holdingPen->setSendText(std::move(panel.text));
    }
    m_showStats[0]->setText(QString::number(panel.lines));
    m_showStats[1]->setText(QString::number(panel.characters));
    m_showStats[2]->setText(QString::number(m_state.conflictCount));
    QStringList warnings;
    for (const std::string& warning : sentAsZeroWarnings(panel)) warnings << toQString(warning);
    emit statusMessage(warnings.join(QStringLiteral("; ")));
    if (!panel.untimedRows.empty()) {
        m_prompter.message(kAppTitle, toQString(heldBackUntimedMessage(panel.untimedRows)),
                           Prompter::Icon::Exclamation);
    }
    m_presetOptions[0]->setChecked(true);
    choosePreset(kKavrinPreset);
}

void CommunicationsTab::formatTalsenPd() {
    m_holdingPen->setSendText({});
    // The Talsen table is sorted into firing order and numbered, refused or not.
    std::optional<Result<PdScript>> pd;
    {
        BusyPointer busy(m_prompter);
        m_links.changeTalsenTable(QStringLiteral("Format TS as PD Script"),
                                  [&] { pd.emplace(TalsenToPd(m_state.talsen)); });
    }
    if (!*pd) {
        m_prompter.message(kAppTitle, toQString(pd->error()), Prompter::Icon::None);
        return;
    }
    showPdText(pd->value().text);
    finishPd(pd->value());
}

void CommunicationsTab::formatSdPd() {
    // Unlike its Talsen twin this button stays enabled while a show is sent;
    // formatting then would swap the text under the transmission and reopen the port.
    if (m_transmission.timerRunning() &&
        !m_prompter.askYesNo(kAppTitle, kFormatWhileSending, Prompter::Icon::Exclamation))
        return;
    m_holdingPen->setSendText({});
    Result<std::unique_ptr<SdEventSource>> events = m_links.sdEvents();
    if (!events) {
        m_prompter.message(kAppTitle, toQString(sdFailure(kSdToPdSource, events.error())),
                           Prompter::Icon::None);
        return;
    }
    SdToPdOutcome outcome = [&] {
        BusyPointer busy(m_prompter);
        return SdToPd(*events.value(), m_links.sdSize());
    }();
    // What was formed before a failure stays in the pen.
    showPdText(outcome.script.text);
    if (outcome.failure) {
        m_prompter.message(kAppTitle, toQString(*outcome.failure), Prompter::Icon::None);
        return;
    }
    finishPd(outcome.script);
}

void CommunicationsTab::showPdText(std::string text) {
    BusyPointer busy(m_prompter);
    m_holdingPen->setSendText(std::move(text));
}

void CommunicationsTab::finishPd(const PdScript& script) {
    m_showStats[0]->setText(QString::number(script.records));
    m_showStats[1]->setText(QString::number(script.characters()));
    m_showStats[2]->setText(QString::number(script.skipped));
    m_presetOptions[2]->setChecked(true);
    choosePreset(kPdPreset);
}

void CommunicationsTab::showPort(const PortOutcome& outcome) {
    m_portSettings->setText(toQString(outcome.portLabel));
    m_portSettings->setToolTip(toQString(outcome.reason));
    if (outcome.message) showError(m_prompter, toQString(*outcome.message));
}

void CommunicationsTab::applyPort() {
    ApplyPortOutcome outcome = fulgor::applyPort(m_state.port, portBoxText(), *m_link);
    if (outcome.restoredBoxText) m_portBox->setText(toQString(*outcome.restoredBoxText));
    if (outcome.reopened) showPort(*outcome.reopened);
}

void CommunicationsTab::choosePreset(const PortPreset& preset) {
    ApplyPortOutcome outcome = fulgor::choosePreset(m_state.port, preset, portBoxText(), *m_link);
    if (outcome.restoredBoxText) m_portBox->setText(toQString(*outcome.restoredBoxText));
    if (outcome.reopened) showPort(*outcome.reopened);
}

void CommunicationsTab::sendShow() {
    SendStep step = m_transmission.click(m_holdingPen->sendText(), m_state.port, portBoxText());
    if (step.askCancel) {
        if (!m_prompter.askYesNo(toQString(kCancelTitle), toQString(kCancelQuestion),
                                 Prompter::Icon::None))
            return;
        step = m_transmission.confirmCancel();
    }
    showSend(step);
}

void CommunicationsTab::tick() {
    showSend(m_transmission.tick(m_holdingPen->sendText()));
}

void CommunicationsTab::showSend(const SendStep& step) {
    const SendDisplay& display = m_transmission.display();
    m_send->setText(toQString(display.buttonCaption));
    m_sendStatus->setText(toQString(display.status));
    m_sendChars->setText(toQString(display.charactersLeft));
    m_progress->setValue(display.progress);
    m_progress->setVisible(display.progressVisible);
    if (display.busyPointer != m_busyShown) {
        m_busyShown = display.busyPointer;
        m_prompter.setBusy(m_busyShown);
    }
    EnableCommButtons(display.commButtonsEnabled);
    if (m_transmission.timerRunning() && !m_timer->isActive()) m_timer->start();
    if (!m_transmission.timerRunning()) m_timer->stop();
    if (step.portLabel) m_portSettings->setText(toQString(*step.portLabel));
    if (m_transmission.timerRunning() && !m_lastSend->text().isEmpty()) {
        m_lastSend->clear();
        m_lastSend->hide();
    }
    if (step.sent) recordTransmission(*step.sent);
    for (const std::string& message : step.messages) showError(m_prompter, toQString(message));
}

void CommunicationsTab::recordTransmission(const SentShow& sent) {
    LoggedTransmission logged = logTransmission(sent);
    m_lastSend->setText(toQString(logged.line));
    m_lastSend->show();
    if (!logged.appended)
        m_prompter.message(kAppTitle, toQString(logged.appended.error()),
                           Prompter::Icon::Exclamation);
}

void CommunicationsTab::EnableCommButtons(bool on) {
    for (std::string_view name : kCommButtons) {
        auto* button = findChild<QPushButton*>(toQString(name));
        if (button) button->setEnabled(on);
    }
    // A preset click runs Apply Port, so the presets rest with it: reopening the
    // port mid-show would drop the queued cues and change the baud rate under them.
    for (QRadioButton* option : m_presetOptions) option->setEnabled(on);
}

void CommunicationsTab::toggleCapture() {
    Status started = fulgor::toggleCapture(*m_link, programFolder().toStdString());
    m_capture->setText(toQString(captureCaption(*m_link)));
    if (!started)
        m_prompter.message(kAppTitle, toQString(started.error()), Prompter::Icon::Exclamation);
}

void CommunicationsTab::reportCaptureFailure(const QString& reason) {
    m_capture->setText(toQString(captureCaption(*m_link)));
    m_prompter.message(kAppTitle, QStringLiteral("Capture stopped: ") + reason,
                       Prompter::Icon::Exclamation);
}

void CommunicationsTab::clearTerminal() {
    showPort(fulgor::clearTerminal(m_state.port, portBoxText(), *m_link));
}

void CommunicationsTab::clearHoldingPen() {
    m_holdingPen->setSendText({});
    for (QLabel* stat : m_showStats) stat->clear();
}

}  // namespace fulgor
