// The real main window, driven by the names of its controls, with every
// dialog answered by a scripted prompter.

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QtTest>

#include "support/window_test_base.h"

#include "platform/numeric_field.h"
#include "platform/script_grid_view.h"
#include "platform/script_table_model.h"

using namespace fulgor;
using namespace Qt::StringLiterals;
using test::kTalsenShow;
using test::readBytes;
using test::writeBytes;

namespace {

const char* const kKavrinShow =
    "Grand, Finale\r\n"
    "1,1,3,12.5,01,01,0:00:12.50,1,,50mm,2,Comet,Red comet\r\n"
    "2,2,1,12.2,02,01,0:00:12.20,2,,100mm,1,Shell,\r\n";

const QString kTalsenFilter =
    u"All Files (*.*)|*.*|Show Files (*.csv)|*.csv|Text Files (*.txt)|*.txt"_s;
const QString kKavrinFilter =
    u"All Files (*.*)|*.*|Kavrin Files (*.kvn)|*.kvn|Text Files (*.txt)|*.txt"_s;

}  // namespace

class MainWindowTest : public test::WindowTestBase {
    Q_OBJECT

private:
    void open(int tab, const char* name, const char* bytes) {
        writeBytes(dir->path(name), bytes);
        showTab(tab);
        prompter->fileAnswers.push_back(path(name));
        trigger("mnuFileOpen");
    }
    void openTalsen(const char* bytes) { open(MainWindow::TalsenIndex, "show.csv", bytes); }
    void openKavrin(const char* bytes) { open(MainWindow::KavrinIndex, "show.kvn", bytes); }
    void save(const QString& answer) {
        prompter->fileAnswers.push_back(answer);
        trigger("mnuFileSave");
    }
    // The title, filter, preselected filter, name and default extension of the last file dialog.
    QStringList lastDialog() const {
        const FileDialogRequest& request = prompter->fileDialogs.back();
        return {request.title, request.filter, QString::number(request.filterIndex),
                request.fileName, request.defaultExtension};
    }
    // The text each named control shows, in order.
    QStringList texts(std::initializer_list<const char*> names) {
        QStringList shown;
        for (const char* name : names) {
            QObject* control = find<QObject>(name);
            shown << control->property(qobject_cast<QComboBox*>(control) ? "currentText" : "text")
                         .toString();
        }
        return shown;
    }
    QLineEdit* editCell(const char* gridName, int row, int column) {
        auto* grid = find<ScriptGridView>(gridName);
        grid->setCurrentIndex(grid->model()->index(row, column));
        grid->edit(grid->currentIndex());
        return grid->viewport()->findChild<QLineEdit*>();
    }
    // Types into a cell through the grid's own editor and presses Enter.
    void typeIntoCell(const char* gridName, int row, int column, const QString& text) {
        QLineEdit* editor = editCell(gridName, row, column);
        QVERIFY(editor);
        editor->selectAll();
        editor->insert(text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();  // the delegate commits through a queued call
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private slots:
    void init() { openWindow(); }

    void cleanup() { closeWindow(); }

    void fileNewTouchesOnlyItsOwnTab() {
        // Every File and Edit command serves the Talsen tab.
        for (const char* built :
             {"mnuFileNew", "mnuPageSetup", "mnuConfigGridLoad", "mnuCpyGridSel", "mnuDeleteLines",
              "mnuEditInsert", "mnuEditAddLine", "mnuEditPaste", "mnuScriptOffset"})
            QVERIFY2(find<QAction>(built)->isEnabled(), built);
        QAbstractItemModelTester talsenTester(
            find<ScriptGridView>("TDBGrid1")->model(),
            QAbstractItemModelTester::FailureReportingMode::QtTest);
        QAbstractItemModelTester kavrinTester(
            find<ScriptGridView>("TDBGrid2")->model(),
            QAbstractItemModelTester::FailureReportingMode::QtTest);
        openTalsen(kTalsenShow);
        openKavrin(kKavrinShow);
        showTab(MainWindow::TalsenIndex);
        trigger("mnuFileNew");
        QCOMPARE(window->state().talsen.rowCount(), 1);
        QCOMPARE(talsenCell(0, 1), QString());
        QCOMPARE(texts({"txtScriptWaveName", "ComboTimeType", "txtTC_offset", "txtShowName"}),
                 (QStringList{"", "Wave File", "0.00", "Grand, Finale"}));
        QCOMPARE(window->state().talsenPath, path("show.csv"));  // New keeps the stored path
        QCOMPARE(window->state().kavrin.rowCount(), 2);

        openTalsen(kTalsenShow);
        showTab(MainWindow::KavrinIndex);
        find<NumericField>("txtKVTimeoffset")->setValue(12.5);
        trigger("mnuFileNew");
        QCOMPARE(window->state().kavrin.rowCount(), 1);
        QCOMPARE(kavrinCell(0, 0), QString());
        QCOMPARE(texts({"txtShowName", "txtShowRepeater", "txtKVTimeoffset"}),
                 (QStringList{"", "", "0"}));
        QCOMPARE(window->state().talsen.rowCount(), 3);

        // On the SD tab only File Open serves; on the Communications tab no file command.
        showTab(MainWindow::SdIndex);
        QVERIFY(find<QAction>("mnuFileOpen")->isEnabled());
        for (const char* command : {"mnuFileNew", "mnuFileSave"}) {
            QVERIFY2(!find<QAction>(command)->isEnabled(), command);
            trigger(command);
        }
        showTab(MainWindow::CommunicationsIndex);
        for (const char* command : {"mnuFileNew", "mnuFileOpen", "mnuFileSave"}) {
            QVERIFY2(!find<QAction>(command)->isEnabled(), command);
            trigger(command);
        }
        QCOMPARE(window->state().talsen.rowCount(), 3);
        QVERIFY(prompter->fileDialogs.size() == 3);
    }

    // Open and Save go through their dialogs; a cancel changes nothing, and a
    // save that fails leaves the file as it was.
    void talsenOpenAndSaveGoThroughTheirDialogs() {
        openTalsen(kTalsenShow);
        QCOMPARE(lastDialog(),
                 (QStringList{"Open Talsen Script File", kTalsenFilter, "2", "", ""}));
        QCOMPARE(window->state().talsen.rowCount(), 3);
        QCOMPARE((QStringList{talsenCell(1, 1), talsenCell(0, 3)}),
                 (QStringList{"Shell", "12.50"}));
        QCOMPARE(texts({"txtScriptWaveName", "txtTC_offset", "ComboTimeType"}),
                 (QStringList{"finale.wav", "1.50", "SMPTE30"}));
        QCOMPARE(find<ScriptGridView>("TDBGrid1")->currentRow(), 0);
        QVERIFY(prompter->busyCount > 0);

        save(path("saved.csv"));
        // The dialog offers the name it last held.
        QCOMPARE(lastDialog(), (QStringList{"Save Talsen Script File", kTalsenFilter, "2",
                                            path("show.csv"), ""}));
        QCOMPARE(readBytes(dir->path("saved.csv")), std::string(kTalsenShow));
        QCOMPARE(window->state().talsenPath, path("show.csv"));  // saving keeps the opened path
        save(QString());
        save(QString());  // a cancel keeps the name
        QCOMPARE(prompter->fileDialogs.back().fileName, path("saved.csv"));
        prompter->fileAnswers.push_back(QString());
        trigger("mnuFileOpen");
        QCOMPARE(window->state().talsen.rowCount(), 3);
        QVERIFY(prompter->messages.empty());

        QAbstractItemModel* model = find<ScriptGridView>("TDBGrid1")->model();
        model->setData(model->index(0, 10), u"\u4E2D"_s);
        save(path("show.csv"));
        QCOMPARE(prompter->messages.size(), size_t(1));
        QVERIFY(prompter->messages[0].title == u"Fulgor"_s &&
                prompter->messages[0].icon == Prompter::Icon::None);
        QVERIFY(prompter->lastMessage().contains(u"U+4E2D"_s));
        QCOMPARE(readBytes(dir->path("show.csv")), std::string(kTalsenShow));
    }

    void offsetFieldsShowWhatTheFileHoldsAndLimitWhatIsTyped() {
        openTalsen("x.wav,9999.125,Trigger\r\n");
        auto* offset = find<NumericField>("txtTC_offset");
        QCOMPARE(offset->text(), u"9999.12"_s);  // not clamped, halves to even
        save(path("again.csv"));
        QCOMPARE(readBytes(dir->path("again.csv")), std::string("x.wav,9999.12,Trigger\r\n"));

        // A key that would take the text out of the range or past the decimals is refused.
        const struct {
            const char* field;
            const char* typed;
            const char* shown;
            const char* afterReturn;
        } cases[] = {
            {"txtTC_offset", "9999", "999", "999.00"},
            {"txtTC_offset", "5999.95", "5999.9", "5999.90"},
            {"txtTC_offset", "-5999.9", "-5999.9", "-5999.90"},
            {"txtTC_offset", "-6", "-6", "-6.00"},
            {"txtTC_offset", "-", "-", "0.00"},  // a lone sign is 0 once the field is left
            {"txtTC_offset", "12a,5", "125", "125.00"},
            {"txtKVTimeoffset", "6000", "600", "600"},
            {"txtKVTimeoffset", "5999.95", "5999.9", "5999.9"},
            {"txtKVTimeoffset", "-5999.5", "-5999.", "-5999"},
            {"txtKVTimeoffset", ".", ".", "0"},
        };
        for (const auto& c : cases) {
            auto* field = find<NumericField>(c.field);
            field->clear();
            QTest::keyClicks(field, QString::fromLatin1(c.typed));
            QCOMPARE(field->text(), QString::fromLatin1(c.shown));
            QTest::keyClick(field, Qt::Key_Return);
            QCOMPARE(field->text(), QString::fromLatin1(c.afterReturn));
        }
        // The header is written as the field shows it, also while it is being typed.
        offset->clear();
        QTest::keyClicks(offset, u"-12.5"_s);
        save(path("typed.csv"));
        QCOMPARE(readBytes(dir->path("typed.csv")), std::string("x.wav,-12.5,Trigger\r\n"));
        QTest::keyClick(offset, Qt::Key_Return);
        QCOMPARE(offset->text(), u"-12.50"_s);

        auto* timeType = find<QComboBox>("ComboTimeType");
        timeType->lineEdit()->clear();
        QTest::keyClicks(timeType->lineEdit(), u"Pyro Clock"_s);
        QTest::keyClick(timeType->lineEdit(), Qt::Key_Return);
        QCOMPARE(timeType->currentText(), u"Pyro Clock"_s);
        QCOMPARE(timeType->count(), 5);
    }

    void kavrinOpenAndSaveWithTheDefaultExtension() {
        find<NumericField>("txtKVTimeoffset")->setValue(33);
        openKavrin(kKavrinShow);
        QCOMPARE(prompter->fileDialogs.back().title, u"Open Kavrin Script File"_s);
        QCOMPARE(texts({"txtShowName", "txtShowRepeater", "txtKVTimeoffset"}),
                 (QStringList{"Grand, Finale", "Grand, Finale", "0"}));
        QCOMPARE(window->state().kavrin.rowCount(), 2);
        QCOMPARE(window->state().kavrinPath, path("show.kvn"));

        save(path("copy"));
        QCOMPARE(lastDialog(), (QStringList{"Save Kavrin Script File", kKavrinFilter, "2",
                                            "Grand, Finale", "kvn"}));
        QCOMPARE(readBytes(dir->path("copy.kvn")), std::string(kKavrinShow));

        // A cancelled Kavrin save leaves the dialog holding the show name it
        // offered, and the next save dialog offers that.
        save(QString());
        showTab(MainWindow::TalsenIndex);
        save(QString());
        QCOMPARE(prompter->fileDialogs.back().fileName, u"Grand, Finale"_s);
    }

    // Import Talsen shows no box; what it could not time goes to the status bar.
    void importTalsenNotesUntimedRowsInTheStatusBar() {
        openTalsen("w,0,t\r\n1,Comet,,abc,,,1,01,01,,\r\n2,Comet,,2,,,1,01,02,,\r\n");
        showTab(MainWindow::KavrinIndex);
        find<QPushButton>("cmdImportTS")->click();
        QCOMPARE(window->state().kavrin.rowCount(), 2);
        QVERIFY(prompter->messages.empty());
        QCOMPARE(window->statusBar()->currentMessage(),
                 u"1 Lines have no firing time (Time or Prefire is not a number, or Prefire is "
                 "larger than Time); their Time is left empty: Line 1"_s);
        openTalsen("w,0,t\r\n1,Comet,,1,,,1,01,01,,\r\n");
        showTab(MainWindow::KavrinIndex);
        prompter->saveAnswers.push_back(Prompter::SaveChoice::Discard);  // the first import
        find<QPushButton>("cmdImportTS")->click();
        QCOMPARE(window->statusBar()->currentMessage(), QString());
    }

    // The two show name boxes mirror each other and take no line break, which
    // would start a row of its own in the saved script.
    void showNameIsMirroredAndTakesNoLineBreak() {
        QTest::keyClicks(find<QLineEdit>("txtShowName"), u"Gala"_s);
        QCOMPARE(texts({"txtShowRepeater"}), QStringList{"Gala"});
        for (const char* field : {"txtShowName", "txtShowRepeater"}) {
            QLineEdit* box = find<QLineEdit>(field);
            box->setText(u"Gala"_s);
            box->setCursorPosition(2);
            QGuiApplication::clipboard()->setText(u"\r\nA\nB\r"_s);
            box->paste();
            QCOMPARE(box->cursorPosition(), 4);
            QTest::keyClick(box, Qt::Key_Return);
            QCOMPARE(texts({"txtShowName", "txtShowRepeater"}), (QStringList{"GaABla", "GaABla"}));
        }
    }

    void typedValuesAreCheckedAndRounded() {
        openTalsen(kTalsenShow);
        openKavrin(kKavrinShow);
        const struct {
            int tab;
            int row;
            int column;
            const char* typed;
            const char* stored;
        } cases[] = {
            {MainWindow::TalsenIndex, 0, 3, "9.8765", "9.88"},
            {MainWindow::TalsenIndex, 1, 4, "12.125", "12.12"},
            {MainWindow::TalsenIndex, 2, 9, "abc", "6.00"},  // refused: the cell keeps its value
            {MainWindow::TalsenIndex, 2, 3, "", "9.25"},
            {MainWindow::TalsenIndex, 2, 10, "free text", "free text"},
            {MainWindow::KavrinIndex, 0, 3, "75.46", "75.5"},
            {MainWindow::KavrinIndex, 1, 3, "12.25", "12.2"},
            {MainWindow::KavrinIndex, 1, 3, "soon", "12.2"},
        };
        for (const auto& c : cases) {
            const bool talsen = c.tab == MainWindow::TalsenIndex;
            showTab(c.tab);
            typeIntoCell(talsen ? "TDBGrid1" : "TDBGrid2", c.row, c.column, c.typed);
            QCOMPARE(talsen ? talsenCell(c.row, c.column) : kavrinCell(c.row, c.column),
                     QString::fromLatin1(c.stored));
        }
        QVERIFY(window->state().talsen.cell(0, 3).isNumber());
        QCOMPARE(kavrinCell(0, 6), u"0:01:15.50"_s);
    }

    void editMasksLimitWhatACellAccepts() {
        openTalsen(kTalsenShow);
        QLineEdit* editor = editCell("TDBGrid1", 0, 6);
        QVERIFY(editor);
        editor->clear();
        QTest::keyClicks(editor, u"12x345"_s);
        QCOMPARE(editor->text(), u"123"_s);  // "###": three digits at most
        QTest::keyClick(editor, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        editor = editCell("TDBGrid1", 0, 3);
        QCOMPARE(editor->maxLength(), 6);
        // The width cuts what is typed before the rounding sees it: 12.3456
        // arrives as 12.345 and is stored as 12.34 (a whole 12.3456 gives 12.35).
        editor->clear();
        QTest::keyClicks(editor, u"12.3456"_s);
        QCOMPARE(editor->text(), u"12.345"_s);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(talsenCell(0, 3), u"12.34"_s);
        QCOMPARE(find<ScriptGridView>("TDBGrid1")->currentRow(), 1);  // Enter moved down
    }

    // Seven-digit Line numbers fit their column in both grids.
    void lineColumnHoldsAMillionRows() {
        openTalsen("w,0,t\r\n1000000,Comet,,1,,,1,01,01,,\r\n");
        openKavrin("Show\r\n8888888,1,1,1,01,01,,,,,,,\r\n");
        for (const char* name : {"TDBGrid1", "TDBGrid2"}) {
            QAbstractItemView* grid = find<ScriptGridView>(name);
            QVERIFY2(static_cast<QTableView*>(grid)->columnWidth(0) >= grid->sizeHintForColumn(0),
                     name);
        }
    }

    // Formats change only the display; rows without an address are yellow in
    // the Talsen grid, Kavrin rows only once a check has run.
    void gridsShowFormatsAndHighlights() {
        openTalsen(kTalsenShow);
        QAbstractItemModel* talsen = find<ScriptGridView>("TDBGrid1")->model();
        QCOMPARE(talsen->index(1, 3).data().toString(), u"15.00"_s);
        QCOMPARE(talsen->index(0, 3).data(Qt::EditRole).toString(), u"12.50"_s);
        QCOMPARE(talsen->index(0, 10).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                     Qt::AlignHorizontal_Mask,
                 Qt::AlignLeft);
        QCOMPARE(talsen->index(1, 0).data(Qt::BackgroundRole).value<QBrush>().color(),
                 QColor(255, 255, 0));
        QVERIFY(!talsen->index(0, 0).data(Qt::BackgroundRole).isValid());
        openKavrin(kKavrinShow);
        auto* kavrin = find<ScriptGridView>("TDBGrid2")->scriptModel();
        kavrin->setData(kavrin->index(0, 8), u"1"_s);
        QVERIFY(!kavrin->index(0, 0).data(Qt::BackgroundRole).isValid());
        kavrin->setHighlighting(true);
        QCOMPARE(kavrin->index(0, 0).data(Qt::BackgroundRole).value<QBrush>().color(),
                 QColor(0, 255, 255));
    }

    void talsenHeaderClicksSortWithoutTouchingLine() {
        openTalsen(kTalsenShow);
        auto* grid = find<ScriptGridView>("TDBGrid1");
        QHeaderView* header = grid->horizontalHeader();
        auto indicator = [&] {
            return std::pair(header->sortIndicatorSection(), header->sortIndicatorOrder());
        };
        emit grid->headerClicked(3);  // Time
        QCOMPARE((QStringList{talsenCell(0, 0), talsenCell(2, 0)}), (QStringList{"3", "2"}));
        QCOMPARE(grid->currentRow(), 0);
        emit grid->headerClicked(4);  // Prefire: no sort
        QCOMPARE(talsenCell(0, 0), u"3"_s);
        QVERIFY(header->isSortIndicatorShown());  // still the Time sort's
        QCOMPARE(indicator(), std::pair(3, Qt::AscendingOrder));
        // Real clicks on the header: the header's own indicator handling must
        // not move the indicator to a column that sorts nothing, nor flip it.
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        auto clickHeader = [&](int column) {
            QPoint centre(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                          header->height() / 2);
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
        };
        clickHeader(4);
        QCOMPARE(indicator(), std::pair(3, Qt::AscendingOrder));
        clickHeader(10);  // Notes
        QCOMPARE(indicator(), std::pair(10, Qt::AscendingOrder));
        clickHeader(10);  // the same column again sorts ascending again
        QCOMPARE(indicator(), std::pair(10, Qt::AscendingOrder));
        QCOMPARE(talsenCell(0, 10), QString());  // Notes ascending: the empty one first
        prompter->saveAnswers.push_back(Prompter::SaveChoice::Discard);  // the sorts
        openTalsen(kTalsenShow);  // a table read afresh is in the file's order
        QVERIFY(!header->isSortIndicatorShown());
    }

    void kavrinHeaderClickRenumbersLine() {
        openKavrin(kKavrinShow);
        auto* grid = find<ScriptGridView>("TDBGrid2");
        QHeaderView* header = grid->horizontalHeader();
        emit grid->headerClicked(3);  // Time
        QCOMPARE(
            (QStringList{kavrinCell(0, 3), kavrinCell(0, 0), kavrinCell(1, 0), kavrinCell(1, 7)}),
            (QStringList{"12.2", "1", "2", "1"}));
        QVERIFY(window->state().kavrin.cell(0, 0).isNumber());
        QVERIFY(header->isSortIndicatorShown());
        QCOMPARE(header->sortIndicatorSection(), 3);

        // A sort, its undo and its redo clear the selection (other cues stand
        // in the selected rows then) and show the indicator of the order shown.
        const Table byTime = window->state().kavrin;
        selectRows(grid, {1});
        emit grid->headerClicked(5);  // Pin
        QVERIFY(!(window->state().kavrin == byTime));
        QVERIFY(!grid->selectionModel()->hasSelection());
        QCOMPARE(header->sortIndicatorSection(), 5);
        selectRows(grid, {1});
        trigger("mnuEditUndo");
        QVERIFY(window->state().kavrin == byTime);
        QVERIFY(!grid->selectionModel()->hasSelection());
        QCOMPARE(header->sortIndicatorSection(), 3);
        trigger("mnuEditUndo");  // the Time sort: back to the file's order, unsorted
        QVERIFY(!header->isSortIndicatorShown());
        trigger("mnuEditRedo");
        trigger("mnuEditRedo");
        QCOMPARE(header->sortIndicatorSection(), 5);
        QVERIFY(!(window->state().kavrin == byTime));
    }

    void numberingFrameEnablesTheCustomRangeOnlyForCustom() {
        auto* lo = find<QLineEdit>("txtCustomLo");
        auto* hi = find<QLineEdit>("txtCustomHi");
        QVERIFY(!lo->isEnabled() && !hi->isEnabled());
        find<QRadioButton>("optCustomNum")->click();
        QVERIFY(lo->isEnabled() && hi->isEnabled());
        hi->setText(u"16"_s);
        find<QRadioButton>("optTalsenNum")->click();
        QVERIFY(!lo->isEnabled() && !hi->isEnabled());
        QCOMPARE(texts({"txtCustomLo", "txtCustomHi"}), (QStringList{"0", "16"}));
    }

    void renumberLines() {
        openTalsen("w,0,t\r\n7,a,,,,,,,,,\r\n2,b,,,,,,,,,\r\n,c,,,,,,,,,\r\n");
        find<QPushButton>("cmdRenumLines")->click();
        find<QPushButton>("cmdRenumLines")->click();
        for (int row = 0; row < 3; ++row) {
            QVERIFY(window->state().talsen.cell(row, 0).isNumber());
            QCOMPARE(talsenCell(row, 0), QString::number(row + 1));
        }
        QCOMPARE(talsenCell(2, 1), u"c"_s);
    }

    void selectedRowsKeepTheirOrderOfSelection() {
        openTalsen(kTalsenShow);
        auto* grid = find<ScriptGridView>("TDBGrid1");
        selectRows(grid, {2, 0, 1});
        QCOMPARE(grid->selectedRowsInOrder(), (std::vector<int>{2, 0, 1}));
        grid->selectionModel()->select(grid->model()->index(0, 0),
                                       QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
        QCOMPARE(grid->selectedRowsInOrder(), (std::vector<int>{2, 1}));
    }

    void startingWithFilesOpensEachIntoItsTab() {
        writeBytes(dir->path("a.csv"), kTalsenShow);
        writeBytes(dir->path("b.kvn"), kKavrinShow);
        writeBytes(dir->path("c.txt"), "x");
        window->openFiles({path("a.csv"), path("b.kvn"), path("c.txt")});
        QCOMPARE(window->state().talsen.rowCount(), 3);
        QCOMPARE(window->state().kavrin.rowCount(), 2);
        QCOMPARE(prompter->messages.size(), size_t(1));
        QVERIFY(prompter->lastMessage().contains(u"c.txt"_s));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
