// Opening a script is a long command: it reports its progress, and a cancel
// leaves the tab's script, its header fields and its file name as they were.

#include <QAction>
#include <QLineEdit>
#include <QtTest>
#include <string>

#include "core/progress.h"
#include "support/window_test_base.h"

using namespace fulgor;
using test::writeBytes;

namespace {

// A script whose rows span three progress reports: rows 0, kRowsPerReport and twice that.
std::string scriptOf(const std::string& header, const std::string& row) {
    std::string script = header + "\r\n";
    for (int i = 0; i < 2 * kRowsPerReport + 5; ++i) script += row + "\r\n";
    return script;
}

}  // namespace

class LongCommandTest : public test::WindowTestBase {
    Q_OBJECT

private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void cancellingAnOpenLeavesTheScriptAsItWas_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("headerField");
        QTest::addColumn<QString>("smallScript");
        QTest::addColumn<QString>("largeHeader");
        QTest::addColumn<QString>("largeRow");
        QTest::addColumn<QString>("largeName");
        QTest::newRow("Talsen") << int(MainWindow::TalsenIndex) << "csv"
                                << "txtScriptWaveName"
                                << "gala.wav,0,SMPTE30\r\n1,Comet,50mm,12.5,,2,3,01,01,4.5,Red\r\n"
                                << "other.wav,0,SMPTE30"
                                << "1,Shell,100mm,15,,1,1,,,12,Gold"
                                << "other.wav";
        QTest::newRow("Kavrin") << int(MainWindow::KavrinIndex) << "kvn"
                                << "txtShowName"
                                << "Gala\r\n1,1,3,12.5,01,01,0:00:12.50,1,,50mm,2,Comet,Red\r\n"
                                << "Other"
                                << "2,2,1,12.2,02,01,0:00:12.20,2,,100mm,1,Shell,"
                                << "Other";
    }

    void cancellingAnOpenLeavesTheScriptAsItWas() {
        QFETCH(int, tab);
        QFETCH(QString, extension);
        QFETCH(QString, headerField);
        QFETCH(QString, smallScript);
        QFETCH(QString, largeHeader);
        QFETCH(QString, largeRow);
        QFETCH(QString, largeName);
        const QString small = path("small.") + extension;
        const QString large = path("large.") + extension;
        writeBytes(small.toStdString(), smallScript.toStdString());
        writeBytes(large.toStdString(),
                   scriptOf(largeHeader.toStdString(), largeRow.toStdString()));
        const Table& table =
            tab == MainWindow::TalsenIndex ? window->state().talsen : window->state().kavrin;
        auto* field = find<QLineEdit>(headerField.toLatin1().constData());
        showTab(tab);

        prompter->fileAnswers.push_back(small);
        trigger("mnuFileOpen");
        QCOMPARE(prompter->progressLabels, QStringList{"Opening small." + extension});
        QCOMPARE(prompter->progressEnds, 1);
        QCOMPARE(table.rowCount(), 1);
        const Table before = table;
        const QString header = field->text();
        const QString title = window->windowTitle();

        // Cancel at the report of row kRowsPerReport: after the command's first
        // report and that of row 0.
        prompter->cancelAtReport = prompter->progressReports + 3;
        prompter->fileAnswers.push_back(large);
        trigger("mnuFileOpen");
        QCOMPARE(prompter->progressReports, prompter->cancelAtReport);
        QCOMPARE(prompter->progressEnds, 2);
        QVERIFY(table == before);
        QCOMPARE(field->text(), header);
        QCOMPARE(window->windowTitle(), title);
        QVERIFY(prompter->messages.empty());

        // Not cancelled, every row arrives.
        prompter->cancelAtReport = 0;
        prompter->fileAnswers.push_back(large);
        trigger("mnuFileOpen");
        QCOMPARE(table.rowCount(), 2 * kRowsPerReport + 5);
        QCOMPARE(field->text(), largeName);
        QVERIFY(window->windowTitle().contains("large." + extension));
        QVERIFY(prompter->messages.empty());
    }
};

QTEST_MAIN(LongCommandTest)
#include "long_command_test.moc"
