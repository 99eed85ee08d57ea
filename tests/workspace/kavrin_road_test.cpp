// The road of a show through the real window: open the example Talsen show,
// give its cues addresses, import it on the Kavrin tab and check it against
// the panel's limits.

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

#include "support/window_test_base.h"

#include "platform/numeric_field.h"
#include "platform/script_grid_view.h"
#include "platform/script_table_model.h"

using namespace fulgor;
using test::readBytes;
using test::writeBytes;

class KavrinRoadTest : public test::WindowTestBase {
    Q_OBJECT

private:
    void openTalsen(const QString& path) {
        showTab(MainWindow::TalsenIndex);
        prompter->fileAnswers.push_back(path);
        find<QAction>("mnuFileOpen")->trigger();
    }
    // Writes a Kavrin script and opens it; the grid's model.
    ScriptTableModel* openKavrin(const char* name, const std::string& bytes) {
        writeBytes(dir->path(name), bytes);
        showTab(MainWindow::KavrinIndex);
        prompter->fileAnswers.push_back(path(name));
        trigger("mnuFileOpen");
        return static_cast<ScriptTableModel*>(find<ScriptGridView>("TDBGrid2")->model());
    }
    void renumberCues(bool answer) {
        prompter->yesNoAnswers.push_back(answer);
        find<QPushButton>("cmdRenumCues")->click();
        QCOMPARE(prompter->questions.back().title, QStringLiteral("Renumber Modules and Ques"));
        QCOMPARE(prompter->questions.back().text, QStringLiteral("Do you want to continue ?"));
    }
    QColor background(int row) {
        return find<ScriptGridView>("TDBGrid2")
            ->model()
            ->index(row, 0)
            .data(Qt::BackgroundRole)
            .value<QBrush>()
            .color();
    }

private slots:
    void init() { openWindow(); }

    void cleanup() { closeWindow(); }

    void theWholeRoadOfTheExampleShow() {
        openTalsen(QStringLiteral(FULGOR_EXAMPLES_DIR "/midsummer_finale.csv"));
        renumberCues(true);
        QVERIFY(prompter->messages.empty());  // 12 positions fit the Kavrin panel
        QCOMPARE(find<ScriptGridView>("TDBGrid1")->currentRow(), 0);

        showTab(MainWindow::KavrinIndex);
        find<NumericField>("txtKVTimeoffset")->setValue(4);
        find<QPushButton>("cmdImportTS")->click();
        QCOMPARE(window->state().kavrin.rowCount(), window->state().talsen.rowCount());
        QCOMPARE(find<NumericField>("txtKVTimeoffset")->text(), QStringLiteral("0"));

        // The window's import is the one the command line made the example with.
        QTest::keyClicks(find<QLineEdit>("txtShowName"), QStringLiteral("Midsummer Finale"));
        prompter->fileAnswers.push_back(QString::fromStdString(dir->path("imported.kvn")));
        find<QAction>("mnuFileSave")->trigger();
        QCOMPARE(readBytes(dir->path("imported.kvn")),
                 readBytes(FULGOR_EXAMPLES_DIR "/midsummer_finale.kvn"));

        find<QPushButton>("cmdCheckConflicts")->click();
        const Table& kavrin = window->state().kavrin;
        int marked = 0;
        for (int row = 0; row < kavrin.rowCount(); ++row) {
            QCOMPARE(kavrinCell(row, 0), QString::number(row + 1));  // Line in firing order
            if (kavrin.cell(row, 8).isEmpty()) {
                QVERIFY(!find<ScriptGridView>("TDBGrid2")
                             ->model()
                             ->index(row, 0)
                             .data(Qt::BackgroundRole)
                             .isValid());
                continue;
            }
            ++marked;
            QCOMPARE(kavrinCell(row, 8), QString::number(marked));  // Err numbered in table order
            QColor expected = kavrin.cell(row, 4).isEmpty() || kavrin.cell(row, 5).isEmpty()
                                  ? QColor(255, 255, 0)
                                  : QColor(0, 255, 255);
            QCOMPARE(background(row), expected);
        }
        QVERIFY(marked > 0);
        QCOMPARE(window->state().conflictCount, marked);
        QCOMPARE(find<QLabel>("lblConflictsKV")->text(),
                 QString::number(marked) + QStringLiteral(" Time/Module Conflicts present!"));
        QCOMPARE(prompter->messages.back().title, QStringLiteral("Checking for Conflicts"));
        QCOMPARE(prompter->messages.back().text,
                 QString::number(marked) + QStringLiteral(" found!"));
        int current = find<ScriptGridView>("TDBGrid2")->currentRow();
        QCOMPARE(kavrinCell(current, 8), QStringLiteral("1"));
        QVERIFY(find<ScriptGridView>("TDBGrid2")->selectedRowsInOrder().empty());

        // File New on the Kavrin tab forgets the conflicts and the highlighting.
        prompter->saveAnswers.push_back(Prompter::SaveChoice::Discard);
        find<QAction>("mnuFileNew")->trigger();
        QCOMPARE(window->state().conflictCount, 0);
        QCOMPARE(find<QLabel>("lblConflictsKV")->text(), QString());
        QVERIFY(!static_cast<ScriptTableModel*>(find<ScriptGridView>("TDBGrid2")->model())
                     ->highlighting());
    }

