#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>

#include "platform/sd_table_model.h"
#include "support/sd_show_file.h"
#include "support/window_test_base.h"

namespace fulgor {

using namespace Qt::StringLiterals;
using test::SdShowEvent;

class SdTabTest : public test::WindowTestBase {
    Q_OBJECT

    QString show;

    QString text(const char* label) { return find<QLabel>(label)->text(); }
    QTableView* grid() { return find<QTableView>("TDBGrid3"); }
    QString cell(int row, int column) {
        return grid()->model()->index(row, column).data().toString();
    }
    // CUE of each row shown, and the row count the tab shows agrees.
    QStringList cues() {
        QStringList shown;
        for (int row = 0; row < grid()->model()->rowCount(); ++row) shown << cell(row, 0);
        if (text("lblNumOfLines") != QString::number(shown.size())) shown << text("lblNumOfLines");
        return shown;
    }
    QStringList stats() {
        return {text("lblShowStats0"), text("lblShowStats1"), text("lblShowStats2")};
    }
    int columnOf(const QString& caption) {
        for (int c = 0; c < grid()->model()->columnCount(); ++c)
            if (grid()->model()->headerData(c, Qt::Horizontal).toString() == caption) return c;
        qFatal("no column %s", qPrintable(caption));
    }
    void typeFilter(const QString& caption, const QString& typed) {
        auto* filters =
            static_cast<QStandardItemModel*>(find<QTableView>("TDBGrid3FilterBar")->model());
        filters->setItem(0, columnOf(caption), new QStandardItem(typed));
    }
    QString filterText(const QString& caption) {
        auto* bar = find<QTableView>("TDBGrid3FilterBar");
        return bar->model()->index(0, columnOf(caption)).data().toString();
    }
    void openShow(const QString& file) {
        showTab(MainWindow::SdIndex);
        prompter->fileAnswers.push_back(file);
        trigger("mnuFileOpen");
    }
    void clickHeader(const QString& caption, Qt::KeyboardModifiers modifiers) {
        QHeaderView* header = grid()->horizontalHeader();
        int c = columnOf(caption);
        grid()->scrollTo(grid()->model()->index(0, c));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, modifiers,
                          QPoint(header->sectionViewportPosition(c) + 4, 4));
    }

private slots:
    void init() {
        openWindow();
        window->resize(1200, 700);
        window->show();
        show = path("show.scx");
        test::writeSdShow(dir->path("show.scx"),
                          {{.cue = 1,
                            .m = 1,
                            .s = 30,
                            .f = 15,
                            .addr = 163,
                            .pft = 25,
                            .qty = 2,
                            .effect = "Comet Red",
                            .event = "Open",
                            .angle = "45"},
                           {.cue = 2, .s = 5, .pft = 10, .qty = 3, .effect = "comet blue"},
                           {.cue = 3, .s = 2, .addr = 17, .cghz = 4, .qty = 5, .effect = "Mine"},
                           {.cue = 4, .s = 9, .addr = 18, .qty = 1, .effect = "Peony"}});
    }
    void cleanup() { closeWindow(); }

