// Line editing, the clipboard, offsets and undo in the real window, with
// every dialog answered by a scripted prompter and the real clipboard.

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "support/window_test_base.h"

#include "platform/numeric_field.h"
#include "platform/script_grid_view.h"

using namespace fulgor;
using namespace Qt::StringLiterals;
using test::kTalsenShow;
using test::readBytes;
using test::writeBytes;

namespace {

const char* const kKavrinShow =
    "Grand Finale\r\n"
    "1,1,3,12.5,01,01,0:00:12.50,1,,50mm,2,Comet,Red comet\r\n"
    "2,2,1,12.2,02,01,0:00:12.20,2,,100mm,1,Shell,\r\n";

const QString kCopiedTail = u" cells have been copied to the clipboard in TAB delimited format"_s;
const QString kExample = QStringLiteral(FULGOR_EXAMPLES_DIR "/midsummer_finale.csv");

}  // namespace

class EditingTest : public test::WindowTestBase {
    Q_OBJECT

private:
    void openScript(int tab, const QString& file) {
        showTab(tab);
        prompter->fileAnswers.push_back(file);
        trigger("mnuFileOpen");
    }
    void openScript(int tab, const char* name, const char* bytes) {
        writeBytes(dir->path(name), bytes);
        openScript(tab, path(name));
    }
    ScriptGridView* grid(const char* name) { return find<ScriptGridView>(name); }
    QStringList column(const Table& table, int c) const {
        QStringList cells;
        for (int r = 0; r < table.rowCount(); ++r)
            cells << QString::fromStdString(cellText(table.cell(r, c)));
        return cells;
    }
    QString saveTalsen(const char* name) {
        showTab(MainWindow::TalsenIndex);
        prompter->fileAnswers.push_back(path(name));
        trigger("mnuFileSave");
        return QString::fromStdString(readBytes(dir->path(name)));
    }
    void answer(const char* action, const QString& typed) {
        prompter->inputAnswers.push_back(typed);
        trigger(action);
    }
    // The title, text and proposed answer of the last question asked.
    QStringList lastQuestion() const {
        const auto& asked = prompter->questions.back();
        return {asked.title, asked.text, asked.proposed};
    }
    int undoAll() {
        int steps = 0;
        for (; find<QAction>("mnuEditUndo")->isEnabled(); ++steps) trigger("mnuEditUndo");
        return steps;
    }

private slots:
    void init() { openWindow(); }

    void cleanup() { closeWindow(); }

    void copyBetweenTheTabsThroughTheRealClipboard() {
        openScript(MainWindow::TalsenIndex, "show.csv", kTalsenShow);
        trigger("mnuCpyGridSel");
        QCOMPARE(prompter->lastMessage(), u"Please select a range of cells"_s);
        QCOMPARE(prompter->messages.back().title, u"Fulgor"_s);

        selectRows(grid("TDBGrid1"), {2, 0});
        trigger("mnuCpyGridSel");
        QCOMPARE(prompter->lastMessage(), u"2 Rows of 11"_s + kCopiedTail);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 u"3\tMine\t75mm\t9.25\t\t1\t2\t02\t01\t6.00\t\r\n"
                 "1\tComet\t50mm\t12.50\t\t2\t3\t01\t01\t4.50\tRed comet\r\n"_s);

        // On the Kavrin tab the rows go above the current row, every field as text.
        openScript(MainWindow::KavrinIndex, "show.kvn", kKavrinShow);
        grid("TDBGrid2")->setCurrentRow(1);
        trigger("mnuEditPaste");
        const Table& kavrin = window->state().kavrin;
        QCOMPARE(column(kavrin, 1), (QStringList{"1", "Mine", "Comet", "2"}));
        QCOMPARE(column(kavrin, 10), (QStringList{"2", "", "Red comet", "1"}));
        QVERIFY(kavrin.cell(1, 0).isText());
        QCOMPARE(grid("TDBGrid2")->currentRow(), 3);
        QVERIFY(prompter->busyCount > 0);

        // And back: Kavrin rows onto the Talsen tab, whose Line becomes a number.
        selectRows(grid("TDBGrid2"), {3, 1});
        trigger("mnuCpyGridSel");
        QCOMPARE(prompter->lastMessage(), u"Range of 13 x 2"_s + kCopiedTail);
        showTab(MainWindow::TalsenIndex);
        grid("TDBGrid1")->setCurrentRow(0);
        trigger("mnuEditPaste");
        const Table& talsen = window->state().talsen;
        QCOMPARE(column(talsen, 1), (QStringList{"2", "Mine", "Comet", "Shell", "Mine"}));
        QCOMPARE(column(talsen, 0), (QStringList{"2", "3", "1", "2", "3"}));
        QVERIFY(talsen.cell(0, 0).isNumber() && talsen.cell(1, 0).isNumber());
        QCOMPARE(grid("TDBGrid1")->currentRow(), 2);

