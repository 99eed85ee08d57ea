// The real main window, driven by the names of its controls, with every
// dialog answered by a scripted prompter.

#include <QAbstractItemModelTester>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QtTest>

#include "support/window_test_base.h"

#include "platform/numeric_field.h"
#include "platform/script_grid_view.h"
#include "platform/script_table_model.h"

using namespace fulgor;
using test::readBytes;
using test::writeBytes;

namespace {

const char* const kTalsenShow =
    "finale.wav,1.50,SMPTE30\r\n"
    "1,Comet,50mm,12.50,,2,3,01,01,4.50,Red comet\r\n"
    "2,Shell,100mm,15.00,2.80,1,1,,,12.00,Gold willow\r\n"
    "3,Mine,75mm,9.25,,1,2,02,01,6.00,\r\n";

const char* const kKavrinShow =
    "Grand, Finale\r\n"
    "1,1,3,12.5,01,01,0:00:12.50,1,,50mm,2,Comet,Red comet\r\n"
    "2,2,1,12.2,02,01,0:00:12.20,2,,100mm,1,Shell,\r\n";

}  // namespace

class MainWindowTest : public test::WindowTestBase {
    Q_OBJECT

private:
    void openTalsen(const char* bytes) {
        writeBytes(dir->path("show.csv"), bytes);
        showTab(MainWindow::TalsenIndex);
        prompter->fileAnswers.push_back(path("show.csv"));
        trigger("mnuFileOpen");
    }
    void openKavrin(const char* bytes) {
        writeBytes(dir->path("show.kvn"), bytes);
        showTab(MainWindow::KavrinIndex);
        prompter->fileAnswers.push_back(path("show.kvn"));
        trigger("mnuFileOpen");
    }
    // Types into a cell through the grid's own editor and presses Enter.
    void typeIntoCell(const char* gridName, int row, int column, const QString& text) {
        auto* grid = find<ScriptGridView>(gridName);
        QModelIndex index = grid->model()->index(row, column);
        grid->setCurrentIndex(index);
        grid->edit(index);
        auto* editor = grid->viewport()->findChild<QLineEdit*>();
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

    void startupState() {
        QCOMPARE(window->windowTitle(), QStringLiteral("Corvane Fulgor"));
        auto* tabs = find<QTabWidget>("C1Tab1");
        QCOMPARE(tabs->currentIndex(), 0);
        QCOMPARE(tabs->tabText(0), QStringLiteral("T&alsen Scripting"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("&Kavrin Scripting"));
        QCOMPARE(tabs->tabText(2), QStringLiteral("S&D Show Script"));
        QCOMPARE(tabs->tabText(3), QStringLiteral("C&ommunications"));
        QCOMPARE(window->state().talsen.rowCount(), 1);
        QCOMPARE(window->state().kavrin.rowCount(), 1);
        QCOMPARE(find<ScriptGridView>("TDBGrid1")->model()->rowCount(), 1);
        QCOMPARE(find<ScriptGridView>("TDBGrid2")->model()->columnCount(), 13);
        QCOMPARE(talsenCell(0, 3), QString());
        QCOMPARE(find<QLineEdit>("txtCommPort")->text(), QStringLiteral("1"));
        QCOMPARE(find<QComboBox>("ComboTimeType")->currentText(), QStringLiteral("Wave File"));
        QCOMPARE(find<QComboBox>("ComboTimeType")->count(), 5);
        QCOMPARE(find<QLabel>("lblPortSets")->text(), QStringLiteral("[Comm Port Closed]"));
        QCOMPARE(find<QPushButton>("cmdCaptureSerial")->text(), QStringLiteral("Begin Capture"));
        QVERIFY(find<QRadioButton>("optKavrinNum")->isChecked());
        QCOMPARE(find<NumericField>("txtTC_offset")->minimum(), -5999.9);
        QCOMPARE(find<NumericField>("txtTC_offset")->text(), QStringLiteral("0.00"));
        QCOMPARE(find<NumericField>("txtKVTimeoffset")->text(), QStringLiteral("0"));
        QCOMPARE(find<NumericField>("txtKVTimeoffset")->minimum(), -5999.0);

        QCOMPARE(find<QAction>("mnuFileOpen")->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
        QCOMPARE(find<QAction>("mnuFileSave")->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
        QCOMPARE(find<QAction>("mnuCpyGridSel")->shortcut(),
                 QKeySequence(QStringLiteral("Ctrl+G")));
        QCOMPARE(find<QAction>("mnuEditPaste")->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
        QCOMPARE(find<QAction>("mnuDeleteLines")->text(), QStringLiteral("&Delete Line(s)"));
        // Every File and Edit command serves the Talsen tab.
        for (const char* built :
             {"mnuFileNew", "mnuPageSetup", "mnuConfigGridLoad", "mnuCpyGridSel", "mnuDeleteLines",
              "mnuEditInsert", "mnuEditAddLine", "mnuEditPaste", "mnuScriptOffset"})
            QVERIFY2(find<QAction>(built)->isEnabled(), built);
        QVERIFY(find<QAction>("mnuExit")->isEnabled());
    }

    void gridModelsPassTheModelTester() {
        openTalsen(kTalsenShow);
        QAbstractItemModelTester talsen(find<ScriptGridView>("TDBGrid1")->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QAbstractItemModelTester kavrin(find<ScriptGridView>("TDBGrid2")->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        trigger("mnuFileNew");
    }

    void fileNewTouchesOnlyItsOwnTab() {
        openTalsen(kTalsenShow);
        openKavrin(kKavrinShow);
        showTab(MainWindow::TalsenIndex);
        trigger("mnuFileNew");
        QCOMPARE(window->state().talsen.rowCount(), 1);
        QCOMPARE(talsenCell(0, 1), QString());
        QCOMPARE(find<QLineEdit>("txtScriptWaveName")->text(), QString());
        QCOMPARE(find<QComboBox>("ComboTimeType")->currentText(), QStringLiteral("Wave File"));
        QCOMPARE(find<NumericField>("txtTC_offset")->text(), QStringLiteral("0.00"));
        QCOMPARE(window->state().talsenPath, path("show.csv"));  // New keeps the stored path
        QCOMPARE(window->state().kavrin.rowCount(), 2);
        QCOMPARE(find<QLineEdit>("txtShowName")->text(), QStringLiteral("Grand, Finale"));

        openTalsen(kTalsenShow);
        showTab(MainWindow::KavrinIndex);
        find<NumericField>("txtKVTimeoffset")->setValue(12.5);
        trigger("mnuFileNew");
        QCOMPARE(window->state().kavrin.rowCount(), 1);
        QCOMPARE(kavrinCell(0, 0), QString());
        QCOMPARE(find<QLineEdit>("txtShowName")->text(), QString());
        QCOMPARE(find<QLineEdit>("txtShowRepeater")->text(), QString());
        QCOMPARE(find<NumericField>("txtKVTimeoffset")->text(), QStringLiteral("0"));
        QCOMPARE(window->state().conflictCount, 0);
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

    void openTalsenThroughTheDialog() {
        openTalsen(kTalsenShow);
        const FileDialogRequest& request = prompter->fileDialogs.back();
        QCOMPARE(request.title, QStringLiteral("Open Talsen Script File"));
        QCOMPARE(request.filter,
                 QStringLiteral(
                     "All Files (*.*)|*.*|Show Files (*.csv)|*.csv|Text Files (*.txt)|*.txt"));
        QCOMPARE(request.filterIndex, 2);
        QCOMPARE(request.fileName, QString());
        QCOMPARE(window->state().talsen.rowCount(), 3);
        QCOMPARE(talsenCell(1, 1), QStringLiteral("Shell"));
        QCOMPARE(talsenCell(0, 3), QStringLiteral("12.50"));
        QCOMPARE(find<QLineEdit>("txtScriptWaveName")->text(), QStringLiteral("finale.wav"));
        QCOMPARE(find<NumericField>("txtTC_offset")->text(), QStringLiteral("1.50"));
        QCOMPARE(find<QComboBox>("ComboTimeType")->currentText(), QStringLiteral("SMPTE30"));
        QCOMPARE(window->state().talsenPath, path("show.csv"));
        QCOMPARE(find<ScriptGridView>("TDBGrid1")->currentRow(), 0);
        QVERIFY(prompter->busyCount > 0);
    }

    void offsetFieldsShowWhatTheFileHoldsAndLimitWhatIsTyped() {
        openTalsen("x.wav,9999.125,Trigger\r\n");
        auto* offset = find<NumericField>("txtTC_offset");
        QCOMPARE(offset->text(), QStringLiteral("9999.12"));  // not clamped, halves to even
        prompter->fileAnswers.push_back(path("again.csv"));
        trigger("mnuFileSave");
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
        QTest::keyClicks(offset, QStringLiteral("-12.5"));
        prompter->fileAnswers.push_back(path("typed.csv"));
        trigger("mnuFileSave");
        QCOMPARE(readBytes(dir->path("typed.csv")), std::string("x.wav,-12.5,Trigger\r\n"));
        QTest::keyClick(offset, Qt::Key_Return);
        QCOMPARE(offset->text(), QStringLiteral("-12.50"));

        auto* timeType = find<QComboBox>("ComboTimeType");
        timeType->lineEdit()->clear();
        QTest::keyClicks(timeType->lineEdit(), QStringLiteral("Pyro Clock"));
        QTest::keyClick(timeType->lineEdit(), Qt::Key_Return);
        QCOMPARE(timeType->currentText(), QStringLiteral("Pyro Clock"));
        QCOMPARE(timeType->count(), 5);
    }

    void cancelledOrFailedOpenLeavesTheTable() {
        openTalsen(kTalsenShow);
        prompter->fileAnswers.push_back(QString());
        trigger("mnuFileOpen");
        QCOMPARE(window->state().talsen.rowCount(), 3);
        QVERIFY(prompter->messages.empty());

        prompter->fileAnswers.push_back(path("missing.csv"));
        trigger("mnuFileOpen");
        QCOMPARE(window->state().talsen.rowCount(), 3);
        QCOMPARE(prompter->messages.size(), size_t(1));
        QCOMPARE(prompter->messages[0].title, QStringLiteral("Fulgor"));
        QCOMPARE(prompter->messages[0].icon, Prompter::Icon::None);
        QVERIFY(prompter->lastMessage().contains(QStringLiteral("missing.csv")));
        QVERIFY(prompter->lastMessage().contains(QStringLiteral("No such file or directory")));
        QCOMPARE(window->state().talsenPath, path("show.csv"));
    }

    void saveTalsenRoundTrip() {
        openTalsen(kTalsenShow);
        prompter->fileAnswers.push_back(path("saved.csv"));
        trigger("mnuFileSave");
        const FileDialogRequest& request = prompter->fileDialogs.back();
        QCOMPARE(request.title, QStringLiteral("Save Talsen Script File"));
        QCOMPARE(request.filterIndex, 2);
        QCOMPARE(request.fileName, path("show.csv"));  // the name the dialog last held
        QCOMPARE(request.defaultExtension, QString());
        QCOMPARE(QString::fromStdString(readBytes(dir->path("saved.csv"))),
                 QString::fromLatin1(kTalsenShow));
        QCOMPARE(window->state().talsenPath, path("show.csv"));  // saving keeps the opened path
        QCOMPARE(window->state().dialogFileName, path("saved.csv"));

        prompter->fileAnswers.push_back(QString());
        trigger("mnuFileSave");
        QVERIFY(prompter->messages.empty());
        QCOMPARE(window->state().dialogFileName, path("saved.csv"));  // a cancel keeps the name
        prompter->fileAnswers.push_back(QString());
        trigger("mnuFileSave");
        QCOMPARE(prompter->fileDialogs.back().fileName, path("saved.csv"));
    }

    void saveErrorIsReportedAndTheOldFileStays() {
        openTalsen(kTalsenShow);
        find<ScriptGridView>("TDBGrid1")
            ->model()
            ->setData(find<ScriptGridView>("TDBGrid1")->model()->index(0, 10),
                      QString::fromUtf8("\u4E2D"));
        prompter->fileAnswers.push_back(path("show.csv"));
        trigger("mnuFileSave");
        QCOMPARE(prompter->messages.size(), size_t(1));
        QCOMPARE(prompter->messages[0].title, QStringLiteral("Fulgor"));
        QCOMPARE(prompter->messages[0].icon, Prompter::Icon::None);
        QVERIFY(prompter->lastMessage().contains(QStringLiteral("U+4E2D")));
        QCOMPARE(QString::fromStdString(readBytes(dir->path("show.csv"))),
                 QString::fromLatin1(kTalsenShow));
    }

    void kavrinOpenAndSaveWithTheDefaultExtension() {
        find<NumericField>("txtKVTimeoffset")->setValue(33);
        openKavrin(kKavrinShow);
        QCOMPARE(prompter->fileDialogs.back().title, QStringLiteral("Open Kavrin Script File"));
        QCOMPARE(find<QLineEdit>("txtShowName")->text(), QStringLiteral("Grand, Finale"));
        QCOMPARE(find<QLineEdit>("txtShowRepeater")->text(), QStringLiteral("Grand, Finale"));
        QCOMPARE(find<NumericField>("txtKVTimeoffset")->text(), QStringLiteral("0"));
        QCOMPARE(window->state().kavrin.rowCount(), 2);
        QCOMPARE(window->state().kavrinPath, path("show.kvn"));

        prompter->fileAnswers.push_back(path("copy"));
        trigger("mnuFileSave");
        const FileDialogRequest& request = prompter->fileDialogs.back();
        QCOMPARE(request.title, QStringLiteral("Save Kavrin Script File"));
        QCOMPARE(request.filter,
                 QStringLiteral(
                     "All Files (*.*)|*.*|Kavrin Files (*.kvn)|*.kvn|Text Files (*.txt)|*.txt"));
        QCOMPARE(request.fileName, QStringLiteral("Grand, Finale"));
        QCOMPARE(request.defaultExtension, QStringLiteral("kvn"));
        QCOMPARE(QString::fromStdString(readBytes(dir->path("copy.kvn"))),
                 QString::fromLatin1(kKavrinShow));
        QCOMPARE(window->state().dialogFileName, path("copy.kvn"));

        // A cancelled Kavrin save leaves the dialog holding the show name it
        // offered, and the next save dialog offers that.
        prompter->fileAnswers.push_back(QString());
        trigger("mnuFileSave");
        showTab(MainWindow::TalsenIndex);
        prompter->fileAnswers.push_back(QString());
        trigger("mnuFileSave");
        QCOMPARE(prompter->fileDialogs.back().fileName, QStringLiteral("Grand, Finale"));
    }

    // Import Talsen shows no box; what it could not time goes to the status bar.
    void importTalsenNotesUntimedRowsInTheStatusBar() {
        openTalsen("w,0,t\r\n1,Comet,,abc,,,1,01,01,,\r\n2,Comet,,2,,,1,01,02,,\r\n");
        showTab(MainWindow::KavrinIndex);
        find<QPushButton>("cmdImportTS")->click();
        QCOMPARE(window->state().kavrin.rowCount(), 2);
        QVERIFY(prompter->messages.empty());
        QCOMPARE(window->statusBar()->currentMessage(),
                 QStringLiteral("1 Lines have no firing time (Time or Prefire is not a number, or "
                                "Prefire is larger than Time); their Time is left empty: Line 1"));
        openTalsen("w,0,t\r\n1,Comet,,1,,,1,01,01,,\r\n");
        showTab(MainWindow::KavrinIndex);
        prompter->saveAnswers.push_back(Prompter::SaveChoice::Discard);  // the first import
        find<QPushButton>("cmdImportTS")->click();
        QCOMPARE(window->statusBar()->currentMessage(), QString());
    }

    void showNameIsMirroredBothWays() {
        QTest::keyClicks(find<QLineEdit>("txtShowName"), QStringLiteral("Gala"));
        QCOMPARE(find<QLineEdit>("txtShowRepeater")->text(), QStringLiteral("Gala"));
        find<QLineEdit>("txtShowRepeater")->setText(QStringLiteral("Gala Night"));
        QCOMPARE(find<QLineEdit>("txtShowName")->text(), QStringLiteral("Gala Night"));
    }

    // A line break would start a row of its own in the saved script.
    void showNameTakesNoLineBreak() {
        for (const char* field : {"txtShowName", "txtShowRepeater"}) {
            QLineEdit* box = find<QLineEdit>(field);
            box->setText(QStringLiteral("Gala"));
            box->setCursorPosition(2);
            QGuiApplication::clipboard()->setText(QStringLiteral("\r\nA\nB\r"));
            box->paste();
            QCOMPARE(box->text(), QStringLiteral("GaABla"));
            QCOMPARE(box->cursorPosition(), 4);
            QTest::keyClick(box, Qt::Key_Return);
            QCOMPARE(find<QLineEdit>("txtShowName")->text(), QStringLiteral("GaABla"));
            QCOMPARE(find<QLineEdit>("txtShowRepeater")->text(), QStringLiteral("GaABla"));
        }
    }

    void typedValuesAreCheckedAndRounded() {
        openTalsen(kTalsenShow);
        typeIntoCell("TDBGrid1", 0, 3, QStringLiteral("9.8765"));
        QCOMPARE(talsenCell(0, 3), QStringLiteral("9.88"));
        QVERIFY(window->state().talsen.cell(0, 3).isNumber());
        QCOMPARE(find<ScriptGridView>("TDBGrid1")->currentRow(), 1);  // Enter moved down
        typeIntoCell("TDBGrid1", 1, 4, QStringLiteral("12.125"));
        QCOMPARE(talsenCell(1, 4), QStringLiteral("12.12"));
        typeIntoCell("TDBGrid1", 2, 9, QStringLiteral("abc"));
        QCOMPARE(talsenCell(2, 9), QStringLiteral("6.00"));  // refused: the cell keeps its value
        typeIntoCell("TDBGrid1", 2, 3, QString());
        QCOMPARE(talsenCell(2, 3), QStringLiteral("9.25"));
        typeIntoCell("TDBGrid1", 2, 10, QStringLiteral("free text"));
        QCOMPARE(talsenCell(2, 10), QStringLiteral("free text"));

        openKavrin(kKavrinShow);
        typeIntoCell("TDBGrid2", 0, 3, QStringLiteral("75.46"));
        QCOMPARE(kavrinCell(0, 3), QStringLiteral("75.5"));
        QCOMPARE(kavrinCell(0, 6), QStringLiteral("0:01:15.50"));
        typeIntoCell("TDBGrid2", 1, 3, QStringLiteral("12.25"));
        QCOMPARE(kavrinCell(1, 3), QStringLiteral("12.2"));
        typeIntoCell("TDBGrid2", 1, 3, QStringLiteral("soon"));
        QCOMPARE(kavrinCell(1, 3), QStringLiteral("12.2"));
    }

    void editMasksLimitWhatACellAccepts() {
        openTalsen(kTalsenShow);
        auto* grid = find<ScriptGridView>("TDBGrid1");
        QModelIndex pos = grid->model()->index(0, 6);
        grid->setCurrentIndex(pos);
        grid->edit(pos);
        auto* editor = grid->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->clear();
        QTest::keyClicks(editor, QStringLiteral("12x345"));
        QCOMPARE(editor->text(), QStringLiteral("123"));  // "###": three digits at most
        QTest::keyClick(editor, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QModelIndex time = grid->model()->index(0, 3);
        grid->setCurrentIndex(time);
        grid->edit(time);
        editor = grid->viewport()->findChild<QLineEdit*>();
        QCOMPARE(editor->maxLength(), 6);
        // The width cuts what is typed before the rounding sees it: 12.3456
        // arrives as 12.345 and is stored as 12.34 (a whole 12.3456 gives 12.35).
        editor->clear();
        QTest::keyClicks(editor, QStringLiteral("12.3456"));
        QCOMPARE(editor->text(), QStringLiteral("12.345"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(talsenCell(0, 3), QStringLiteral("12.34"));
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

    void displayFormatsChangeOnlyTheDisplay() {
        openTalsen(kTalsenShow);
        QAbstractItemModel* model = find<ScriptGridView>("TDBGrid1")->model();
        QCOMPARE(model->index(1, 3).data().toString(), QStringLiteral("15.00"));
        QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("Comet"));
        QCOMPARE(talsenCell(1, 3), QStringLiteral("15.00"));
        QCOMPARE(model->index(0, 3).data(Qt::EditRole).toString(), QStringLiteral("12.50"));
        QCOMPARE(model->index(0, 10).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                     Qt::AlignHorizontal_Mask,
                 Qt::AlignLeft);
    }

    void talsenHeaderClicksSortWithoutTouchingLine() {
        openTalsen(kTalsenShow);
        auto* grid = find<ScriptGridView>("TDBGrid1");
        emit grid->headerClicked(3);  // Time
        QCOMPARE(talsenCell(0, 0), QStringLiteral("3"));
        QCOMPARE(talsenCell(2, 0), QStringLiteral("2"));
        QCOMPARE(grid->currentRow(), 0);
        emit grid->headerClicked(4);  // Prefire: no sort
        QCOMPARE(talsenCell(0, 0), QStringLiteral("3"));
        QHeaderView* header = grid->horizontalHeader();
        QVERIFY(header->isSortIndicatorShown());  // still the Time sort's
        QCOMPARE(header->sortIndicatorSection(), 3);
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
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
        QCOMPARE(header->sortIndicatorSection(), 3);
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
        clickHeader(10);  // Notes
        QCOMPARE(header->sortIndicatorSection(), 10);
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
        clickHeader(10);  // the same column again sorts ascending again
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
        QCOMPARE(talsenCell(0, 10), QString());  // Notes ascending: the empty one first
        prompter->saveAnswers.push_back(Prompter::SaveChoice::Discard);  // the sorts
        openTalsen(kTalsenShow);  // a table read afresh is in the file's order
        QVERIFY(!header->isSortIndicatorShown());
    }

    void kavrinHeaderClickRenumbersLine() {
        openKavrin(kKavrinShow);
        auto* grid = find<ScriptGridView>("TDBGrid2");
        emit grid->headerClicked(3);  // Time
        QCOMPARE(kavrinCell(0, 3), QStringLiteral("12.2"));
        QCOMPARE(kavrinCell(0, 0), QStringLiteral("1"));
        QVERIFY(window->state().kavrin.cell(0, 0).isNumber());
        QCOMPARE(kavrinCell(1, 0), QStringLiteral("2"));
        QCOMPARE(kavrinCell(1, 7), QStringLiteral("1"));
        QVERIFY(grid->horizontalHeader()->isSortIndicatorShown());
        QCOMPARE(grid->horizontalHeader()->sortIndicatorSection(), 3);

        // A sort, its undo and its redo clear the selection (other cues stand
        // in the selected rows then) and show the indicator of the order shown.
        QHeaderView* header = grid->horizontalHeader();
        const Table byTime = window->state().kavrin;
        selectRows(grid, {1});
        emit grid->headerClicked(5);  // Pin
        QVERIFY(!(window->state().kavrin == byTime));
        QVERIFY(!grid->selectionModel()->hasSelection());
        QCOMPARE(header->sortIndicatorSection(), 5);
        selectRows(grid, {1});
        QVERIFY(grid->selectionModel()->hasSelection());
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

    void rowHighlights() {
        openTalsen(kTalsenShow);
        QAbstractItemModel* talsen = find<ScriptGridView>("TDBGrid1")->model();
        QCOMPARE(talsen->index(1, 0).data(Qt::BackgroundRole).value<QBrush>().color(),
                 QColor(255, 255, 0));
        QVERIFY(!talsen->index(0, 0).data(Qt::BackgroundRole).isValid());
        openKavrin(kKavrinShow);
        auto* kavrin = static_cast<ScriptTableModel*>(find<ScriptGridView>("TDBGrid2")->model());
        kavrin->setData(kavrin->index(0, 8), QStringLiteral("1"));
        QVERIFY(
            !kavrin->index(0, 0).data(Qt::BackgroundRole).isValid());  // switched off until a check
        kavrin->setHighlighting(true);
        QCOMPARE(kavrin->index(0, 0).data(Qt::BackgroundRole).value<QBrush>().color(),
                 QColor(0, 255, 255));
    }

    void numberingFrameEnablesTheCustomRangeOnlyForCustom() {
        auto* lo = find<QLineEdit>("txtCustomLo");
        auto* hi = find<QLineEdit>("txtCustomHi");
        QCOMPARE(lo->text(), QStringLiteral("0"));
        QCOMPARE(hi->text(), QStringLiteral("F"));
        QVERIFY(!lo->isEnabled() && !hi->isEnabled());
        find<QRadioButton>("optCustomNum")->click();
        QVERIFY(lo->isEnabled() && hi->isEnabled());
        hi->setText(QStringLiteral("16"));
        find<QRadioButton>("optTalsenNum")->click();
        QVERIFY(!lo->isEnabled() && !hi->isEnabled());
        QCOMPARE(hi->text(), QStringLiteral("16"));
    }

    void renumberLines() {
        openTalsen("w,0,t\r\n7,a,,,,,,,,,\r\n2,b,,,,,,,,,\r\n,c,,,,,,,,,\r\n");
        find<QPushButton>("cmdRenumLines")->click();
        find<QPushButton>("cmdRenumLines")->click();
        for (int row = 0; row < 3; ++row) {
            QVERIFY(window->state().talsen.cell(row, 0).isNumber());
            QCOMPARE(talsenCell(row, 0), QString::number(row + 1));
        }
        QCOMPARE(talsenCell(2, 1), QStringLiteral("c"));
    }

    void selectedRowsKeepTheirOrderOfSelection() {
        openTalsen(kTalsenShow);
        auto* grid = find<ScriptGridView>("TDBGrid1");
        auto* selection = grid->selectionModel();
        auto rows = QItemSelectionModel::Select | QItemSelectionModel::Rows;
        selection->select(grid->model()->index(2, 0), rows);
        selection->select(grid->model()->index(0, 0), rows);
        selection->select(grid->model()->index(1, 0), rows);
        QCOMPARE(grid->selectedRowsInOrder(), (std::vector<int>{2, 0, 1}));
        selection->select(grid->model()->index(0, 0),
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
        QVERIFY(prompter->lastMessage().contains(QStringLiteral("c.txt")));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
