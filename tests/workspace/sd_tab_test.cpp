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

using test::SdShowEvent;

class SdTabTest : public test::WindowTestBase {
    Q_OBJECT

    QString show;

    QString text(const char* label) { return find<QLabel>(label)->text(); }
    QTableView* grid() { return find<QTableView>("TDBGrid3"); }
    QString cell(int row, int column) {
        return grid()->model()->index(row, column).data().toString();
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
        QCOMPARE(prompter->fileDialogs.back().title, QStringLiteral("Open SD Show Script File"));
        QCOMPARE(prompter->fileDialogs.back().filter,
                 QStringLiteral("All Files (*.*)|*.*|Show Files (*.scx)|*.scx"));
        QCOMPARE(prompter->fileDialogs.back().filterIndex, 2);
        QCOMPARE(text("lblSDscriptFile"), show);
        QCOMPARE(text("lblNumOfLines"), QStringLiteral("4"));
        QVERIFY(!find<QLabel>("lblSDReadOnly")->isVisible());
        QCOMPARE(grid()->model()->columnCount(), 27);
        QCOMPARE(grid()->model()->headerData(10, Qt::Horizontal).toString(),
                 QStringLiteral("Haddr"));
        QCOMPARE(grid()->model()->headerData(11, Qt::Horizontal).toString(),
                 QStringLiteral("CGHZ"));
        QCOMPARE(cell(0, 10), QStringLiteral("A3"));
        QCOMPARE(cell(1, 10), QString());
        QCOMPARE(cell(2, 10), QStringLiteral("11"));
        QVERIFY(grid()->model()->index(0, 10).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
        QCOMPARE(grid()->currentIndex().row(), 0);
        int description = columnOf(QStringLiteral("Event Description"));
        QVERIFY(grid()->columnWidth(description) >=
                grid()->horizontalHeader()->fontMetrics().horizontalAdvance(
                    QStringLiteral("Event Description")));
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

    void aCancelledOrFailedOpenKeepsTheShowShown() {
        openShow(show);
        openShow(QString());
        QCOMPARE(text("lblSDscriptFile"), QString());
        QCOMPARE(text("lblNumOfLines"), QStringLiteral("4"));
        QCOMPARE(grid()->model()->rowCount(), 4);

        QString notes = path("notes.scx");
        test::writeBytes(dir->path("notes.scx"), "not a database");
        openShow(notes);
        QCOMPARE(prompter->lastMessage(),
                 QStringLiteral("Cannot open \"%1\": it is not an SD show database (neither a "
                                "SQLite nor a Jet database).")
                     .arg(notes));
        QCOMPARE(text("lblSDscriptFile"), show);
        QCOMPARE(grid()->model()->rowCount(), 4);

        QString empty = path("empty.scx");
        test::execSql(dir->path("empty.scx"), test::kSdShowTable);
        openShow(empty);
        QCOMPARE(text("lblNumOfLines"), QStringLiteral("0"));
        QCOMPARE(grid()->model()->rowCount(), 0);
    }

    void headerClicksBuildTheSortTextAndSortByAppliesIt() {
        openShow(show);
        auto* sortOrder = find<QLineEdit>("txtSortOrderField");
        clickHeader(QStringLiteral("TIME"), Qt::NoModifier);
        QCOMPARE(sortOrder->text(), QStringLiteral("[TIME]"));
        clickHeader(QStringLiteral("CUE"), Qt::ControlModifier);
        QCOMPARE(sortOrder->text(), QStringLiteral("[TIME],[CUE]"));
        clickHeader(QStringLiteral("Haddr"), Qt::ControlModifier);
        QCOMPARE(sortOrder->text(), QStringLiteral("[TIME],[CUE]"));
        clickHeader(QStringLiteral("CUE"), Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(sortOrder->text(), QStringLiteral("[CUE]"));

        sortOrder->setText(QStringLiteral("[TIME] DESC"));
        find<QPushButton>("cmdSortSD")->click();
        QCOMPARE(cell(0, 0), QStringLiteral("1"));
        QCOMPARE(cell(1, 0), QStringLiteral("4"));
        QCOMPARE(cell(3, 0), QStringLiteral("3"));

        sortOrder->setText(QStringLiteral("[TIME]; DROP TABLE Events"));
        find<QPushButton>("cmdSortSD")->click();
        QVERIFY(prompter->lastMessage().startsWith(QStringLiteral("Sorting Order:\n")));
        QCOMPARE(cell(0, 0), QStringLiteral("1"));  // the sort stays as it was
    }

    void filtersNarrowTheViewAndARefusedOneClearsEverything() {
        openShow(show);
        typeFilter(QStringLiteral("Effect Description"), QStringLiteral("com"));
        QCOMPARE(text("lblNumOfLines"), QStringLiteral("2"));
        QCOMPARE(cell(1, 0), QStringLiteral("2"));

        prompter->inputAnswers.push_back(QStringLiteral("> 2"));
        typeFilter(QStringLiteral("QTY"), QStringLiteral(">1"));
        QCOMPARE(prompter->questions.back().title, QStringLiteral("QTY Filter"));
        QCOMPARE(prompter->questions.back().text, QStringLiteral("Enter filter arguments"));
        QCOMPARE(prompter->questions.back().proposed, QStringLiteral(">1"));
        QCOMPARE(filterText(QStringLiteral("QTY")), QStringLiteral("> 2"));
        QCOMPARE(text("lblNumOfLines"), QStringLiteral("1"));
        QCOMPARE(cell(0, 0), QStringLiteral("2"));

        typeFilter(QStringLiteral("Haddr"), QStringLiteral("A3"));
        QCOMPARE(filterText(QStringLiteral("Haddr")), QString());
        QCOMPARE(text("lblNumOfLines"), QStringLiteral("1"));
        typeFilter(QStringLiteral("Event Description"), QStringLiteral("   "));
        QCOMPARE(text("lblNumOfLines"), QStringLiteral("1"));

        find<QLineEdit>("txtSortOrderField")->setText(QStringLiteral("[CUE]"));
        prompter->inputAnswers.push_back(QStringLiteral("two"));
        typeFilter(QStringLiteral("PFT"), QStringLiteral("x"));
        QCOMPARE(prompter->lastMessage(),
                 QStringLiteral("PFT Filter:\n\"two\" is not a filter for a number field: type "
                                "one comparison (=, <>, <, >, <= or >=) and one number, such as "
                                "> 2."));
        QCOMPARE(filterText(QStringLiteral("Effect Description")), QString());
        QCOMPARE(find<QLineEdit>("txtSortOrderField")->text(), QString());
        QCOMPARE(text("lblNumOfLines"), QStringLiteral("4"));

        prompter->inputAnswers.push_back(QString());
        typeFilter(QStringLiteral("QTY"), QStringLiteral("1"));
        QVERIFY(prompter->lastMessage().startsWith(QStringLiteral("QTY Filter:\n\"\" is not")));
        QCOMPARE(text("lblNumOfLines"), QStringLiteral("4"));
    }

    void anEditIsWrittenWhenTheRowIsLeft() {
        openShow(show);
        QAbstractItemModel* model = grid()->model();
        int addr = columnOf(QStringLiteral("ADDR"));
        QVERIFY(model->setData(model->index(1, addr), QStringLiteral("26")));
        QCOMPARE(cell(1, 10), QStringLiteral("1A"));
        QVERIFY(!model->setData(model->index(2, addr), QStringLiteral("1")));  // one row at a time
        QVERIFY(!model->setData(model->index(1, 0), QStringLiteral("two")));
        QCOMPARE(prompter->lastMessage(),
                 QStringLiteral("CUE holds a number: \"two\" is not one."));
        QCOMPARE(test::readBytes(dir->path("show.scx")).find("O'Neil"), std::string::npos);
        QVERIFY(model->setData(model->index(1, columnOf(QStringLiteral("Event Description"))),
                               QStringLiteral("O'Neil")));
        grid()->setCurrentIndex(model->index(2, 0));
        QVERIFY(test::readBytes(dir->path("show.scx")).find("O'Neil") != std::string::npos);
        openShow(show);  // read again from the file
        QCOMPARE(cell(1, addr), QStringLiteral("26"));
    }

    void sendToTalsenCopiesTheViewAndSaysWhatItSkipped() {
        openShow(show);
        find<QRadioButton>("optSDcghz")->setChecked(true);
        find<QPushButton>("cmdSendToTS")->click();
        QCOMPARE(window->state().talsen.rowCount(), 3);
        QCOMPARE(talsenCell(0, 0), QStringLiteral("1"));
        QCOMPARE(talsenCell(0, 2), QStringLiteral("12"));
        QCOMPARE(talsenCell(0, 3), QStringLiteral("90.5"));
        QCOMPARE(talsenCell(0, 10), QStringLiteral("Open45"));
        QCOMPARE(talsenCell(1, 2), QStringLiteral("4"));
        QCOMPARE(prompter->lastMessage(),
                 QStringLiteral("1 event could not be copied to the Talsen script and was left "
                                "out: 1 event with an empty ADDR."));

        prompter->messages.clear();
        typeFilter(QStringLiteral("Effect Description"), QStringLiteral("Pe"));
        find<QPushButton>("cmdSendToTS")->click();
        QCOMPARE(window->state().talsen.rowCount(), 1);
        QCOMPARE(talsenCell(0, 0), QStringLiteral("4"));
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
        QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("Chai"));
        QVERIFY(!(model.flags(model.index(0, 1)) & Qt::ItemIsEditable));
        QVERIFY(!model.setData(model.index(0, 1), QStringLiteral("Tea")));
        QCOMPARE(refused.size(), 1);
        QCOMPARE(refused[0][0].toString(),
                 QStringLiteral("\"%1\" is a read-only Jet database: it cannot be edited.")
                     .arg(QString::fromStdString(nwind)));
        QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("Chai"));
    }

    void theCommunicationsTabFormatsPdScripts() {
        auto* pen = find<QPlainTextEdit>("txtHoldingPen");
        showTab(MainWindow::CommunicationsIndex);
        find<QPushButton>("cmdShowDir2PD")->click();
        QCOMPARE(prompter->lastMessage(),
                 QStringLiteral("Format SD as PD Script:\nNo SD show script is open."));

        openShow(show);
        find<QLineEdit>("txtSortOrderField")->setText(QStringLiteral("[CUE] DESC"));
        find<QPushButton>("cmdSortSD")->click();
        find<QPushButton>("cmdShowDir2PD")->click();
        QCOMPARE(pen->toPlainText(),
                 QStringLiteral("N3000000000900000012000403DD\nN3000100000200000011000303E5\n"
                                "N3000200011E0F1900A30001030F\nN900FF\n"));
        QCOMPARE(text("lblShowStats0"), QStringLiteral("4"));
        QCOMPARE(text("lblShowStats1"), QStringLiteral("98"));
        QCOMPARE(text("lblShowStats2"), QStringLiteral("1"));
        QVERIFY(find<QRadioButton>("optPDBaud")->isChecked());

        find<QRadioButton>("optKavrinBaud")->setChecked(true);
        test::execSql(dir->path("show.scx"), "UPDATE Events SET HH = 300 WHERE CUE = 3");
        openShow(show);
        find<QPushButton>("cmdShowDir2PD")->click();
        QCOMPARE(pen->toPlainText(), QStringLiteral("N3000000011E0F1900A300010311\n"));
        QCOMPARE(prompter->lastMessage(),
                 QStringLiteral("Format SD as PD Script:\nEvent 3 (CUE 3): the field \"HH\" "
                                "holds 300, outside 0 to 255."));
        QCOMPARE(text("lblShowStats0"), QStringLiteral("4"));  // unchanged by a failure
        QVERIFY(find<QRadioButton>("optKavrinBaud")->isChecked());

        find<QPushButton>("cmdSendToTS")->click();  // three events with an ADDR
        find<QPushButton>("cmdTalsen2PD")->click();
        QCOMPARE(pen->toPlainText().split(QLatin1Char('\n')).size(), 5);
        QCOMPARE(talsenCell(0, 0), QStringLiteral("1"));
        QCOMPARE(text("lblShowStats0"), QStringLiteral("4"));
        QVERIFY(find<QRadioButton>("optPDBaud")->isChecked());

        QAbstractItemModel* talsen = find<QTableView>("TDBGrid1")->model();
        QVERIFY(talsen->setData(talsen->index(0, 7), QStringLiteral("80")));
        find<QPushButton>("cmdTalsen2PD")->click();
        QCOMPARE(prompter->lastMessage(),
                 QStringLiteral("Addresses in Talsenshow script are not formatted for PD!"));
        QCOMPARE(pen->toPlainText(), QString());
    }
};

}  // namespace fulgor

QTEST_MAIN(fulgor::SdTabTest)
#include "sd_tab_test.moc"