        // Text without a line end pastes nothing into a table, all of it into the holding pen.
        QGuiApplication::clipboard()->setText(u"S\t1\t2"_s);
        trigger("mnuEditPaste");
        QCOMPARE(talsen.rowCount(), 5);
        showTab(MainWindow::CommunicationsIndex);
        QVERIFY(find<QAction>("mnuEditPaste")->isEnabled());
        QVERIFY(!find<QAction>("mnuEditInsert")->isEnabled());
        trigger("mnuEditPaste");
        QCOMPARE(find<QPlainTextEdit>("txtHoldingPen")->toPlainText(), u"S\t1\t2"_s);
    }

    void insertAddAndDeleteLines() {
        openScript(MainWindow::TalsenIndex, "show.csv", kTalsenShow);
        auto* view = grid("TDBGrid1");
        QAbstractItemModelTester tester(view->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        const Table& talsen = window->state().talsen;
        selectRows(view, {2, 0});
        view->setCurrentRow(1);
        trigger("mnuEditInsert");
        QCOMPARE(column(talsen, 1), (QStringList{"Comet", "", "Shell", "Mine"}));
        QCOMPARE(view->currentRow(), 1);
        QCOMPARE(view->selectedRowsInOrder(), (std::vector<int>{3, 0}));  // moved with the rows

        view->setCurrentRow(0);
        trigger("mnuEditAddLine");
        QCOMPARE(column(talsen, 1), (QStringList{"Comet", "", "Shell", "Mine", ""}));
        QCOMPARE(view->currentRow(), 4);

        selectRows(view, {4, 1});
        trigger("mnuDeleteLines");
        QCOMPARE(column(talsen, 1), (QStringList{"Comet", "Shell", "Mine"}));
        QCOMPARE(view->currentRow(), 1);  // the lowest deleted row

        // The last row: the new last row becomes current.
        selectRows(view, {2});
        trigger("mnuDeleteLines");
        QCOMPARE(column(talsen, 1), (QStringList{"Comet", "Shell"}));
        QCOMPARE(view->currentRow(), 1);

        // Nothing selected: nothing deleted.
        view->clearSelection();
        trigger("mnuDeleteLines");
        QCOMPARE(talsen.rowCount(), 2);

        // The Delete key on selected rows, every row: an empty table, then a line again.
        selectRows(view, {0, 1});
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Delete);
        QCOMPARE(talsen.rowCount(), 0);
        QCOMPARE(view->currentRow(), -1);
        trigger("mnuEditInsert");
        QCOMPARE(talsen.rowCount(), 1);
        QCOMPARE(view->currentRow(), 0);

        QCOMPARE(undoAll(), 6);
        QCOMPARE(column(talsen, 1), (QStringList{"Comet", "Shell", "Mine"}));
    }

    void offsetsAskAndShift() {
        openScript(MainWindow::TalsenIndex, "show.csv", kTalsenShow);
        answer("mnuScriptOffset", u"2.5"_s);
        // The proposed answer is the TC offset field.
        QCOMPARE(lastQuestion(),
                 (QStringList{"Offset Time in All Rows", "Enter Number Offset", "1.5"}));
        QCOMPARE(column(window->state().talsen, 3), (QStringList{"15.00", "17.50", "11.75"}));

        // An empty answer, Cancel or 0 changes nothing and leaves no step to undo.
        for (const char* typed : {"", "0", "abc"}) answer("mnuScriptOffset", typed);
        QCOMPARE(column(window->state().talsen, 3), (QStringList{"15.00", "17.50", "11.75"}));
        trigger("mnuEditUndo");
        QCOMPARE(column(window->state().talsen, 3), (QStringList{"12.50", "15.00", "9.25"}));

        openScript(MainWindow::KavrinIndex, "show.kvn", kKavrinShow);
        find<NumericField>("txtKVTimeoffset")->setValue(0.3);
        selectRows(grid("TDBGrid2"), {1});
        answer("mnuScriptSelectOffsetAdd", u"0.26"_s);
        QCOMPARE(lastQuestion(),
                 (QStringList{"Offset Time in Selected Rows", "Enter Number Offset", "0.3"}));
        QCOMPARE(column(window->state().kavrin, 3), (QStringList{"12.5", "12.5"}));
        QCOMPARE(kavrinCell(1, 6), u"0:00:12.50"_s);
        find<QCheckBox>("ChkMiravelTime")->setChecked(true);
        answer("mnuScriptSelectOffsetAdd", u"-12.56"_s);
        QCOMPARE((QStringList{kavrinCell(1, 3), kavrinCell(1, 6)}),
                 (QStringList{"-0.06", "-0:00:00.06"}));

        selectRows(grid("TDBGrid2"), {0, 1});
        answer("mnuScriptSelectConstantPos", u"5"_s);
        QCOMPARE(lastQuestion(),
                 (QStringList{"Offset Position in Selected Rows", "Enter Number Constant", ""}));
        QCOMPARE(column(window->state().kavrin, 2), (QStringList{"8", "6"}));

        // A Time that holds text is left as it is, and its row is named.
        prompter->saveAnswers.push_back(Prompter::SaveChoice::Discard);
        openScript(
            MainWindow::KavrinIndex, "text.kvn",
            "Show\r\n1,1,3,12,01,01,,1,,50mm,2,Comet,\r\n2,2,3,soon,01,02,,1,,50mm,2,Comet,\r\n");
        selectRows(grid("TDBGrid2"), {1, 0});
        answer("mnuScriptSelectOffsetAdd", u"1"_s);
        QCOMPARE(column(window->state().kavrin, 3), (QStringList{"13.00", "soon"}));
        QCOMPARE(prompter->lastMessage(),
                 u"Time is not a number in row 2; that row was left unchanged"_s);

        // Without a script table the command still asks, and changes nothing.
        showTab(MainWindow::SdIndex);
        QVERIFY(find<QAction>("mnuScriptOffset")->isEnabled());
        QVERIFY(!find<QAction>("mnuScriptSelectOffsetAdd")->isEnabled());
        answer("mnuScriptOffset", u"3"_s);
        QCOMPARE(prompter->questions.back().proposed, u"1.5"_s);
        QCOMPARE(column(window->state().talsen, 3), (QStringList{"12.50", "15.00", "9.25"}));
    }

    void titleAndUnsavedChanges() {
        const QString title = u"Corvane Fulgor"_s;
        QCOMPARE(window->windowTitle(), title);
        openScript(MainWindow::TalsenIndex, "show.csv", kTalsenShow);
        QCOMPARE(window->windowTitle(), title + " - show.csv");
        trigger("mnuEditAddLine");
        QCOMPARE(window->windowTitle(), title + " - show.csv*");
        showTab(MainWindow::KavrinIndex);
        QCOMPARE(window->windowTitle(), title);
        QVERIFY(!find<QAction>("mnuEditUndo")->isEnabled());  // history is per tab
        showTab(MainWindow::TalsenIndex);
        trigger("mnuEditUndo");
        QCOMPARE(window->windowTitle(), title + " - show.csv");
        trigger("mnuEditRedo");
        QCOMPARE(window->windowTitle(), title + " - show.csv*");

        // New asks first; Cancel keeps everything.
        prompter->saveAnswers.push_back(Prompter::SaveChoice::Cancel);
        trigger("mnuFileNew");
        QCOMPARE(
            prompter->questions.back().text,
            u"The Talsen script \"show.csv\" has changes that are not saved. Save them first?"_s);
        QCOMPARE(window->state().talsen.rowCount(), 4);
        // Exit too; Cancel keeps the window.
        prompter->saveAnswers.push_back(Prompter::SaveChoice::Cancel);
        QVERIFY(!window->close());
        // Save writes the file under the name chosen, then New goes on.
        prompter->saveAnswers.push_back(Prompter::SaveChoice::Save);
        prompter->fileAnswers.push_back(path("saved.csv"));
        trigger("mnuFileNew");
        QCOMPARE(window->state().talsen.rowCount(), 1);
        QVERIFY(readBytes(dir->path("saved.csv")).ends_with(",,,,,,,,,,\r\n"));
        QCOMPARE(window->windowTitle(), title);
        QVERIFY(!find<QAction>("mnuEditUndo")->isEnabled());

        // A header field typed into or chosen counts as a change; a cancelled save
        // dialog cancels Open.
        find<QComboBox>("ComboTimeType")->activated(2);
        QCOMPARE(window->windowTitle(), title + " - Untitled*");
        trigger("mnuEditAddLine");
        trigger("mnuEditUndo");  // back to the file's table, yet the header still differs
        QCOMPARE(window->windowTitle(), title + " - Untitled*");
        QTest::keyClicks(find<QLineEdit>("txtScriptWaveName"), u"w.wav"_s);
        prompter->saveAnswers.push_back(Prompter::SaveChoice::Save);
        prompter->fileAnswers.push_back(QString());
        trigger("mnuFileOpen");
        QCOMPARE(prompter->fileDialogs.back().title, u"Save Talsen Script File"_s);

        // Import Talsen over unsaved Kavrin changes asks as well; Discard goes on.
        openScript(MainWindow::KavrinIndex, "show.kvn", kKavrinShow);
        trigger("mnuEditAddLine");
        prompter->saveAnswers.push_back(Prompter::SaveChoice::Cancel);
        find<QPushButton>("cmdImportTS")->click();
        QCOMPARE(window->state().kavrin.rowCount(), 3);
        prompter->saveAnswers.push_back(Prompter::SaveChoice::Discard);
        find<QPushButton>("cmdImportTS")->click();
        QCOMPARE(window->state().kavrin.rowCount(), window->state().talsen.rowCount());

        // Closing asks for each unsaved script; Discard for both lets it close.
        prompter->saveAnswers = {Prompter::SaveChoice::Discard, Prompter::SaveChoice::Discard};
        QVERIFY(window->close());
        QVERIFY(prompter->saveAnswers.empty());
    }

    void typedCellsUndoOneCellAtATime() {
        openScript(MainWindow::KavrinIndex, "show.kvn", kKavrinShow);
        auto* model = grid("TDBGrid2")->model();
        QVERIFY(model->setData(model->index(0, 3), u"75.46"_s));
        QVERIFY(model->setData(model->index(1, 12), u"gold"_s));
        QVERIFY(!model->setData(model->index(1, 3), u"soon"_s));  // refused, no step
        QCOMPARE(kavrinCell(0, 6), u"0:01:15.50"_s);
        trigger("mnuEditUndo");
        QCOMPARE((QStringList{kavrinCell(1, 12), kavrinCell(0, 3)}), (QStringList{"", "75.5"}));
        trigger("mnuEditUndo");
        QCOMPARE((QStringList{kavrinCell(0, 3), kavrinCell(0, 6)}),
                 (QStringList{"12.5", "0:00:12.50"}));
        QVERIFY(!find<QAction>("mnuEditUndo")->isEnabled());
        QCOMPARE(window->windowTitle(), u"Corvane Fulgor - show.kvn"_s);
    }

    void elevenCommandsUndoneGiveTheFileBack() {
        openScript(MainWindow::TalsenIndex, kExample);
        auto* view = grid("TDBGrid1");
        auto* model = view->model();

        QVERIFY(model->setData(model->index(3, 10), u"Silver crossette"_s));  // 1
        view->horizontalHeader()->sectionClicked(3);                          // 2
        find<QPushButton>("cmdRenumLines")->click();                          // 3
        prompter->yesNoAnswers.push_back(true);
        find<QPushButton>("cmdRenumCues")->click();  // 4
        view->setCurrentRow(10);
        trigger("mnuEditInsert");   // 5
        trigger("mnuEditAddLine");  // 6
        selectRows(view, {40, 7, 100});
        trigger("mnuCpyGridSel");
        view->setCurrentRow(3);
        trigger("mnuEditPaste");  // 7
        selectRows(view, {0, 5, 200, 201});
        trigger("mnuDeleteLines");              // 8
        answer("mnuScriptOffset", u"-1.25"_s);  // 9
        selectRows(view, {2, 9, 30});
        answer("mnuScriptSelectOffsetAdd", u"0.333"_s);  // 10
        answer("mnuScriptSelectConstantPos", u"3"_s);    // 11
        QVERIFY(prompter->inputAnswers.empty());

        QString edited = saveTalsen("edited.csv");
        QCOMPARE(undoAll(), 11);
        QCOMPARE(saveTalsen("undone.csv"),
                 QString::fromStdString(readBytes(kExample.toStdString())));
        for (int step = 0; step < 11; ++step) trigger("mnuEditRedo");
        QCOMPARE(saveTalsen("redone.csv"), edited);
    }

    void kavrinCommandsUndoToo() {
        openScript(MainWindow::TalsenIndex, kExample);
        prompter->yesNoAnswers.push_back(true);
        find<QPushButton>("cmdRenumCues")->click();
        openScript(MainWindow::KavrinIndex,
                   QStringLiteral(FULGOR_EXAMPLES_DIR "/midsummer_finale.kvn"));
        const Table opened = window->state().kavrin;

        find<QPushButton>("cmdImportTS")->click();
        grid("TDBGrid2")->horizontalHeader()->sectionClicked(2);
        find<QPushButton>("cmdGroupShots")->click();
        find<QPushButton>("cmdCheckConflicts")->click();
        QVERIFY(window->state().conflictCount > 0);
        QVERIFY(!(window->state().kavrin == opened));
        QVERIFY(undoAll() >= 2);
        QVERIFY(window->state().kavrin == opened);
    }
};

QTEST_MAIN(EditingTest)
#include "editing_test.moc"