    void answeringNoLeavesTheTalsenTableUntouched() {
        openTalsen(QStringLiteral(FULGOR_EXAMPLES_DIR "/midsummer_finale.csv"));
        QString before = talsenCell(0, 0) + talsenCell(0, 7) + talsenCell(5, 0);
        renumberCues(false);
        QCOMPARE(talsenCell(0, 0) + talsenCell(0, 7) + talsenCell(5, 0), before);
        QCOMPARE(talsenCell(0, 7), QString());
    }

    void leftOverCuesAreReported() {
        std::string show = "w,0.00,Wave File\r\n";
        for (int i = 1; i <= 543; ++i)
            show += std::to_string(i) + ",Comet,50mm," + std::to_string(i) + ",,1,1,,,,\r\n";
        writeBytes(dir->path("long.csv"), show);
        openTalsen(QString::fromStdString(dir->path("long.csv")));
        renumberCues(true);
        QCOMPARE(prompter->messages.back().title, QStringLiteral("Renumber Aborted"));
        QCOMPARE(prompter->messages.back().text,
                 QStringLiteral("Out of Modules!\r\n3 Lines left!"));
        QCOMPARE(talsenCell(539, 7) + "/" + talsenCell(539, 8), QStringLiteral("12/45"));
        QCOMPARE(talsenCell(540, 7), QString());
    }

    void customNumberingAndItsUnusableRange() {
        writeBytes(dir->path("few.csv"), "w,0,t\r\n1,a,,1,,,1,,,,\r\n2,a,,2,,,1,,,,\r\n");
        openTalsen(QString::fromStdString(dir->path("few.csv")));
        find<QRadioButton>("optCustomNum")->click();
        renumberCues(true);
        QCOMPARE(talsenCell(1, 7) + "/" + talsenCell(1, 8), QStringLiteral("01/1"));
        find<QLineEdit>("txtCustomHi")->setText(QStringLiteral("1F"));
        renumberCues(true);
        QCOMPARE(prompter->messages.back().text,
                 QStringLiteral("Out of Modules!\r\n2 Lines left!"));
        QCOMPARE(talsenCell(0, 7), QString());
    }

    void groupShotsWarnsWhenTheFireMemoryIsExceeded() {
        std::string show = "Long show\r\n";
        for (int i = 1; i <= 551; ++i)
            show += std::to_string(i) + ",," + "1," + std::to_string(i) + ",01,01,,,,,,,\r\n";
        openKavrin("long.kvn", show);
        find<QPushButton>("cmdGroupShots")->click();
        QCOMPARE(prompter->messages.back().title, QStringLiteral("Renumber Aborted"));
        QCOMPARE(prompter->messages.back().text, QStringLiteral("Exceeded Kavrin Fire Memory!"));
        QCOMPARE(kavrinCell(550, 1), QStringLiteral("551"));
        prompter->messages.clear();
        find<QCheckBox>("ChkMiravelTime")->setChecked(true);
        find<QPushButton>("cmdGroupShots")->click();
        QVERIFY(prompter->messages.empty());
    }

