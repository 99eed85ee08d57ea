// Save Grid Layout, Load Grid Layout, Page Setup and Print Preview on the real
// window, with the layout file in the test's own program folder.

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

#include "support/sd_show_file.h"
#include "support/window_test_base.h"

#include "platform/grid_layout.h"
#include "platform/script_grid_view.h"
#include "workspace/grid_commands.h"

using namespace fulgor;
using namespace Qt::StringLiterals;
using test::readBytes;
using test::writeBytes;

class GridLayoutWindowTest : public test::WindowTestBase {
    Q_OBJECT

private:
    QHeaderView* header(const char* grid) { return find<ScriptGridView>(grid)->horizontalHeader(); }
    // Previews the tab showing: the first lines of its one page, simplified,
    // and a note when the page has no page number or more pages follow.
    QStringList previewLines(int count) {
        prompter->previewPdf = path("preview.pdf");
        trigger("mnuFilePreview");
        QProcess pdftotext;
        pdftotext.start(u"pdftotext"_s, {u"-layout"_s, path("preview.pdf"), u"-"_s});
        pdftotext.waitForFinished();
        QStringList pages = QString::fromUtf8(pdftotext.readAllStandardOutput())
                                .split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
        if (pages.isEmpty()) return {u"(no page)"_s};
        QStringList lines;
        for (const QString& line : pages[0].split(QLatin1Char('\n')).mid(0, count))
            lines << line.simplified();
        if (!pages[0].contains(u"Page: 1"_s)) lines << u"(no page number)"_s;
        if (pages.size() > 1) lines << u"(%1 pages)"_s.arg(pages.size());
        return lines;
    }

private slots:
    void init() {
        openWindow();
        QFile::remove(layoutFilePath());
    }

    void cleanup() {
        QFile::remove(layoutFilePath());
        closeWindow();
    }

