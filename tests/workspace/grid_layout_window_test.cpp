// Save Grid Layout, Load Grid Layout, Page Setup and Print Preview on the real
// window, with the layout file in the test's own program folder.

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QProcess>
#include <QtTest>

#include "support/window_test_base.h"

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