    // Group Shots moves rows and numbers Line: undo puts back the rows and Line
    // as they were, texts as read or a typed line, and redo groups them again.
    void undoingGroupShotsPutsBackRowsAndLines() {
        ScriptTableModel* model = openKavrin(
            "three.kvn",
            "Show\r\n1,,,30,01,01,,,,,,,\r\n2,,,10,01,02,,,,,,,\r\n3,,,20,01,03,,,,,,,\r\n");
        auto groupUndoRedo = [&] {
            const Table before = window->state().kavrin;
            find<QPushButton>("cmdGroupShots")->click();
            QCOMPARE(kavrinCell(0, 5) + kavrinCell(1, 5) + kavrinCell(2, 5),
                     QStringLiteral("020301"));
            const Table grouped = window->state().kavrin;
            trigger("mnuEditUndo");
            QVERIFY(window->state().kavrin == before);
            trigger("mnuEditRedo");
            QVERIFY(window->state().kavrin == grouped);
            trigger("mnuEditUndo");
        };
        groupUndoRedo();  // Line as read: the texts "1", "2", "3"
        QVERIFY(model->setData(model->index(1, 0), QStringLiteral("7")));
        groupUndoRedo();  // a typed Line, kept as a copy
    }

    // Undo and redo of Check Conflicts put back the count, the label and the
    // highlighting with the Err cells, step by step.
    void undoingACheckRestoresWhatItShowed() {
        ScriptTableModel* model =
            openKavrin("two.kvn", "Show\r\n1,1,1,10,03,01,,,,,,,\r\n2,1,1,10,04,01,,,,,,,\r\n");
        const QString oneConflict = QStringLiteral("1 Time/Module Conflicts present!");
        auto shown = [&] {
            return QStringLiteral("%1|%2|%3|%4")
                .arg(window->state().conflictCount)
                .arg(find<QLabel>("lblConflictsKV")->text())
                .arg(int(model->highlighting()))
                .arg(kavrinCell(1, 8));
        };
        const QString checkedShows = QStringLiteral("1|%1|1|1").arg(oneConflict);
        const Table opened = window->state().kavrin;  // Line as read: the texts "1", "2"

        find<QPushButton>("cmdCheckConflicts")->click();
        QCOMPARE(shown(), checkedShows);
        const Table checked = window->state().kavrin;
        QVERIFY(model->setData(model->index(1, 4), QStringLiteral("3")));
        find<QPushButton>("cmdCheckConflicts")->click();
        QCOMPARE(shown(), QStringLiteral("0||0|"));
        find<QPushButton>("cmdCheckConflicts")->click();  // the same again: no step

        trigger("mnuEditUndo");
        QCOMPARE(shown(), checkedShows);
        QCOMPARE(kavrinCell(1, 4), QStringLiteral("3"));
        trigger("mnuEditUndo");  // the typed Mod; the last check's display stays
        QCOMPARE(shown(), checkedShows);
        QCOMPARE(kavrinCell(1, 4), QStringLiteral("04"));
        trigger("mnuEditUndo");
        QCOMPARE(shown(), QStringLiteral("0||0|"));
        QVERIFY(window->state().kavrin == opened);
        QVERIFY(!find<QAction>("mnuEditUndo")->isEnabled());
        trigger("mnuEditRedo");
        QCOMPARE(shown(), checkedShows);
        QVERIFY(window->state().kavrin == checked);
        trigger("mnuEditRedo");
        trigger("mnuEditRedo");
        QCOMPARE(shown(), QStringLiteral("0||0|"));
    }
};

QTEST_MAIN(KavrinRoadTest)
#include "kavrin_road_test.moc"
