// Save Grid Layout, Load Grid Layout, Page Setup and Print Preview on the real
// window, with the layout file in the test's own program folder.

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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
using test::readBytes;
using test::writeBytes;

class GridLayoutWindowTest : public test::WindowTestBase {
    Q_OBJECT

private:
    QHeaderView* header(const char* grid) { return find<ScriptGridView>(grid)->horizontalHeader(); }
    // The text of each page of the preview's PDF.
    QStringList previewPages() {
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"),
                        {QStringLiteral("-layout"), path("preview.pdf"), QStringLiteral("-")});
        pdftotext.waitForFinished();
        QStringList pages = QString::fromUtf8(pdftotext.readAllStandardOutput())
                                .split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
        return pages;
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

    void eachTabRestoresOnlyItsOwnLayout() {
        showTab(MainWindow::KavrinIndex);
        header("TDBGrid2")->resizeSection(3, 123);
        trigger("mnuConfigGridSave");
        showTab(MainWindow::TalsenIndex);
        header("TDBGrid1")->resizeSection(1, 45);
        trigger("mnuConfigGridSave");
        QVERIFY(prompter->messages.empty());
        const QByteArray file =
            QByteArray::fromStdString(readBytes(layoutFilePath().toStdString()));
        QVERIFY(file.contains("\"KavrinScript\"") && file.contains("\"TalsenScript\""));

        header("TDBGrid1")->resizeSection(1, 200);
        header("TDBGrid2")->resizeSection(3, 30);
        trigger("mnuConfigGridLoad");
        QCOMPARE(header("TDBGrid1")->sectionSize(1), 45);
        QCOMPARE(header("TDBGrid2")->sectionSize(3), 30);
        showTab(MainWindow::KavrinIndex);
        trigger("mnuConfigGridLoad");
        QCOMPARE(header("TDBGrid2")->sectionSize(3), 123);
        QVERIFY(prompter->messages.empty());
    }

    void failedLoadsReportAndLeaveTheGridAsItWas() {
        QHeaderView* grid = header("TDBGrid1");
        grid->resizeSection(2, 77);
        trigger("mnuConfigGridLoad");
        QCOMPARE(prompter->messages.size(), std::size_t(1));
        QCOMPARE(prompter->messages.back().title, QStringLiteral("Fulgor"));
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
        QCOMPARE(grid->sectionSize(1), 110);
        QCOMPARE(grid->sectionSize(2), 77);
        QCOMPARE(grid->visualIndex(1), 1);
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
        QCOMPARE(grid->logicalIndex(0), 12);
        QCOMPARE(grid->logicalIndex(1), 3);
        QVERIFY(grid->isSectionHidden(6));

        prompter->previewPdf = path("preview.pdf");
        trigger("mnuFilePreview");
        QStringList pages = previewPages();
        QCOMPARE(pages.size(), 1);
        QStringList lines = pages[0].split(QLatin1Char('\n'));
        QCOMPARE(lines[0],
                 QStringLiteral("Kavrin Script Table - %1Grand Finale").arg(path("show.kvn")));
        QCOMPARE(lines[1].simplified(),
                 QStringLiteral("Notes Time Line Shot Pos Mod Pin TS Ref Err Size Qty Type"));
        QCOMPARE(lines[2].simplified(),
                 QStringLiteral("Red comet 12.50 1 1 3 01 01 1 50mm 2 Comet"));
        QVERIFY(pages[0].contains(QStringLiteral("Page: 1")));

        trigger("mnuConfigGridSave");
        QVERIFY(QByteArray::fromStdString(readBytes(layoutFilePath().toStdString()))
                    .contains("\"column\": \"hh:mm:ss.t\",\n                \"hidden\": true,\n"
                              "                \"width\": 99"));
    }

    // The SD grid keeps its layout beside the script grids' in one file, its
    // filter bar follows the layout, and the preview prints the view as shown:
    // its layout, its filter and its sort.
    void sdGridLayoutAndItsPrintedView() {
        header("TDBGrid1")->resizeSection(1, 45);
        trigger("mnuConfigGridSave");
        showTab(MainWindow::KavrinIndex);
        header("TDBGrid2")->resizeSection(3, 123);
        trigger("mnuConfigGridSave");

        showTab(MainWindow::SdIndex);
        const QString noShow = QStringLiteral("No show is open: the grid has no columns yet.");
        for (const char* command : {"mnuConfigGridSave", "mnuConfigGridLoad", "mnuFilePreview"}) {
            trigger(command);
            QCOMPARE(prompter->lastMessage(), noShow);
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
        const int effect = static_cast<int>(captions.indexOf(QStringLiteral("Effect Description")));

        // Effect Description, CUE and Haddr, every other column hidden.
        QJsonArray columns{QJsonObject{{"column", "Effect Description"}, {"width", 150}},
                           QJsonObject{{"column", "CUE"}, {"width", 40}},
                           QJsonObject{{"column", "Haddr"}, {"width", 50}}};
        for (const QString& caption : captions) {
            if (caption != "Effect Description" && caption != "CUE" && caption != "Haddr")
                columns.append(QJsonObject{{"column", caption}, {"width", 60}, {"hidden", true}});
        }
        QJsonObject file = QJsonDocument::fromJson(
                               QByteArray::fromStdString(readBytes(layoutFilePath().toStdString())))
                               .object();
        QJsonObject layouts = file["layouts"].toObject();
        layouts["DirectorScript"] = columns;
        file["layouts"] = layouts;
        writeBytes(layoutFilePath().toStdString(), QJsonDocument(file).toJson().toStdString());
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
        QCOMPARE(sd->logicalIndex(0), effect);
        QCOMPARE(sd->sectionSize(effect), 150);
        QVERIFY(sd->isSectionHidden(1));
        QVERIFY(followed());

        auto* filters =
            static_cast<QStandardItemModel*>(find<QTableView>("TDBGrid3FilterBar")->model());
        filters->setItem(0, effect, new QStandardItem(QStringLiteral("Com")));
        find<QLineEdit>("txtSortOrderField")->setText(QStringLiteral("[CUE] DESC"));
        find<QPushButton>("cmdSortSD")->click();
        QCOMPARE(find<QLabel>("lblNumOfLines")->text(), QStringLiteral("2"));
        QCOMPARE(sd->logicalIndex(0), effect);  // the view changed, the layout stayed
        QVERIFY(followed());

        prompter->previewPdf = path("preview.pdf");
        trigger("mnuFilePreview");
        QStringList pages = previewPages();
        QCOMPARE(pages.size(), 1);
        QStringList lines = pages[0].split(QLatin1Char('\n'));
        QCOMPARE(lines[0], QStringLiteral("SD Show Script Table - %1").arg(path("show.scx")));
        QCOMPARE(lines[1].simplified(), QStringLiteral("Effect Description CUE Haddr"));
        QCOMPARE(lines[2].simplified(), QStringLiteral("comet blue 2"));
        QCOMPARE(lines[3].simplified(), QStringLiteral("Comet Red 1 A3"));
        QVERIFY(pages[0].contains(QStringLiteral("Page: 1")));

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
        trigger("mnuConfigGridLoad");
        QCOMPARE(header("TDBGrid1")->sectionSize(1), 45);
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
