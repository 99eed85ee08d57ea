// The road of a show through the real window: open the example Talsen show,
// give its cues addresses, import it on the Kavrin tab and check it against
// the panel's limits.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "support/window_test_base.h"

#include "platform/numeric_field.h"
#include "platform/script_grid_view.h"
#include "platform/script_table_model.h"

using namespace fulgor;
using namespace Qt::StringLiterals;
using test::readBytes;
using test::writeBytes;

class KavrinRoadTest : public test::WindowTestBase {
    Q_OBJECT

private:
    void openTalsen(const QString& file) {
        showTab(MainWindow::TalsenIndex);
        prompter->fileAnswers.push_back(file);
        trigger("mnuFileOpen");
    }
    QString writeTalsen(const char* name, const std::string& bytes) {
        writeBytes(dir->path(name), bytes);
        return path(name);
    }
    // Writes a Kavrin script and opens it; the grid's model.
    ScriptTableModel* openKavrin(const char* name, const std::string& bytes) {
        writeBytes(dir->path(name), bytes);
        showTab(MainWindow::KavrinIndex);
        prompter->fileAnswers.push_back(path(name));
        trigger("mnuFileOpen");
        return find<ScriptGridView>("TDBGrid2")->scriptModel();
    }
    void click(const char* button) { find<QPushButton>(button)->click(); }
    void renumberCues(bool answer) {
        prompter->yesNoAnswers.push_back(answer);
        click("cmdRenumCues");
        const auto& asked = prompter->questions.back();
        QCOMPARE(asked.title + '|' + asked.text,
                 u"Renumber Modules and Ques|Do you want to continue ?"_s);
    }
    QString lastMessage() const {
        return prompter->messages.back().title + '|' + prompter->messages.back().text;
    }
    QVariant background(int row) {
        return find<ScriptGridView>("TDBGrid2")->model()->index(row, 0).data(Qt::BackgroundRole);
    }

private slots:
    void init() { openWindow(); }

    void cleanup() { closeWindow(); }

    void theWholeRoadOfTheExampleShow() {
        openTalsen(QStringLiteral(FULGOR_EXAMPLES_DIR "/midsummer_finale.csv"));
        // Answering No leaves the Talsen table untouched.
        const QString before = talsenCell(0, 0) + talsenCell(0, 7) + talsenCell(5, 0);
        renumberCues(false);
        QCOMPARE(talsenCell(0, 0) + talsenCell(0, 7) + talsenCell(5, 0), before);
        QCOMPARE(talsenCell(0, 7), QString());
        renumberCues(true);
        QVERIFY(prompter->messages.empty());  // 12 positions fit the Kavrin panel
        QCOMPARE(find<ScriptGridView>("TDBGrid1")->currentRow(), 0);

        showTab(MainWindow::KavrinIndex);
        find<NumericField>("txtKVTimeoffset")->setValue(4);
        click("cmdImportTS");
        QCOMPARE(window->state().kavrin.rowCount(), window->state().talsen.rowCount());
        QCOMPARE(find<NumericField>("txtKVTimeoffset")->text(), u"0"_s);

        // The window's import is the one the command line made the example with.
        QTest::keyClicks(find<QLineEdit>("txtShowName"), u"Midsummer Finale"_s);
        prompter->fileAnswers.push_back(path("imported.kvn"));
        trigger("mnuFileSave");
        QCOMPARE(readBytes(dir->path("imported.kvn")),
                 readBytes(FULGOR_EXAMPLES_DIR "/midsummer_finale.kvn"));

        click("cmdCheckConflicts");
        const Table& kavrin = window->state().kavrin;
        int marked = 0;
        for (int row = 0; row < kavrin.rowCount(); ++row) {
            QCOMPARE(kavrinCell(row, 0), QString::number(row + 1));  // Line in firing order
            if (kavrin.cell(row, 8).isEmpty()) {
                QVERIFY(!background(row).isValid());
                continue;
            }
            QCOMPARE(kavrinCell(row, 8), QString::number(++marked));  // Err in table order
            QColor expected = kavrin.cell(row, 4).isEmpty() || kavrin.cell(row, 5).isEmpty()
                                  ? QColor(255, 255, 0)
                                  : QColor(0, 255, 255);
            QCOMPARE(background(row).value<QBrush>().color(), expected);
        }
        QVERIFY(marked > 0);
        QCOMPARE(window->state().conflictCount, marked);
        QCOMPARE(find<QLabel>("lblConflictsKV")->text(),
                 u"%1 Time/Module Conflicts present!"_s.arg(marked));
        QCOMPARE(lastMessage(), u"Checking for Conflicts|%1 found!"_s.arg(marked));
        QCOMPARE(kavrinCell(find<ScriptGridView>("TDBGrid2")->currentRow(), 8), u"1"_s);
        QVERIFY(find<ScriptGridView>("TDBGrid2")->selectedRowsInOrder().empty());

        // File New on the Kavrin tab forgets the conflicts and the highlighting.
        prompter->saveAnswers.push_back(Prompter::SaveChoice::Discard);
        trigger("mnuFileNew");
        QCOMPARE(window->state().conflictCount, 0);
        QCOMPARE(find<QLabel>("lblConflictsKV")->text(), QString());
        QVERIFY(!find<ScriptGridView>("TDBGrid2")->scriptModel()->highlighting());
    }

