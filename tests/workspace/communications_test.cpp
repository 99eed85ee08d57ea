// The Communications tab of the real window: port setup, show formatting and
// a transmission to a panel on the far end of a pseudo-terminal pair.

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QtTest>
#include <cerrno>

#include "support/window_test_base.h"

#include "comms/transmission_record.h"
#include "files/file_io.h"
#include "support/pty_panel.h"

using namespace fulgor;
using test::PtyPanel;
using test::writeBytes;

class CommunicationsTest : public test::WindowTestBase {
    Q_OBJECT

private:
    QString text(const char* label) { return find<QLabel>(label)->text(); }
    void click(const char* button) { find<QPushButton>(button)->click(); }
    // Lets the 100 ms timer drive the transmission until it is idle again.
    bool waitUntilIdle() {
        return QTest::qWaitFor([&] { return !find<QTimer>("Timer1")->isActive(); }, 30000);
    }
    QString showText(int characters) {
        QString show;
        for (int i = 0; show.size() < characters; ++i)
            show += QStringLiteral("S\t%1\t1\t1\t10\t01\t01\r\n").arg(i);
        show.truncate(characters - 2);
        return show + QStringLiteral("\r\n");
    }
    // The lines of the transmission record in the program's folder.
    QStringList recordLines() {
        QFile log(QDir(qEnvironmentVariable("FULGOR_HOME"))
                      .filePath(QStringLiteral("Transmissions.log")));
        if (!log.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    // The transmission added exactly one line to the record, and the tab shows it.
    void checkRecorded(const QStringList& before, const QString& tail) {
        const QStringList after = recordLines();
        QCOMPARE(after.size(), before.size() + 1);
        QCOMPARE(after.mid(0, before.size()), before);
        QCOMPARE(text("lblLastTransmission"), after.back());
        QVERIFY(find<QLabel>("lblLastTransmission")->isVisibleTo(window.get()));
        // The date and time come first: "2026-12-06 05:09:12 +01:00 | ".
        QVERIFY2(after.back().mid(29) == tail, qPrintable(after.back()));
    }

private slots:
    void init() {
        openWindow();
        find<QTabWidget>("C1Tab1")->setCurrentIndex(MainWindow::CommunicationsIndex);
    }

    void cleanup() {
        closeWindow();
        for (const char* name : {"FULGOR_PORT_1", "FULGOR_PORT_2", "FULGOR_PORT_7"})
            qunsetenv(name);
    }

    void startupState() {
        QCOMPARE(find<QLineEdit>("txtCommPort")->text(), QStringLiteral("1"));
        QCOMPARE(text("lblPortSets"), QStringLiteral("[Comm Port Closed]"));
        QVERIFY(find<QRadioButton>("optKavrinBaud")->isChecked());
        QCOMPARE(find<QRadioButton>("optTcModem")->text(), QStringLiteral("FSK Modem"));
        QCOMPARE(find<QPushButton>("cmdSendShow")->text(), QStringLiteral("Transmit Show"));
        QVERIFY(!find<QProgressBar>("elProgressBar1")->isVisibleTo(window.get()));
        QVERIFY(!find<QTimer>("Timer1")->isActive());
        QCOMPARE(find<QTimer>("Timer1")->interval(), 100);
        QVERIFY(find<QPushButton>("cmdTalsen2PD")->isEnabled());
        QVERIFY(find<QPushButton>("cmdFormatShow")->isEnabled());
        find<QCheckBox>("ChkMiravelTime")->click();
        QCOMPARE(find<QPushButton>("cmdFormatShow")->text(), QStringLiteral("Format MV Script"));
        find<QCheckBox>("ChkMiravelTime")->click();
        QCOMPARE(find<QPushButton>("cmdFormatShow")->text(), QStringLiteral("Format KV Script"));
    }

    void applyPortNumberRules() {
        PtyPanel panel;
        QVERIFY(panel.ok());
        qputenv("FULGOR_PORT_2", QByteArray::fromStdString(panel.device()));
        qputenv("FULGOR_PORT_7", QByteArray("/nonexistent/fulgor-port"));
        auto* box = find<QLineEdit>("txtCommPort");
        for (const char* refused : {"0", "-2", "abc", "40000"}) {
            box->setText(QString::fromLatin1(refused));
            click("cmdCommPort");
            QCOMPARE(box->text(), QStringLiteral("1"));
            QCOMPARE(text("lblPortSets"), QStringLiteral("[Comm Port Closed]"));
        }
        box->setText(QStringLiteral("2.5"));
        click("cmdCommPort");
        QCOMPARE(text("lblPortSets"), QStringLiteral("[Comm settings are 19200,N,8,1]"));
        find<QRadioButton>("optTcModem")->click();
        QCOMPARE(text("lblPortSets"), QStringLiteral("[Comm settings are 1200,N,8,1]"));
        QVERIFY(prompter->messages.empty());

        box->setText(QStringLiteral("7"));
        click("cmdCommPort");
        QCOMPARE(prompter->messages.size(), size_t(1));
        QCOMPARE(prompter->messages[0].title, QStringLiteral("Fulgor"));
        QCOMPARE(prompter->messages[0].text, QStringLiteral("Comm Port: 7 not available!"));
        QCOMPARE(prompter->messages[0].icon, Prompter::Icon::None);
        QCOMPARE(text("lblPortSets"), QStringLiteral("[Comm Port Closed]"));
    }

    void formatKvScriptFillsTheHoldingPenAndSelectsTheKavrinPreset() {
        PtyPanel panel;
        qputenv("FULGOR_PORT_1", QByteArray::fromStdString(panel.device()));
        writeBytes(dir->path("show.kvn"),
                   "Gala\r\n9,,1,2.5,01,02,,,,,,,\r\n9,,1,1,01,01,,,,,,,\r\n9,,2,1,02,01,,,3,,,,"
                   "\r\n9,,2,,02,02,,,,,,,\r\n");
        find<QTabWidget>("C1Tab1")->setCurrentIndex(MainWindow::KavrinIndex);
        prompter->fileAnswers.push_back(QString::fromStdString(dir->path("show.kvn")));
        find<QAction>("mnuFileOpen")->trigger();
        find<QTabWidget>("C1Tab1")->setCurrentIndex(MainWindow::CommunicationsIndex);
        find<QRadioButton>("optPDBaud")->click();
        QCOMPARE(find<QLineEdit>("txtShowRepeater")->text(), QStringLiteral("Gala"));

        click("cmdFormatShow");
        const QString expected =
            QStringLiteral("N\tGala\nS\t2\t1\t1\t10\t1\t1\nS\t4\t2\t1\t25\t1\t2\nS\t0\t0\n");
        QCOMPARE(find<QPlainTextEdit>("txtHoldingPen")->toPlainText(), expected);
        QCOMPARE(text("lblShowStats0"), QStringLiteral("4"));
        QCOMPARE(text("lblShowStats1"), QString::number(expected.size() + 4));  // CR LF counts two
        QCOMPARE(text("lblShowStats2"), QStringLiteral("0"));  // no conflict check yet
        QCOMPARE(prompter->messages.size(), size_t(1));        // the untimed row was held back
        QCOMPARE(prompter->lastMessage(), QStringLiteral("No Time, not sent: Line 1"));
        QCOMPARE(window->statusBar()->currentMessage(), QString());
        QVERIFY(find<QRadioButton>("optKavrinBaud")->isChecked());
        QCOMPARE(text("lblPortSets"), QStringLiteral("[Comm settings are 19200,N,8,1]"));
        // The Kavrin table stays in firing order with its shots numbered.
        QCOMPARE(QString::fromStdString(cellText(window->state().kavrin.cell(1, 1))),
                 QStringLiteral("1"));

        click("cmdClearHolding");
        QCOMPARE(find<QPlainTextEdit>("txtHoldingPen")->toPlainText(), QString());
        QCOMPARE(text("lblShowStats0") + text("lblShowStats1") + text("lblShowStats2"), QString());
    }

    // The panel gets 0 where a cell holds no number; the status bar names the Lines.
    void formatKvScriptWarnsOfCuesSentWithZeroInTheStatusBar() {
        PtyPanel panel;
        qputenv("FULGOR_PORT_1", QByteArray::fromStdString(panel.device()));
        writeBytes(dir->path("show.kvn"), "\r\n9,,1,2,,02,,,,,,,\r\n9,,1,tbd,01,01,,,,,,,\r\n");
        find<QTabWidget>("C1Tab1")->setCurrentIndex(MainWindow::KavrinIndex);
        prompter->fileAnswers.push_back(QString::fromStdString(dir->path("show.kvn")));
        find<QAction>("mnuFileOpen")->trigger();
        find<QTabWidget>("C1Tab1")->setCurrentIndex(MainWindow::CommunicationsIndex);
        click("cmdFormatShow");
        QCOMPARE(find<QPlainTextEdit>("txtHoldingPen")->toPlainText(),
                 QStringLiteral("S\t1\t1\t1\t0\t1\t1\nS\t2\t2\t1\t20\t0\t2\nS\t0\t0\n"));
        QCOMPARE(window->statusBar()->currentMessage(),
                 QStringLiteral("Time is not a number, sent as 0 (fires at the start of the "
                                "show): Line 1; Module or pin missing, sent as 0: Line 2"));
        QVERIFY(prompter->messages.empty());
    }

    void transmitShowDeliversEveryByteInOrder() {
        PtyPanel panel;
        QVERIFY(panel.ok());
        qputenv("FULGOR_PORT_1", QByteArray::fromStdString(panel.device()));
        const QString show = showText(40000);
        find<QPlainTextEdit>("txtHoldingPen")->setPlainText(show);
        const QStringList before = recordLines();
        click("cmdSendShow");
        QCOMPARE(find<QPushButton>("cmdSendShow")->text(), QStringLiteral("Transmit Cancel"));
        QCOMPARE(text("lblLastTransmission"), QString());
        QVERIFY(!find<QLabel>("lblLastTransmission")->isVisibleTo(window.get()));
        QVERIFY(find<QProgressBar>("elProgressBar1")->isVisibleTo(window.get()));
        for (const char* button :
             {"cmdClearHolding", "cmdFormatShow", "cmdTalsen2PD", "cmdCommPort"}) {
            QVERIFY2(!find<QPushButton>(button)->isEnabled(), button);
        }
        prompter->yesNoAnswers.push_back(false);
        click("cmdShowDir2PD");
        QVERIFY(prompter->questions.back().text.startsWith(
            QStringLiteral("A show is being transmitted. Formatting the SD show now replaces")));
        QCOMPARE(find<QPlainTextEdit>("txtHoldingPen")->toPlainText(),
                 QString(show).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QVERIFY(find<QPushButton>("cmdClearScreen")->isEnabled());
        QVERIFY(!find<QRadioButton>("optTcModem")->isEnabled());
        QVERIFY(waitUntilIdle());
        QVERIFY(panel.waitFor(40000));
        QCOMPARE(QString::fromStdString(panel.received()), show);
        QCOMPARE(find<QPushButton>("cmdSendShow")->text(), QStringLiteral("Transmit Show"));
        QCOMPARE(text("lblSendStatus"), QString());
        QCOMPARE(text("lblSendChars"), QString());
        QVERIFY(!find<QProgressBar>("elProgressBar1")->isVisibleTo(window.get()));
        QVERIFY(find<QPushButton>("cmdFormatShow")->isEnabled());
        QVERIFY(find<QPushButton>("cmdTalsen2PD")->isEnabled());
        QVERIFY(find<QRadioButton>("optTcModem")->isEnabled());
        QVERIFY(prompter->messages.empty());
        checkRecorded(before, QStringLiteral("%1 | 19200,N,8,1 | 40000 bytes | CRC-32 %2 | "
                                             "\"S\\t0\\t1\\t1\\t10\\t01\\t01\" | complete")
                                  .arg(QString::fromStdString(panel.device()),
                                       QString::number(crc32Of(panel.received()), 16)
                                           .toUpper()
                                           .rightJustified(8, QLatin1Char('0'))));

        // The record stays until the next transmission starts.
        click("cmdClearHolding");
        QVERIFY(!text("lblLastTransmission").isEmpty());
        find<QPlainTextEdit>("txtHoldingPen")->setPlainText(QStringLiteral("S\t0\t0\r\n"));
        click("cmdSendShow");
        QCOMPARE(text("lblLastTransmission"), QString());
        QVERIFY(!find<QLabel>("lblLastTransmission")->isVisibleTo(window.get()));
        QVERIFY(waitUntilIdle());
        QVERIFY(text("lblLastTransmission").endsWith(QStringLiteral(" | complete")));
    }

    void everyCharacterOfTheCodePageGoesOutAsItsByte() {
        PtyPanel panel;
        qputenv("FULGOR_PORT_1", QByteArray::fromStdString(panel.device()));
        find<QPlainTextEdit>("txtHoldingPen")
            ->setPlainText(QString::fromUtf8("N\tF\u00eate\u00a0\u20ac\nS\t0\t0\n"));
        click("cmdSendShow");
        QVERIFY(waitUntilIdle());
        const std::string expected = "N\tF\xEAte\xA0\x80\r\nS\t0\t0\r\n";
        QVERIFY(panel.waitFor(expected.size()));
        QCOMPARE(panel.received(), expected);
    }

    void panelHangingUpEndsTheTransmission() {
        PtyPanel panel(5000);
        qputenv("FULGOR_PORT_1", QByteArray::fromStdString(panel.device()));
        find<QPlainTextEdit>("txtHoldingPen")->setPlainText(showText(40000));
        const QStringList before = recordLines();
        click("cmdSendShow");
        QVERIFY(waitUntilIdle());
        QCOMPARE(recordLines().size(), before.size() + 1);
        QVERIFY2(text("lblLastTransmission").contains(QStringLiteral(" | port lost at byte ")),
                 qPrintable(text("lblLastTransmission")));
        QCOMPARE(prompter->messages.size(), size_t(1));
        QVERIFY2(prompter->lastMessage().startsWith(QStringLiteral("Transmission stopped")),
                 qPrintable(prompter->lastMessage()));
        QVERIFY2(prompter->lastMessage().contains(QStringLiteral("the device was removed")),
                 qPrintable(prompter->lastMessage()));
        QCOMPARE(text("lblPortSets"), QStringLiteral("[Comm Port Closed]"));
        QCOMPARE(find<QPushButton>("cmdSendShow")->text(), QStringLiteral("Transmit Show"));
        QVERIFY(find<QPushButton>("cmdCommPort")->isEnabled());
    }

    void cancelAsksAndYesStopsTheTransmission() {
        PtyPanel panel;
        qputenv("FULGOR_PORT_1", QByteArray::fromStdString(panel.device()));
        find<QPlainTextEdit>("txtHoldingPen")->setPlainText(showText(40000));
        click("cmdSendShow");
        prompter->yesNoAnswers = {false};
        click("cmdSendShow");
        QCOMPARE(prompter->questions.back().title, QStringLiteral("Send Show to Serial Device"));
        QCOMPARE(prompter->questions.back().text, QStringLiteral("Cancel Transmission?"));
        QCOMPARE(find<QPushButton>("cmdSendShow")->text(), QStringLiteral("Transmit Cancel"));
        prompter->yesNoAnswers = {true};
        const QStringList before = recordLines();
        click("cmdSendShow");
        QCOMPARE(recordLines().size(), before.size() + 1);
        QVERIFY2(text("lblLastTransmission").contains(QStringLiteral(" of 40000 bytes | ")),
                 qPrintable(text("lblLastTransmission")));
        QVERIFY2(text("lblLastTransmission").contains(QStringLiteral(" | cancelled at byte ")),
                 qPrintable(text("lblLastTransmission")));
        QCOMPARE(text("lblSendStatus"), QStringLiteral("Cancelled!"));
        QCOMPARE(text("lblPortSets"), QStringLiteral("[Comm Port Closed]"));
        QCOMPARE(find<QPushButton>("cmdSendShow")->text(), QStringLiteral("Transmit Show"));
        QVERIFY(waitUntilIdle());
        QCOMPARE(text("lblSendStatus"), QString());
        QVERIFY(find<QPushButton>("cmdClearHolding")->isEnabled());
    }

    void missingPortAtTheStartIsReported() {
        qputenv("FULGOR_PORT_7", QByteArray("/nonexistent/fulgor-port"));
        find<QLineEdit>("txtCommPort")->setText(QStringLiteral("7"));
        click("cmdCommPort");
        prompter->messages.clear();
        find<QPlainTextEdit>("txtHoldingPen")->setPlainText(QStringLiteral("S\t0\t0\r\n"));
        const QStringList before = recordLines();
        click("cmdSendShow");
        QCOMPARE(recordLines(), before);  // nothing went out, so nothing is recorded
        QVERIFY(!prompter->messages.empty());
        QCOMPARE(prompter->messages.front().text, QStringLiteral("Comm Port: 7 not available!"));
        for (const auto& shown : prompter->messages) {
            QCOMPARE(shown.title, QStringLiteral("Fulgor"));
            QCOMPARE(shown.icon, Prompter::Icon::None);
        }
        QCOMPARE(find<QPushButton>("cmdSendShow")->text(), QStringLiteral("Transmit Show"));
        QVERIFY(!find<QTimer>("Timer1")->isActive());
        QVERIFY(find<QPushButton>("cmdFormatShow")->isEnabled());
        // The start stops where it failed: what it showed stays.
        QCOMPARE(text("lblSendStatus"), QStringLiteral("Transmitting"));
        QCOMPARE(text("lblSendChars"), QStringLiteral("7"));
        QVERIFY(find<QProgressBar>("elProgressBar1")->isVisibleTo(window.get()));
        QCOMPARE(text("lblPortSets"), QStringLiteral("[Comm Port Closed]"));

        prompter->messages.clear();
        click("cmdClearScreen");
        QCOMPARE(prompter->messages.size(), size_t(1));
        QCOMPARE(prompter->messages[0].text, QStringLiteral("Comm Port: 7 not available!"));
        QCOMPARE(prompter->messages[0].icon, Prompter::Icon::None);
    }

    void captureTogglesTheSerialLog() {
        click("cmdCaptureSerial");
        QCOMPARE(find<QPushButton>("cmdCaptureSerial")->text(), QStringLiteral("End Capture"));
        QVERIFY(QFile::exists(
            QDir(qEnvironmentVariable("FULGOR_HOME")).filePath(QStringLiteral("Serial.log"))));
        click("cmdCaptureSerial");
        QCOMPARE(find<QPushButton>("cmdCaptureSerial")->text(), QStringLiteral("Begin Capture"));
    }

    // A full disk stops capture with one message; the terminal goes on showing
    // what arrives and capture can be started again.
    void captureThatCannotBeWrittenStopsWithOneMessage() {
        PtyPanel panel;
        QVERIFY(panel.ok());
        qputenv("FULGOR_PORT_1", QByteArray::fromStdString(panel.device()));
        click("cmdCommPort");
        auto* terminal = find<QPlainTextEdit>("txtTerminal");
        auto shows = [&](const char* arrived) {
            return QTest::qWaitFor(
                [&] { return terminal->toPlainText().contains(QLatin1String(arrived)); }, 30000);
        };
        const QString log =
            QDir(qEnvironmentVariable("FULGOR_HOME")).filePath(QStringLiteral("Serial.log"));
        auto logged = [&] {
            QFile file(log);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        click("cmdCaptureSerial");
        const QByteArray before = logged();  // earlier captures stay in the log
        {
            ScopedWriteFault full({.failAfterBytes = 0, .writeError = ENOSPC});
            panel.answer("FULL\r\n");
            QVERIFY(shows("FULL"));
        }
        // The message follows once the link has finished with what arrived.
        QTRY_COMPARE(prompter->messages.size(), size_t(1));
        QCOMPARE(prompter->messages[0].title, QStringLiteral("Fulgor"));
        QCOMPARE(prompter->messages[0].text,
                 QStringLiteral("Capture stopped: Cannot append to \"%1\": No space left on device")
                     .arg(log));
        QCOMPARE(prompter->messages[0].icon, Prompter::Icon::Exclamation);
        QCOMPARE(find<QPushButton>("cmdCaptureSerial")->text(), QStringLiteral("Begin Capture"));
        QCOMPARE(logged(), before);

        panel.answer("AFTER\r\n");
        QVERIFY(shows("AFTER"));
        QCOMPARE(prompter->messages.size(), size_t(1));
        QCOMPARE(logged(), before);

        click("cmdCaptureSerial");
        QCOMPARE(find<QPushButton>("cmdCaptureSerial")->text(), QStringLiteral("End Capture"));
        panel.answer("AGAIN\r\n");
        QVERIFY(shows("AGAIN"));
        QCOMPARE(logged(), before + "AGAIN\r\n");
        QCOMPARE(prompter->messages.size(), size_t(1));
        click("cmdCaptureSerial");
    }

    void clearTerminalEmptiesItAndReopensThePort() {
        PtyPanel panel;
        qputenv("FULGOR_PORT_1", QByteArray::fromStdString(panel.device()));
        click("cmdCommPort");
        panel.answer("ACK from the panel\r\n");
        auto* terminal = find<QPlainTextEdit>("txtTerminal");
        QVERIFY(QTest::qWaitFor(
            [&] { return terminal->toPlainText().contains(QStringLiteral("ACK")); }, 30000));
        click("cmdClearScreen");
        QCOMPARE(terminal->toPlainText(), QString());
        QCOMPARE(terminal->maximumBlockCount(), 600);
        QCOMPARE(text("lblPortSets"), QStringLiteral("[Comm settings are 19200,N,8,1]"));
    }
};

QTEST_MAIN(CommunicationsTest)
#include "communications_test.moc"