    void failedLoadsReportAndLeaveTheGridAsItWas() {
        QHeaderView* grid = header("TDBGrid1");
        grid->resizeSection(2, 77);
        trigger("mnuConfigGridLoad");
        QCOMPARE(prompter->messages.size(), std::size_t(1));
        QCOMPARE(prompter->lastMessage(),
                 QStringLiteral("There is no layout file \"%1\" yet: save a grid layout first.")
                     .arg(layoutFilePath()));

        // A hand edit that names a Kavrin column in the Talsen layout: refused whole.
        writeBytes(layoutFilePath().toStdString(),
                   R"({"fulgorGridLayouts": 1, "layouts": {"TalsenScript": [
                        {"column": "Type", "width": 300}, {"column": "Shot", "width": 40}]}})");
        trigger("mnuConfigGridLoad");
        QCOMPARE(prompter->lastMessage(),
                 QStringLiteral("The layout \"TalsenScript\" names a column \"Shot\" that this "
                                "grid does not have."));
        QCOMPARE(prompter->messages.size(), std::size_t(2));
        QCOMPARE(std::tuple(grid->sectionSize(1), grid->sectionSize(2), grid->visualIndex(1)),
                 std::tuple(110, 77, 1));
    }

    // A layout can move and hide columns; the preview prints the grid as it shows,
    // and a layout saved from it keeps the hidden column's width.
    void previewPrintsTheGridAsShown() {
        writeBytes(dir->path("show.kvn"),
                   "Grand Finale\r\n1,1,3,12.5,01,01,0:00:12.50,1,,50mm,2,Comet,"
                   "Red comet\r\n");
        showTab(MainWindow::KavrinIndex);
        prompter->fileAnswers.push_back(path("show.kvn"));
        trigger("mnuFileOpen");
        writeBytes(layoutFilePath().toStdString(),
                   R"({"fulgorGridLayouts": 1, "layouts": {"KavrinScript": [
                        {"column": "Notes", "width": 150}, {"column": "Time", "width": 60},
                        {"column": "hh:mm:ss.t", "width": 99, "hidden": true}]}})");
        trigger("mnuConfigGridLoad");
        QVERIFY2(prompter->messages.empty(), qPrintable(prompter->lastMessage()));
        QHeaderView* grid = header("TDBGrid2");
        QCOMPARE(std::pair(grid->logicalIndex(0), grid->logicalIndex(1)), std::pair(12, 3));
        QVERIFY(grid->isSectionHidden(6));

        QCOMPARE(previewLines(3),
                 (QStringList{u"Kavrin Script Table - %1Grand Finale"_s.arg(path("show.kvn")),
                              "Notes Time Line Shot Pos Mod Pin TS Ref Err Size Qty Type",
                              "Red comet 12.50 1 1 3 01 01 1 50mm 2 Comet"}));

        trigger("mnuConfigGridSave");
        QVERIFY(QByteArray::fromStdString(readBytes(layoutFilePath().toStdString()))
                    .contains("\"column\": \"hh:mm:ss.t\",\n                \"hidden\": true,\n"
                              "                \"width\": 99"));
    }

    // Each grid keeps its layout beside the others' in one file; the SD grid's
    // filter bar follows its layout, and the preview prints the view as shown:
    // its layout, its filter and its sort.
    void sdGridLayoutAndItsPrintedView() {
        header("TDBGrid1")->resizeSection(1, 45);
        trigger("mnuConfigGridSave");
        showTab(MainWindow::KavrinIndex);
        header("TDBGrid2")->resizeSection(3, 123);
        trigger("mnuConfigGridSave");

        showTab(MainWindow::SdIndex);
        for (const char* command : {"mnuConfigGridSave", "mnuConfigGridLoad", "mnuFilePreview"}) {
            trigger(command);
            QCOMPARE(prompter->lastMessage(), u"No show is open: the grid has no columns yet."_s);
        }
        QCOMPARE(prompter->messages.size(), std::size_t(3));
        test::writeSdShow(dir->path("show.scx"), {{.cue = 1, .addr = 163, .effect = "Comet Red"},
                                                  {.cue = 2, .effect = "comet blue"},
                                                  {.cue = 3, .addr = 17, .effect = "Mine"}});
        prompter->fileAnswers.push_back(path("show.scx"));
        trigger("mnuFileOpen");
        auto* grid = find<QTableView>("TDBGrid3");
        QHeaderView* sd = grid->horizontalHeader();
        QHeaderView* bar = find<QTableView>("TDBGrid3FilterBar")->horizontalHeader();
        const QStringList captions = columnNames(*grid->model());
        const int effect = static_cast<int>(captions.indexOf(u"Effect Description"_s));

        // Effect Description, CUE and Haddr, every other column hidden, saved
        // beside the script grids' layouts.
        GridLayout layout = {
            {"Effect Description", 150, false}, {"CUE", 40, false}, {"Haddr", 50, false}};
        for (const QString& caption : captions) {
            if (caption != "Effect Description" && caption != "CUE" && caption != "Haddr")
                layout.push_back({caption, 60, true});
        }
        QVERIFY(saveGridLayout(layoutFilePath(), kDirectorLayoutName, layout));
        trigger("mnuConfigGridLoad");
        QCOMPARE(prompter->messages.size(), std::size_t(3));
        auto followed = [&] {
            for (int visual = 0; visual < sd->count(); ++visual) {
                int column = sd->logicalIndex(visual);
                if (bar->logicalIndex(visual) != column ||
                    bar->isSectionHidden(column) != sd->isSectionHidden(column) ||
                    bar->sectionSize(column) != sd->sectionSize(column))
                    return false;
            }
            return true;
        };
        QCOMPARE(std::pair(sd->logicalIndex(0), sd->sectionSize(effect)), std::pair(effect, 150));
        QVERIFY(sd->isSectionHidden(1));
        QVERIFY(followed());

        auto* filters =
            static_cast<QStandardItemModel*>(find<QTableView>("TDBGrid3FilterBar")->model());
        filters->setItem(0, effect, new QStandardItem(u"Com"_s));
        find<QLineEdit>("txtSortOrderField")->setText(u"[CUE] DESC"_s);
        find<QPushButton>("cmdSortSD")->click();
        QCOMPARE(find<QLabel>("lblNumOfLines")->text(), u"2"_s);
        QCOMPARE(sd->logicalIndex(0), effect);  // the view changed, the layout stayed
        QVERIFY(followed());

        QCOMPARE(previewLines(4),
                 (QStringList{u"SD Show Script Table - %1"_s.arg(path("show.scx")),
                              "Effect Description CUE Haddr", "comet blue 2", "Comet Red 1 A3"}));

        // Saved by the window, the layout comes back; the other grids' stay beside it.
        sd->resizeSection(effect, 300);
        trigger("mnuConfigGridSave");
        sd->resizeSection(effect, 90);
        sd->showSection(1);
        trigger("mnuConfigGridLoad");
        QCOMPARE(sd->sectionSize(effect), 300);
        QVERIFY(sd->isSectionHidden(1));
        QVERIFY(followed());
        showTab(MainWindow::TalsenIndex);
        header("TDBGrid1")->resizeSection(1, 200);
        header("TDBGrid2")->resizeSection(3, 30);
        trigger("mnuConfigGridLoad");  // restores only the Talsen grid
        QCOMPARE(header("TDBGrid1")->sectionSize(1), 45);
        QCOMPARE(header("TDBGrid2")->sectionSize(3), 30);
        showTab(MainWindow::KavrinIndex);
        trigger("mnuConfigGridLoad");
        QCOMPARE(header("TDBGrid2")->sectionSize(3), 123);
        QCOMPARE(prompter->messages.size(), std::size_t(3));
    }

    void pageSetupGoesToTheDialogAndTheCommunicationsTabServesNone() {
        trigger("mnuPageSetup");
        QCOMPARE(prompter->pageSetups, 1);
        showTab(MainWindow::CommunicationsIndex);
        for (const char* command :
             {"mnuPageSetup", "mnuFilePreview", "mnuConfigGridSave", "mnuConfigGridLoad"}) {
            QVERIFY2(!find<QAction>(command)->isEnabled(), command);
            trigger(command);
        }
        QCOMPARE(prompter->pageSetups, 1);
        QVERIFY(!QFile::exists(layoutFilePath()));
    }
};

QTEST_MAIN(GridLayoutWindowTest)
#include "grid_layout_window_test.moc"