    // Cues left over when the modules run out are reported; the custom range
    // comes from its fields.
    void renumberingReportsTheCuesLeftOver() {
        std::string show = "w,0.00,Wave File\r\n";
        for (int i = 1; i <= 543; ++i)
            show += std::to_string(i) + ",Comet,50mm," + std::to_string(i) + ",,1,1,,,,\r\n";
        openTalsen(writeTalsen("long.csv", show));
        renumberCues(true);
        QCOMPARE(lastMessage(), u"Renumber Aborted|Out of Modules!\r\n3 Lines left!"_s);
        QCOMPARE(talsenCell(539, 7) + "/" + talsenCell(539, 8), u"12/45"_s);
        QCOMPARE(talsenCell(540, 7), QString());

        prompter->saveAnswers.push_back(Prompter::SaveChoice::Discard);
        openTalsen(writeTalsen("few.csv", "w,0,t\r\n1,a,,1,,,1,,,,\r\n2,a,,2,,,1,,,,\r\n"));
        find<QRadioButton>("optCustomNum")->click();
        renumberCues(true);
        QCOMPARE(talsenCell(1, 7) + "/" + talsenCell(1, 8), u"01/1"_s);
        find<QLineEdit>("txtCustomHi")->setText(u"1F"_s);
        renumberCues(true);
        QCOMPARE(lastMessage(), u"Renumber Aborted|Out of Modules!\r\n2 Lines left!"_s);
        QCOMPARE(talsenCell(0, 7), QString());
    }

    void groupShotsWarnsWhenTheFireMemoryIsExceeded() {
        std::string show = "Long show\r\n";
        for (int i = 1; i <= 551; ++i)
            show += std::to_string(i) + ",,1," + std::to_string(i) + ",01,01,,,,,,,\r\n";
        openKavrin("long.kvn", show);
        click("cmdGroupShots");
        QCOMPARE(lastMessage(), u"Renumber Aborted|Exceeded Kavrin Fire Memory!"_s);
        QCOMPARE(kavrinCell(550, 1), u"551"_s);
        prompter->messages.clear();
        find<QCheckBox>("ChkMiravelTime")->setChecked(true);
        click("cmdGroupShots");
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
            click("cmdGroupShots");
            QCOMPARE(kavrinCell(0, 5) + kavrinCell(1, 5) + kavrinCell(2, 5), u"020301"_s);
            const Table grouped = window->state().kavrin;
            trigger("mnuEditUndo");
            QVERIFY(window->state().kavrin == before);
            trigger("mnuEditRedo");
            QVERIFY(window->state().kavrin == grouped);
            trigger("mnuEditUndo");
        };
        groupUndoRedo();  // Line as read: the texts "1", "2", "3"
        QVERIFY(model->setData(model->index(1, 0), u"7"_s));
        groupUndoRedo();  // a typed Line, kept as a copy
    }

    // Undo and redo of Check Conflicts put back the count, the label and the
    // highlighting with the Err cells, step by step.
    void undoingACheckRestoresWhatItShowed() {
        ScriptTableModel* model =
            openKavrin("two.kvn", "Show\r\n1,1,1,10,03,01,,,,,,,\r\n2,1,1,10,04,01,,,,,,,\r\n");
        auto shown = [&] {
            return u"%1|%2|%3|%4"_s.arg(window->state().conflictCount)
                .arg(find<QLabel>("lblConflictsKV")->text())
                .arg(int(model->highlighting()))
                .arg(kavrinCell(1, 8));
        };
        const QString checkedShows = u"1|1 Time/Module Conflicts present!|1|1"_s;
        const QString uncheckedShows = u"0||0|"_s;
        const Table opened = window->state().kavrin;  // Line as read: the texts "1", "2"

        click("cmdCheckConflicts");
        QCOMPARE(shown(), checkedShows);
        const Table checked = window->state().kavrin;
        QVERIFY(model->setData(model->index(1, 4), u"3"_s));
        click("cmdCheckConflicts");
        QCOMPARE(shown(), uncheckedShows);
        click("cmdCheckConflicts");  // the same again: no step

        trigger("mnuEditUndo");
        QCOMPARE(shown() + kavrinCell(1, 4), checkedShows + "3");
        trigger("mnuEditUndo");  // the typed Mod; the last check's display stays
        QCOMPARE(shown() + kavrinCell(1, 4), checkedShows + "04");
        trigger("mnuEditUndo");
        QCOMPARE(shown(), uncheckedShows);
        QVERIFY(window->state().kavrin == opened);
        QVERIFY(!find<QAction>("mnuEditUndo")->isEnabled());
        trigger("mnuEditRedo");
        QCOMPARE(shown(), checkedShows);
        QVERIFY(window->state().kavrin == checked);
        trigger("mnuEditRedo");
        trigger("mnuEditRedo");
        QCOMPARE(shown(), uncheckedShows);
    }
};

QTEST_MAIN(KavrinRoadTest)
#include "kavrin_road_test.moc"
