// Opening, saving and the commands that work through every row are long
// commands: they report their progress, and a cancel leaves the scripts, their
// files, their undo history and their header fields as they were.

#include <QAbstractButton>
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QtTest>
#include <string>

#include "core/progress.h"
#include "platform/script_grid_view.h"
#include "platform/script_table_model.h"
#include "support/window_test_base.h"

using namespace fulgor;
using namespace Qt::StringLiterals;
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
        QTest::addColumn<int>("which");
        QTest::newRow("Talsen") << 0;
        QTest::newRow("Kavrin") << 1;
    }

    void cancellingAnOpenLeavesTheScriptAsItWas() {
        const struct {
            int tab;
            const char* extension;
            const char* headerField;
            const char* smallScript;
            const char* largeHeader;
            const char* largeRow;
            const char* largeName;  // what the header field shows of the large script
        } cases[] = {{MainWindow::TalsenIndex, "csv", "txtScriptWaveName",
                      "gala.wav,0,SMPTE30\r\n1,Comet,50mm,12.5,,2,3,01,01,4.5,Red\r\n",
                      "other.wav,0,SMPTE30", "1,Shell,100mm,15,,1,1,,,12,Gold", "other.wav"},
                     {MainWindow::KavrinIndex, "kvn", "txtShowName",
                      "Gala\r\n1,1,3,12.5,01,01,0:00:12.50,1,,50mm,2,Comet,Red\r\n", "Other",
                      "2,2,1,12.2,02,01,0:00:12.20,2,,100mm,1,Shell,", "Other"}};
        QFETCH(int, which);
        const auto& [tab, extension, headerField, smallScript, largeHeader, largeRow, largeName] =
            cases[which];
        const QString small = path("small.") + extension;
        const QString large = path("large.") + extension;
        writeBytes(small.toStdString(), smallScript);
        writeBytes(large.toStdString(), scriptOf(largeHeader, largeRow));
        const Table& table =
            tab == MainWindow::TalsenIndex ? window->state().talsen : window->state().kavrin;
        auto* field = find<QLineEdit>(headerField);
        showTab(tab);

        prompter->fileAnswers.push_back(small);
        trigger("mnuFileOpen");
        QCOMPARE(prompter->progressLabels, QStringList{u"Opening small."_s + extension});
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
        QCOMPARE(field->text(), QString::fromLatin1(largeName));
        QVERIFY(window->windowTitle().contains(u"large."_s + extension));
        QVERIFY(prompter->messages.empty());
    }

    void aLargeFileShowsItsFirstScreenWhileTheRestIsRead_data() {
        cancellingAnOpenLeavesTheScriptAsItWas_data();
    }

    // A file of a few megabytes and more shows its first rows at once; a read
    // that fails or is cancelled then puts back the script, its current cell
    // and its scrolling as they were.
    void aLargeFileShowsItsFirstScreenWhileTheRestIsRead() {
        const struct {
            int tab;
            const char* extension;
            const char* gridName;
            std::string header;
            std::string row;  // "#" stands for the row's number
            int effectColumn;
        } cases[] = {{MainWindow::TalsenIndex, "csv", "TDBGrid1", "gala.wav,0,SMPTE30",
                      "#,Comet,50mm,12.5,,2,3,01,01,4.5,Red", 1},
                     {MainWindow::KavrinIndex, "kvn", "TDBGrid2", "Gala",
                      "#,1,3,12.5,01,01,0:00:12.50,1,,50mm,2,Comet,Red", 11}};
        QFETCH(int, which);
        const auto& [tab, extension, gridName, header, row, effectColumn] = cases[which];
        auto scriptOfRows = [&](int rows, const std::string& effect) {
            std::string script = header + "\r\n";
            std::string line = row;
            line.replace(line.find("Comet"), 5, effect);
            for (int i = 1; i <= rows; ++i) {
                std::string numbered = line;
                numbered.replace(numbered.find('#'), 1, std::to_string(i));
                script += numbered + "\r\n";
            }
            return script;
        };
        const QString small = path("small.") + extension;
        const QString large = path("large.") + extension;
        writeBytes(small.toStdString(), scriptOfRows(300, "Comet"));
        // Just past the four mebibytes below which a file is read whole at once.
        const int largeRows = static_cast<int>((std::size_t{4} << 20) / row.size()) + 1;
        writeBytes(large.toStdString(), scriptOfRows(largeRows, "Shell"));
        QVERIFY(QFileInfo(large).size() > (qint64{4} << 20));
        showTab(tab);
        auto* grid = find<ScriptGridView>(gridName);
        auto* model = grid->scriptModel();
        prompter->fileAnswers.push_back(small);
        trigger("mnuFileOpen");
        grid->setCurrentIndex(model->index(0, 4));
        grid->setCurrentRow(250);
        const int scrolled = grid->verticalScrollBar()->value();
        QVERIFY(scrolled > 0);
        const Table before = model->table();

        struct Seen {
            int rows;
            QString effect;
        };
        std::vector<Seen> seen;
        prompter->onProgress = [&] {
            seen.push_back({model->rowCount(), model->index(0, effectColumn).data().toString()});
        };
        // Cancelled at the read's report of row kRowsPerReport.
        prompter->cancelAtReport = prompter->progressReports + 3;
        prompter->fileAnswers.push_back(large);
        trigger("mnuFileOpen");
        QCOMPARE(seen.size(), std::size_t{3});
        // The command's first report comes before anything is read.
        QCOMPARE(seen[0].rows, 300);
        QCOMPARE(seen[0].effect, u"Comet"_s);
        // Then the first lines are on show while the rest is read.
        QVERIFY(seen[1].rows > 100);
        QVERIFY(seen[1].rows < largeRows);
        QCOMPARE(seen[1].effect, u"Shell"_s);
        QCOMPARE(grid->currentIndex().row(), 250);
        // The cancel put everything back.
        QVERIFY(model->table() == before);
        QCOMPARE(grid->currentIndex(), model->index(250, 4));
        QCOMPARE(grid->verticalScrollBar()->value(), scrolled);
        QVERIFY(prompter->messages.empty());

        // Read to its end, the file's every row is on show.
        seen.clear();
        prompter->cancelAtReport = 0;
        prompter->fileAnswers.push_back(large);
        trigger("mnuFileOpen");
        QCOMPARE(model->rowCount(), largeRows);
        QCOMPARE(model->index(largeRows - 1, 0).data().toString(), QString::number(largeRows));
        QCOMPARE(grid->currentIndex().row(), 0);
        QVERIFY(prompter->messages.empty());
    }

    void cancellingACommandOrASaveLeavesEverythingAsItWas() {
        // Rows in reverse time order on alternating positions, so that every
        // command reorders and renumbers them.
        std::string talsen = "show.wav,0,SMPTE30\r\n";
        const int rows = 2 * kRowsPerReport + 5;
        for (int i = 0; i < rows; ++i)
            talsen += std::to_string(i + 1) + ",Shell,75mm," + std::to_string(rows - i) + ",,1," +
                      std::to_string(1 + i % 2) + ",,,,\r\n";
        writeBytes(dir->path("large.csv"), talsen);
        writeBytes(dir->path("kept.csv"), "the old file");
        showTab(MainWindow::TalsenIndex);
        prompter->fileAnswers.push_back(path("large.csv"));
        trigger("mnuFileOpen");
        QCOMPARE(window->state().talsen.rowCount(), rows);
        auto* undo = find<QAction>("mnuEditUndo");

        // Cancels each command at its report of row kRowsPerReport and checks
        // that nothing of it stays.
        auto cancelled = [&](const char* button, const Table& table, bool asks) {
            const Table before = table;
            const QString undoText = undo->text();
            prompter->cancelAtReport = prompter->progressReports + 3;
            if (asks) prompter->yesNoAnswers.push_back(true);
            find<QAbstractButton>(button)->click();
            QCOMPARE(prompter->progressReports, prompter->cancelAtReport);
            QVERIFY2(table == before, button);
            QCOMPARE(undo->text(), undoText);
            QVERIFY(prompter->messages.empty());
            prompter->cancelAtReport = 0;
        };
        // The grid as the operator left it stays so too: its sort indicator,
        // selection and current cell.
        auto* talsenGrid = find<ScriptGridView>("TDBGrid1");
        emit talsenGrid->headerClicked(3);  // Time
        talsenGrid->setCurrentIndex(talsenGrid->model()->index(7, 5));
        selectRows(talsenGrid, {4, 7});
        cancelled("cmdRenumCues", window->state().talsen, true);
        QCOMPARE(talsenGrid->horizontalHeader()->sortIndicatorSection(), 3);
        QVERIFY(talsenGrid->horizontalHeader()->isSortIndicatorShown());
        QCOMPARE(talsenGrid->selectionModel()->selectedRows().size(), 2);
        QCOMPARE(talsenGrid->currentIndex(), talsenGrid->model()->index(7, 5));
        showTab(MainWindow::KavrinIndex);
        cancelled("cmdImportTS", window->state().kavrin, false);
        find<QAbstractButton>("cmdImportTS")->click();
        QCOMPARE(window->state().kavrin.rowCount(), rows);
        cancelled("cmdGroupShots", window->state().kavrin, false);
        cancelled("cmdCheckConflicts", window->state().kavrin, false);
        QCOMPARE(find<QLineEdit>("txtShowName")->text(), QString());
        // Format KV Script numbers the shots first: a cancel while it formats
        // leaves that undone too, and the text to send as it was.
        showTab(MainWindow::CommunicationsIndex);
        auto* pen = find<QPlainTextEdit>("txtHoldingPen");
        pen->setPlainText(QStringLiteral("the text before"));
        cancelled("cmdFormatShow", window->state().kavrin, false);
        QCOMPARE(pen->toPlainText(), QStringLiteral("the text before"));
        prompter->cancelAtReport = prompter->progressReports + 6;  // in the formatting stage
        const Table numberedBefore = window->state().kavrin;
        auto* linesShown = find<QLabel>("lblShowStats0");
        linesShown->setText(QStringLiteral("7"));
        find<QAbstractButton>("cmdFormatShow")->click();
        QCOMPARE(prompter->progressReports, prompter->cancelAtReport);
        QVERIFY(window->state().kavrin == numberedBefore);
        QCOMPARE(pen->toPlainText(), QStringLiteral("the text before"));
        QCOMPARE(linesShown->text(), QStringLiteral("7"));
        prompter->cancelAtReport = 0;
        find<QAbstractButton>("cmdFormatShow")->click();
        QVERIFY(pen->toPlainText().startsWith(QStringLiteral("S\t1\t1\t")));
        QVERIFY(!(window->state().kavrin == numberedBefore));
        QVERIFY(prompter->messages.empty());

        // A cancelled save leaves the old file and no temporary one, and the
        // script still unsaved.
        showTab(MainWindow::TalsenIndex);
        const QString title = window->windowTitle();
        prompter->cancelAtReport = prompter->progressReports + 3;
        prompter->fileAnswers.push_back(path("kept.csv"));
        trigger("mnuFileSave");
        QCOMPARE(prompter->progressReports, prompter->cancelAtReport);
        QCOMPARE(test::readBytes(dir->path("kept.csv")), std::string("the old file"));
        QCOMPARE(test::namesIn(dir->root()), (std::set<std::string>{"kept.csv", "large.csv"}));
        QCOMPARE(window->windowTitle(), title);
        QVERIFY(prompter->messages.empty());
    }
};

QTEST_MAIN(LongCommandTest)
#include "long_command_test.moc"
