#include "workspace/communications_tab.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QVBoxLayout>

#include "workspace/widgets.h"

namespace fulgor {
namespace {

const QString kFormatKv = QStringLiteral("Format KV Script");
const QString kFormatMv = QStringLiteral("Format MV Script");

}  // namespace

CommunicationsTab::CommunicationsTab(QWidget* parent) : WorkspaceTab(parent) {
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);

    m_holdingPen = named(new QPlainTextEdit, "txtHoldingPen");
    m_holdingPen->setFont(fixed);
    m_holdingPen->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_terminal = named(new QPlainTextEdit, "txtTerminal");
    m_terminal->setFont(fixed);
    m_terminal->setReadOnly(true);
    m_terminal->setMaximumBlockCount(600);

    QPushButton* clearHolding = makeButton("cmdClearHolding", QStringLiteral("Clear Text window"));
    m_formatShow = makeButton("cmdFormatShow", kFormatKv);
    QPushButton* talsenToPd = makeButton("cmdTalsen2PD", QStringLiteral("Format TS as PD Script"));
    QPushButton* sdToPd = makeButton("cmdShowDir2PD", QStringLiteral("Format SD as PD Script"));
    QPushButton* send = makeButton("cmdSendShow", QStringLiteral("Transmit Show"));
    QPushButton* clearScreen = makeButton("cmdClearScreen", QStringLiteral("Clear Terminal"));
    QPushButton* capture = makeButton("cmdCaptureSerial", QStringLiteral("Begin Capture"));

    QGroupBox* portFrame = makeFrame("frmCommPort", QStringLiteral("Comm Port Settings"));
    auto* portBox = named(new QLineEdit(QStringLiteral("1")), "txtCommPort");
    QPushButton* applyPort = makeButton("cmdCommPort", QStringLiteral("Apply Port"));
    QRadioButton* kavrinBaud = makeOption("optKavrinBaud", QStringLiteral("Kavrin"));
    QRadioButton* modem = makeOption("optTcModem", QStringLiteral("FSK Modem"));
    QRadioButton* pdBaud = makeOption("optPDBaud", QStringLiteral("9600 Baud"));
    kavrinBaud->setChecked(true);
    QLabel* portSettings = makeLabel("lblPortSets", QStringLiteral("[Comm Port Closed]"));
    auto* portLayout = new QGridLayout(portFrame);
    portLayout->addWidget(new QLabel(QStringLiteral("Comm Port")), 0, 0);
    portLayout->addWidget(portBox, 0, 1);
    portLayout->addWidget(applyPort, 0, 2);
    portLayout->addWidget(kavrinBaud, 1, 0);
    portLayout->addWidget(modem, 1, 1);
    portLayout->addWidget(pdBaud, 1, 2);
    portLayout->addWidget(portSettings, 2, 0, 1, 3);

    QGroupBox* infoFrame = makeFrame("frmShowInfo", QStringLiteral("Show Information"));
    m_showRepeater = named(new QLineEdit, "txtShowRepeater");
    auto* infoLayout = new QGridLayout(infoFrame);
    infoLayout->addWidget(new QLabel(QStringLiteral("Show Name")), 0, 0);
    infoLayout->addWidget(m_showRepeater, 0, 1, 1, 2);
    const char* const infoNames[] = {"lblShowInfo0", "lblShowInfo1", "lblShowInfo2"};
    const char* const statNames[] = {"lblShowStats0", "lblShowStats1", "lblShowStats2"};
    const QString infoCaptions[] = {QStringLiteral(" Lines"), QStringLiteral("Characters"),
                                    QStringLiteral("Conflicts")};
    for (int i = 0; i < 3; ++i) {
        infoLayout->addWidget(makeLabel(infoNames[i], infoCaptions[i]), 1, i);
        QLabel* stat = makeLabel(statNames[i]);
        stat->setFrameShape(QFrame::StyledPanel);
        stat->setMinimumWidth(70);
        infoLayout->addWidget(stat, 2, i);
    }

    auto* progress = named(new QProgressBar, "elProgressBar1");
    progress->setRange(0, 100);
    progress->setValue(0);
    progress->setVisible(false);
    QLabel* sendStatus = makeLabel("lblSendStatus");
    QLabel* sendChars = makeLabel("lblSendChars");

    // The serial commands arrive with the serial link; until then their
    // controls are shown but cannot be used.
    for (QWidget* notYetBuilt : std::initializer_list<QWidget*>{
             clearHolding, m_formatShow, talsenToPd, sdToPd, send, clearScreen, capture, portBox,
             applyPort, kavrinBaud, modem, pdBaud}) {
        notYetBuilt->setEnabled(false);
    }

    auto* penButtons = new QHBoxLayout;
    for (QPushButton* button : {clearHolding, m_formatShow, talsenToPd, sdToPd, send})
        penButtons->addWidget(button);
    auto* sendLine = new QHBoxLayout;
    sendLine->addWidget(sendStatus, 1);
    sendLine->addWidget(sendChars);
    sendLine->addWidget(progress, 2);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Text to transmit")));
    left->addWidget(m_holdingPen, 1);
    left->addLayout(penButtons);
    left->addLayout(sendLine);

    auto* terminalButtons = new QHBoxLayout;
    terminalButtons->addWidget(clearScreen);
    terminalButtons->addWidget(capture);
    auto* right = new QVBoxLayout;
    right->addWidget(portFrame);
    right->addWidget(infoFrame);
    right->addWidget(new QLabel(QStringLiteral("Terminal")));
    right->addWidget(m_terminal, 1);
    right->addLayout(terminalButtons);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addLayout(right, 2);
}

void CommunicationsTab::setMiravelTiming(bool on) {
    m_formatShow->setText(on ? kFormatMv : kFormatKv);
}

}  // namespace fulgor