    void openingShowsTheEventsWithTheComputedColumn() {
        openShow(show);
        const FileDialogRequest& request = prompter->fileDialogs.back();
        QCOMPARE((QStringList{request.title, request.filter, QString::number(request.filterIndex)}),
                 (QStringList{"Open SD Show Script File",
                              "All Files (*.*)|*.*|Show Files (*.scx)|*.scx", "2"}));
        QCOMPARE((QStringList{text("lblSDscriptFile"), text("lblNumOfLines")}),
                 (QStringList{show, "4"}));
        QVERIFY(!find<QLabel>("lblSDReadOnly")->isVisible());
        QCOMPARE(grid()->model()->columnCount(), 27);
        QCOMPARE(columnOf(u"Haddr"_s), 10);  // computed, after ADDR
        QCOMPARE(columnOf(u"CGHZ"_s), 11);
        QCOMPARE((QStringList{cell(0, 10), cell(1, 10), cell(2, 10)}),
                 (QStringList{"A3", "", "11"}));
        QVERIFY(grid()->model()->index(0, 10).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
        QCOMPARE(grid()->currentIndex().row(), 0);
        int description = columnOf(u"Event Description"_s);
        QVERIFY(
            grid()->columnWidth(description) >=
            grid()->horizontalHeader()->fontMetrics().horizontalAdvance(u"Event Description"_s));
        QVERIFY(!(grid()->model()->flags(grid()->model()->index(0, 10)) & Qt::ItemIsEditable));
        QVERIFY(grid()->model()->flags(grid()->model()->index(0, 0)) & Qt::ItemIsEditable);
        QVERIFY(!find<QAction>("mnuFileSave")->isEnabled());

        auto* filterBar = find<QTableView>("TDBGrid3FilterBar");
        QCOMPARE(filterBar->horizontalHeader()->count(), 27);
        QCOMPARE(filterBar->columnWidth(description), grid()->columnWidth(description));
        QStyleOptionViewItem option;
        std::unique_ptr<QWidget> editor(grid()->itemDelegate()->createEditor(
            grid()->viewport(), option, grid()->model()->index(0, description)));
        QCOMPARE(qobject_cast<QLineEdit*>(editor.get())->maxLength(), 52);
    }

    void aCancelledOpenKeepsTheShowShownAndAnEmptyOneShowsNoRows() {
        openShow(show);
        openShow(QString());
        QCOMPARE((QStringList{text("lblSDscriptFile"), text("lblNumOfLines")}),
                 (QStringList{"", "4"}));
        QCOMPARE(grid()->model()->rowCount(), 4);

        QString empty = path("empty.scx");
        test::execSql(dir->path("empty.scx"), test::kSdShowTable);
        openShow(empty);
        QCOMPARE(text("lblNumOfLines"), u"0"_s);
        QCOMPARE(grid()->model()->rowCount(), 0);
    }

    void headerClicksBuildTheSortTextAndSortByAppliesIt() {
        openShow(show);
        auto* sortOrder = find<QLineEdit>("txtSortOrderField");
        clickHeader(u"TIME"_s, Qt::NoModifier);
        QCOMPARE(sortOrder->text(), u"[TIME]"_s);
        clickHeader(u"CUE"_s, Qt::ControlModifier);
        QCOMPARE(sortOrder->text(), u"[TIME],[CUE]"_s);
        clickHeader(u"Haddr"_s, Qt::ControlModifier);
        QCOMPARE(sortOrder->text(), u"[TIME],[CUE]"_s);
        clickHeader(u"CUE"_s, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(sortOrder->text(), u"[CUE]"_s);

        sortOrder->setText(u"[TIME] DESC"_s);
        find<QPushButton>("cmdSortSD")->click();
        QCOMPARE(cues(), (QStringList{"1", "4", "2", "3"}));

        sortOrder->setText(u"[TIME]; DROP TABLE Events"_s);
        find<QPushButton>("cmdSortSD")->click();
        QVERIFY(prompter->lastMessage().startsWith(u"Sorting Order:\n"_s));
        QCOMPARE(cell(0, 0), u"1"_s);  // the sort stays as it was
    }

    void filtersNarrowTheViewAndARefusedOneClearsEverything() {
        openShow(show);
        typeFilter(u"Effect Description"_s, u"com"_s);
        QCOMPARE(cues(), (QStringList{"1", "2"}));

        prompter->inputAnswers.push_back(u"> 2"_s);
        typeFilter(u"QTY"_s, u">1"_s);
        const auto& asked = prompter->questions.back();
        QCOMPARE((QStringList{asked.title, asked.text, asked.proposed}),
                 (QStringList{"QTY Filter", "Enter filter arguments", ">1"}));
        QCOMPARE(filterText(u"QTY"_s), u"> 2"_s);
        QCOMPARE(cues(), QStringList{"2"});

        typeFilter(u"Haddr"_s, u"A3"_s);
        QCOMPARE(filterText(u"Haddr"_s), QString());
        typeFilter(u"Event Description"_s, u"   "_s);
        QCOMPARE(cues(), QStringList{"2"});

        find<QLineEdit>("txtSortOrderField")->setText(u"[CUE]"_s);
        prompter->inputAnswers.push_back(u"two"_s);
        typeFilter(u"PFT"_s, u"x"_s);
        QCOMPARE(prompter->lastMessage(),
                 QStringLiteral("PFT Filter:\n\"two\" is not a filter for a number field: type "
                                "one comparison (=, <>, <, >, <= or >=) and one number, such as "
                                "> 2."));
        QCOMPARE(filterText(u"Effect Description"_s), QString());
        QCOMPARE(find<QLineEdit>("txtSortOrderField")->text(), QString());
        QCOMPARE(text("lblNumOfLines"), u"4"_s);

        prompter->inputAnswers.push_back(QString());
        typeFilter(u"QTY"_s, u"1"_s);
        QVERIFY(prompter->lastMessage().startsWith(u"QTY Filter:\n\"\" is not"_s));
        QCOMPARE(text("lblNumOfLines"), u"4"_s);
    }

    void anEditIsWrittenWhenTheRowIsLeft() {
        openShow(show);
        QAbstractItemModel* model = grid()->model();
        int addr = columnOf(u"ADDR"_s);
        QVERIFY(model->setData(model->index(1, addr), u"26"_s));
        QCOMPARE(cell(1, 10), u"1A"_s);
        QVERIFY(!model->setData(model->index(2, addr), u"1"_s));  // one row at a time
        QVERIFY(!model->setData(model->index(1, 0), u"two"_s));
        QCOMPARE(prompter->lastMessage(), u"CUE holds a number: \"two\" is not one."_s);
        QCOMPARE(test::readBytes(dir->path("show.scx")).find("O'Neil"), std::string::npos);
        QVERIFY(model->setData(model->index(1, columnOf(u"Event Description"_s)), u"O'Neil"_s));
        grid()->setCurrentIndex(model->index(2, 0));
        QVERIFY(test::readBytes(dir->path("show.scx")).find("O'Neil") != std::string::npos);
        openShow(show);  // read again from the file
        QCOMPARE(cell(1, addr), u"26"_s);
    }

    void sendToTalsenCopiesTheViewAndSaysWhatItSkipped() {
        openShow(show);
        find<QRadioButton>("optSDcghz")->setChecked(true);
        find<QPushButton>("cmdSendToTS")->click();
        QCOMPARE(window->state().talsen.rowCount(), 3);
        QCOMPARE((QStringList{talsenCell(0, 0), talsenCell(0, 2), talsenCell(0, 3),
                              talsenCell(0, 10), talsenCell(1, 2)}),
                 (QStringList{"1", "12", "90.5", "Open45", "4"}));
        QCOMPARE(prompter->lastMessage(),
                 QStringLiteral("1 event could not be copied to the Talsen script and was left "
                                "out: 1 event with an empty ADDR."));

        prompter->messages.clear();
        typeFilter(u"Effect Description"_s, u"Pe"_s);
        find<QPushButton>("cmdSendToTS")->click();
        QCOMPARE(window->state().talsen.rowCount(), 1);
        QCOMPARE(talsenCell(0, 0), u"4"_s);
        QVERIFY(prompter->messages.empty());
    }

    void aJetDatabaseIsShownButRefusesEdits() {
        const std::string nwind = std::string(FULGOR_JET_FIXTURES) + "/nwind.mdb";
        auto db = SdDatabase::open(nwind, SdDatabase::Access::ReadWrite, "Products");
        QVERIFY(db.ok());
        SdTableModel model;
        QSignalSpy refused(&model, &SdTableModel::editRefused);
        QVERIFY(model.setDatabase(db.value().get()));
        QCOMPARE(model.rowCount(), 77);
        QCOMPARE(model.index(0, 1).data().toString(), u"Chai"_s);
        QVERIFY(!(model.flags(model.index(0, 1)) & Qt::ItemIsEditable));
        QVERIFY(!model.setData(model.index(0, 1), u"Tea"_s));
        QCOMPARE(refused.size(), 1);
        QCOMPARE(refused[0][0].toString(),
                 u"\"%1\" is a read-only Jet database: it cannot be edited."_s.arg(
                     QString::fromStdString(nwind)));
        QCOMPARE(model.index(0, 1).data().toString(), u"Chai"_s);
    }

    void theCommunicationsTabFormatsPdScripts() {
        auto* pen = find<QPlainTextEdit>("txtHoldingPen");
        showTab(MainWindow::CommunicationsIndex);
        find<QPushButton>("cmdShowDir2PD")->click();
        QCOMPARE(prompter->lastMessage(), u"Format SD as PD Script:\nNo SD show script is open."_s);

        openShow(show);
        find<QLineEdit>("txtSortOrderField")->setText(u"[CUE] DESC"_s);
        find<QPushButton>("cmdSortSD")->click();
        find<QPushButton>("cmdShowDir2PD")->click();
        QCOMPARE(pen->toPlainText(),
                 QStringLiteral("N3000000000900000012000403DD\nN3000100000200000011000303E5\n"
                                "N3000200011E0F1900A30001030F\nN900FF\n"));
        QCOMPARE(stats(), (QStringList{"4", "98", "1"}));
        QVERIFY(find<QRadioButton>("optPDBaud")->isChecked());

        find<QRadioButton>("optKavrinBaud")->setChecked(true);
        test::execSql(dir->path("show.scx"), "UPDATE Events SET HH = 300 WHERE CUE = 3");
        openShow(show);
        find<QPushButton>("cmdShowDir2PD")->click();
        QCOMPARE(pen->toPlainText(), u"N3000000011E0F1900A300010311\n"_s);
        QCOMPARE(prompter->lastMessage(),
                 QStringLiteral("Format SD as PD Script:\nEvent 3 (CUE 3): the field \"HH\" "
                                "holds 300, outside 0 to 255."));
        QCOMPARE(stats(), (QStringList{"4", "98", "1"}));  // unchanged by a failure
        QVERIFY(find<QRadioButton>("optKavrinBaud")->isChecked());

        find<QPushButton>("cmdSendToTS")->click();  // three events with an ADDR
        find<QPushButton>("cmdTalsen2PD")->click();
        QCOMPARE(pen->toPlainText().split(QLatin1Char('\n')).size(), 5);
        QCOMPARE(talsenCell(0, 0), u"1"_s);
        QCOMPARE(text("lblShowStats0"), u"4"_s);
        QVERIFY(find<QRadioButton>("optPDBaud")->isChecked());

        QAbstractItemModel* talsen = find<QTableView>("TDBGrid1")->model();
        QVERIFY(talsen->setData(talsen->index(0, 7), u"80"_s));
        find<QPushButton>("cmdTalsen2PD")->click();
        QCOMPARE(prompter->lastMessage(),
                 u"Addresses in Talsenshow script are not formatted for PD!"_s);
        QCOMPARE(pen->toPlainText(), QString());
    }
};

}  // namespace fulgor

QTEST_MAIN(fulgor::SdTabTest)
#include "sd_tab_test.moc"
