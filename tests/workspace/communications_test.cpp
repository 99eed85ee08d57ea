// The Communications tab of the real window: port setup, show formatting and
// a transmission to a panel on the far end of a pseudo-terminal pair.

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
#include <QtTest>
#include <cerrno>

#include "support/window_test_base.h"

#include "comms/transmission_record.h"
#include "files/file_io.h"
#include "support/pty_panel.h"

using namespace fulgor;
using namespace Qt::StringLiterals;
using test::PtyPanel;

class CommunicationsTest : public test::WindowTestBase {
    Q_OBJECT

private:
    QString text(const char* label) { return find<QLabel>(label)->text(); }
    QString caption(const char* button) { return find<QPushButton>(button)->text(); }
    bool enabled(const char* widget) { return find<QWidget>(widget)->isEnabled(); }
    bool shown(const char* widget) { return find<QWidget>(widget)->isVisibleTo(window.get()); }
    void click(const char* button) { find<QPushButton>(button)->click(); }
    QPlainTextEdit* pen() { return find<QPlainTextEdit>("txtHoldingPen"); }
    void usePort(int number, const std::string& device) {
        qputenv(qPrintable(u"FULGOR_PORT_%1"_s.arg(number)), QByteArray::fromStdString(device));
    }
    QString home(const QString& file) {
        return QDir(qEnvironmentVariable("FULGOR_HOME")).filePath(file);
    }
    void openKavrin(const char* bytes) {
        test::writeBytes(dir->path("show.kvn"), bytes);
        showTab(MainWindow::KavrinIndex);
        prompter->fileAnswers.push_back(path("show.kvn"));
        trigger("mnuFileOpen");
        showTab(MainWindow::CommunicationsIndex);
    }
    // Lets the 100 ms timer drive the transmission until it is idle again.
    bool waitUntilIdle() {
        return QTest::qWaitFor([&] { return !find<QTimer>("Timer1")->isActive(); }, 30000);
    }
    QString showText(int characters) {
        QString show;
        for (int i = 0; show.size() < characters; ++i)
            show += u"S\t%1\t1\t1\t10\t01\t01\r\n"_s.arg(i);
        show.truncate(characters - 2);
        return show + u"\r\n"_s;
    }
    // The lines of the transmission record in the program's folder.
    QStringList recordLines() {
        QFile log(home(u"Transmissions.log"_s));
        if (!log.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    // The transmission added exactly one line to the record, and the tab shows it.
    void checkRecorded(const QStringList& before, const QString& tail) {
        const QStringList after = recordLines();
        QCOMPARE(after.mid(0, before.size()), before);
        QCOMPARE(after.size(), before.size() + 1);
        QCOMPARE(text("lblLastTransmission"), after.back());
        QVERIFY(shown("lblLastTransmission"));
        // The date and time come first: "2026-12-06 05:09:12 +01:00 | ".
        QVERIFY2(after.back().mid(29) == tail, qPrintable(after.back()));
    }

private slots:
    void init() {
        openWindow();
        showTab(MainWindow::CommunicationsIndex);
    }

    void cleanup() {
        closeWindow();
        for (const char* name : {"FULGOR_PORT_1", "FULGOR_PORT_2", "FULGOR_PORT_7"})
            qunsetenv(name);
    }

    void applyPortNumberRules() {
        PtyPanel panel;
        QVERIFY(panel.ok());
        usePort(2, panel.device());
        usePort(7, "/nonexistent/fulgor-port");
        auto* box = find<QLineEdit>("txtCommPort");
        for (const char* refused : {"0", "-2", "abc", "40000"}) {
            box->setText(QString::fromLatin1(refused));
            click("cmdCommPort");
            QCOMPARE(box->text(), u"1"_s);
            QCOMPARE(text("lblPortSets"), u"[Comm Port Closed]"_s);
        }
        box->setText(u"2.5"_s);
        click("cmdCommPort");
        QCOMPARE(text("lblPortSets"), u"[Comm settings are 19200,N,8,1]"_s);
        find<QRadioButton>("optTcModem")->click();
        QCOMPARE(text("lblPortSets"), u"[Comm settings are 1200,N,8,1]"_s);
        QVERIFY(prompter->messages.empty());

        box->setText(u"7"_s);
        click("cmdCommPort");
        QCOMPARE(prompter->messages.size(), size_t(1));
        QCOMPARE(prompter->messages[0].title, u"Fulgor"_s);
        QCOMPARE(prompter->lastMessage(), u"Comm Port: 7 not available!"_s);
        QCOMPARE(prompter->messages[0].icon, Prompter::Icon::None);
        QCOMPARE(text("lblPortSets"), u"[Comm Port Closed]"_s);
    }

    void formatKvScriptFillsTheHoldingPenAndSelectsTheKavrinPreset() {
        find<QCheckBox>("ChkMiravelTime")->click();
        QCOMPARE(caption("cmdFormatShow"), u"Format MV Script"_s);
        find<QCheckBox>("ChkMiravelTime")->click();
        QCOMPARE(caption("cmdFormatShow"), u"Format KV Script"_s);
        PtyPanel panel;
        usePort(1, panel.device());
        openKavrin(
            "Gala\r\n9,,1,2.5,01,02,,,,,,,\r\n9,,1,1,01,01,,,,,,,\r\n9,,2,1,02,01,,,3,,,,\r\n"
            "9,,2,,02,02,,,,,,,\r\n");
        find<QRadioButton>("optPDBaud")->click();
        QCOMPARE(find<QLineEdit>("txtShowRepeater")->text(), u"Gala"_s);

        click("cmdFormatShow");
        const QString expected =
            u"N\tGala\nS\t2\t1\t1\t10\t1\t1\nS\t4\t2\t1\t25\t1\t2\nS\t0\t0\n"_s;
        QCOMPARE(pen()->toPlainText(), expected);
        // Lines, characters with CR LF counted as two, and no conflict check yet.
        QCOMPARE((QStringList{text("lblShowStats0"), text("lblShowStats1"), text("lblShowStats2")}),
                 (QStringList{"4", QString::number(expected.size() + 4), "0"}));
        QCOMPARE(prompter->messages.size(), size_t(1));  // the untimed row was held back
        QCOMPARE(prompter->lastMessage(), u"No Time, not sent: Line 1"_s);
        QCOMPARE(window->statusBar()->currentMessage(), QString());
        QVERIFY(find<QRadioButton>("optKavrinBaud")->isChecked());
        QCOMPARE(text("lblPortSets"), u"[Comm settings are 19200,N,8,1]"_s);
        // The Kavrin table stays in firing order with its shots numbered.
        QCOMPARE(QString::fromStdString(cellText(window->state().kavrin.cell(1, 1))), u"1"_s);

        click("cmdClearHolding");
        QCOMPARE(pen()->toPlainText(), QString());
        QCOMPARE(text("lblShowStats0") + text("lblShowStats1") + text("lblShowStats2"), QString());

        // The panel gets 0 where a cell holds no number; the status bar names the Lines.
        prompter->saveAnswers.push_back(Prompter::SaveChoice::Discard);  // the numbered shots
        openKavrin("\r\n9,,1,2,,02,,,,,,,\r\n9,,1,tbd,01,01,,,,,,,\r\n");
        click("cmdFormatShow");
        QCOMPARE(pen()->toPlainText(), u"S\t1\t1\t1\t0\t1\t1\nS\t2\t2\t1\t20\t0\t2\nS\t0\t0\n"_s);
        QCOMPARE(window->statusBar()->currentMessage(),
                 u"Time is not a number, sent as 0 (fires at the start of the show): Line 1; "
                 "Module or pin missing, sent as 0: Line 2"_s);
        QCOMPARE(prompter->messages.size(), size_t(1));
    }

    void transmitShowDeliversEveryByteInOrder() {
        PtyPanel panel;
        QVERIFY(panel.ok());
        usePort(1, panel.device());
        QVERIFY(!shown("elProgressBar1"));
        const QString show = showText(40000);
        pen()->setPlainText(show);
        const QStringList before = recordLines();
        click("cmdSendShow");
        QCOMPARE(caption("cmdSendShow"), u"Transmit Cancel"_s);
        QCOMPARE(text("lblLastTransmission"), QString());
        QVERIFY(!shown("lblLastTransmission"));
        QVERIFY(shown("elProgressBar1"));
        for (const char* button :
             {"cmdClearHolding", "cmdFormatShow", "cmdTalsen2PD", "cmdCommPort", "optTcModem"})
            QVERIFY2(!enabled(button), button);
        prompter->yesNoAnswers.push_back(false);
        click("cmdShowDir2PD");
        QVERIFY(prompter->questions.back().text.startsWith(
            u"A show is being transmitted. Formatting the SD show now replaces"_s));
        QCOMPARE(pen()->toPlainText(), QString(show).replace(u"\r\n"_s, u"\n"_s));
        QVERIFY(enabled("cmdClearScreen"));
        QVERIFY(waitUntilIdle());
        QVERIFY(panel.waitFor(40000));
        QCOMPARE(QString::fromStdString(panel.received()), show);
        QCOMPARE(caption("cmdSendShow"), u"Transmit Show"_s);
        QCOMPARE(text("lblSendStatus") + text("lblSendChars"), QString());
        QVERIFY(!shown("elProgressBar1"));
        for (const char* button : {"cmdFormatShow", "cmdTalsen2PD", "optTcModem"})
            QVERIFY2(enabled(button), button);
        QVERIFY(prompter->messages.empty());
        checkRecorded(before,
                      u"%1 | 19200,N,8,1 | 40000 bytes | CRC-32 %2 | "
                      "\"S\\t0\\t1\\t1\\t10\\t01\\t01\" | complete"_s.arg(
                          QString::fromStdString(panel.device()),
                          QString::number(crc32Of(panel.received()), 16)
                              .toUpper()
                              .rightJustified(8, QLatin1Char('0'))));

        // The record stays until the next transmission starts.
        click("cmdClearHolding");
        QVERIFY(!text("lblLastTransmission").isEmpty());
        pen()->setPlainText(u"S\t0\t0\r\n"_s);
        click("cmdSendShow");
        QCOMPARE(text("lblLastTransmission"), QString());
        QVERIFY(!shown("lblLastTransmission"));
        QVERIFY(waitUntilIdle());
        QVERIFY(text("lblLastTransmission").endsWith(u" | complete"_s));
    }

    void everyCharacterOfTheCodePageGoesOutAsItsByte() {
        PtyPanel panel;
        usePort(1, panel.device());
        pen()->setPlainText(u"N\tF\u00eate\u00a0\u20ac\nS\t0\t0\n"_s);
        click("cmdSendShow");
        QVERIFY(waitUntilIdle());
        const std::string expected = "N\tF\xEAte\xA0\x80\r\nS\t0\t0\r\n";
        QVERIFY(panel.waitFor(expected.size()));
        QCOMPARE(panel.received(), expected);
    }

    void panelHangingUpEndsTheTransmission() {
        PtyPanel panel(5000);
        usePort(1, panel.device());
        pen()->setPlainText(showText(40000));
        const QStringList before = recordLines();
        click("cmdSendShow");
        QVERIFY(waitUntilIdle());
        QCOMPARE(recordLines().size(), before.size() + 1);
        QVERIFY2(text("lblLastTransmission").contains(u" | port lost at byte "_s),
                 qPrintable(text("lblLastTransmission")));
        QCOMPARE(prompter->messages.size(), size_t(1));
        QVERIFY2(prompter->lastMessage().startsWith(u"Transmission stopped"_s) &&
                     prompter->lastMessage().contains(u"the device was removed"_s),
                 qPrintable(prompter->lastMessage()));
        QCOMPARE(text("lblPortSets"), u"[Comm Port Closed]"_s);
        QCOMPARE(caption("cmdSendShow"), u"Transmit Show"_s);
        QVERIFY(enabled("cmdCommPort"));
    }

    void cancelAsksAndYesStopsTheTransmission() {
        PtyPanel panel;
        usePort(1, panel.device());
        pen()->setPlainText(showText(40000));
        click("cmdSendShow");
        prompter->yesNoAnswers = {false};
        click("cmdSendShow");
        QCOMPARE(prompter->questions.back().title, u"Send Show to Serial Device"_s);
        QCOMPARE(prompter->questions.back().text, u"Cancel Transmission?"_s);
        QCOMPARE(caption("cmdSendShow"), u"Transmit Cancel"_s);
        prompter->yesNoAnswers = {true};
        const QStringList before = recordLines();
        click("cmdSendShow");
        QCOMPARE(recordLines().size(), before.size() + 1);
        QVERIFY2(text("lblLastTransmission").contains(u" of 40000 bytes | "_s) &&
                     text("lblLastTransmission").contains(u" | cancelled at byte "_s),
                 qPrintable(text("lblLastTransmission")));
        QCOMPARE(text("lblSendStatus"), u"Cancelled!"_s);
        QCOMPARE(text("lblPortSets"), u"[Comm Port Closed]"_s);
        QCOMPARE(caption("cmdSendShow"), u"Transmit Show"_s);
        QVERIFY(waitUntilIdle());
        QCOMPARE(text("lblSendStatus"), QString());
        QVERIFY(enabled("cmdClearHolding"));
    }

    void missingPortAtTheStartIsReported() {
        usePort(7, "/nonexistent/fulgor-port");
        find<QLineEdit>("txtCommPort")->setText(u"7"_s);
        click("cmdCommPort");
        prompter->messages.clear();
        pen()->setPlainText(u"S\t0\t0\r\n"_s);
        const QStringList before = recordLines();
        click("cmdSendShow");
        QCOMPARE(recordLines(), before);  // nothing went out, so nothing is recorded
        QVERIFY(!prompter->messages.empty());
        QCOMPARE(prompter->messages.front().text, u"Comm Port: 7 not available!"_s);
        QCOMPARE(caption("cmdSendShow"), u"Transmit Show"_s);
        QVERIFY(!find<QTimer>("Timer1")->isActive());
        QVERIFY(enabled("cmdFormatShow"));
        // The start stops where it failed: what it showed stays.
        QCOMPARE((QStringList{text("lblSendStatus"), text("lblSendChars"), text("lblPortSets")}),
                 (QStringList{"Transmitting", "7", "[Comm Port Closed]"}));
        QVERIFY(shown("elProgressBar1"));

        prompter->messages.clear();
        click("cmdClearScreen");
        QCOMPARE(prompter->messages.size(), size_t(1));
        QCOMPARE(prompter->lastMessage(), u"Comm Port: 7 not available!"_s);
    }

    // A full disk stops capture with one message; the terminal goes on showing
    // what arrives and capture can be started again.
    void captureThatCannotBeWrittenStopsWithOneMessage() {
        PtyPanel panel;
        QVERIFY(panel.ok());
        usePort(1, panel.device());
        click("cmdCommPort");
        auto* terminal = find<QPlainTextEdit>("txtTerminal");
        auto shows = [&](const char* arrived) {
            return QTest::qWaitFor(
                [&] { return terminal->toPlainText().contains(QLatin1String(arrived)); }, 30000);
        };
        const QString log = home(u"Serial.log"_s);
        auto logged = [&] {
            QFile file(log);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        click("cmdCaptureSerial");
        QCOMPARE(caption("cmdCaptureSerial"), u"End Capture"_s);
        const QByteArray before = logged();  // earlier captures stay in the log
        {
            ScopedWriteFault full({.failAfterBytes = 0, .writeError = ENOSPC});
            panel.answer("FULL\r\n");
            QVERIFY(shows("FULL"));
        }
        // The message follows once the link has finished with what arrived.
        QTRY_COMPARE(prompter->messages.size(), size_t(1));
        QCOMPARE(prompter->messages[0].title, u"Fulgor"_s);
        QCOMPARE(prompter->lastMessage(),
                 u"Capture stopped: Cannot append to \"%1\": No space left on device"_s.arg(log));
        QCOMPARE(prompter->messages[0].icon, Prompter::Icon::Exclamation);
        QCOMPARE(caption("cmdCaptureSerial"), u"Begin Capture"_s);
        QCOMPARE(logged(), before);

        panel.answer("AFTER\r\n");
        QVERIFY(shows("AFTER"));
        QCOMPARE(prompter->messages.size(), size_t(1));
        QCOMPARE(logged(), before);

        click("cmdCaptureSerial");
        panel.answer("AGAIN\r\n");
        QVERIFY(shows("AGAIN"));
        QCOMPARE(logged(), before + "AGAIN\r\n");
        QCOMPARE(prompter->messages.size(), size_t(1));
        click("cmdCaptureSerial");
        QCOMPARE(caption("cmdCaptureSerial"), u"Begin Capture"_s);

        // Clear Terminal empties it and opens the port again.
        click("cmdClearScreen");
        QCOMPARE(terminal->toPlainText(), QString());
        QCOMPARE(terminal->maximumBlockCount(), 600);
        QCOMPARE(text("lblPortSets"), u"[Comm settings are 19200,N,8,1]"_s);
    }
};

QTEST_MAIN(CommunicationsTest)
#include "communications_test.moc"
