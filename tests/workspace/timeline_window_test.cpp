// The Timeline dock of the real window: it follows the script tab, a click on
// a mark selects its line in the grid, a selection in the grid rings its
// marks, and the usage table follows edits.

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QTableWidget>
#include <QToolTip>
#include <QtTest>
#include <cmath>

#include "platform/script_grid_view.h"
#include "platform/script_table_model.h"
#include "show_view/timeline_geometry.h"
#include "support/window_test_base.h"
#include "workspace/timeline_canvas.h"
#include "workspace/timeline_panel.h"

using namespace fulgor;

class TimelineWindowTest : public test::WindowTestBase {
    Q_OBJECT

private:
    void openKavrinExample() {
        showTab(MainWindow::KavrinIndex);
        prompter->fileAnswers.push_back(
            QStringLiteral(FULGOR_EXAMPLES_DIR "/midsummer_finale.kvn"));
        trigger("mnuFileOpen");
        QCoreApplication::processEvents();
    }
    QStringList usageRow(int row) {
        auto* table = find<QTableWidget>("tblAddressUsage");
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column)
            cells << table->item(row, column)->text();
        return cells;
    }

private slots:
    void init() {
        openWindow();
        window->resize(1400, 1000);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(!find<QDockWidget>("dockTimeline")->isVisible());
        trigger("mnuViewTimeline");
        QVERIFY(find<QDockWidget>("dockTimeline")->isVisible());
    }

    void cleanup() { closeWindow(); }

    void clickOnAMarkSelectsItsLineAndTheGridRingsItsMarks() {
        openKavrinExample();
        TimelineCanvas* canvas = window->timeline()->canvas();
        const TimelineMarks& marks = window->timeline()->marks();
        QCOMPARE(marks.marks.size(), std::size_t(236));
        QVERIFY(canvas->height() > 100);

        // A mark with no other mark within reach on its row, so that the click can only mean it.
        TimelineView view = canvas->currentView();
        auto alone = [&](const TimelineMark& mark) {
            for (const TimelineMark& other : marks.marks) {
                if (&other == &mark || other.positionRow != mark.positionRow) continue;
                if (std::abs(timeToX(view, other.time) - timeToX(view, mark.time)) < 14)
                    return false;
            }
            return true;
        };
        auto chosen = std::find_if(marks.marks.begin() + 40, marks.marks.end(), alone);
        QVERIFY(chosen != marks.marks.end());
        const int row = chosen->row;
        const QPoint at(static_cast<int>(std::lround(timeToX(view, chosen->time))) + 3,
                        static_cast<int>(std::lround(rowToY(view, chosen->positionRow))));
        QTest::mouseClick(canvas, Qt::LeftButton, {}, at);

        auto* grid = find<ScriptGridView>("TDBGrid2");
        QCOMPARE(grid->currentRow(), row);
        QCOMPARE(grid->selectedRowsInOrder(), std::vector<int>{row});
        QCOMPARE(canvas->highlightedRows(), std::vector<int>{row});

        // Resting on the mark names the cue.
        QHelpEvent help(QEvent::ToolTip, at, canvas->mapToGlobal(at));
        QApplication::sendEvent(canvas, &help);
        QCOMPARE(QToolTip::text(),
                 QStringLiteral("Line %1: %2, Pos %3, Mod %4 Pin %5")
                     .arg(kavrinCell(row, kavrin::Line), kavrinCell(row, kavrin::Time),
                          kavrinCell(row, kavrin::Pos), kavrinCell(row, kavrin::Mod),
                          kavrinCell(row, kavrin::Pin)));

        // A drag is a pan, not a click: the selection stays.
        const TimelineView before = canvas->currentView();
        QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(300, 40));
        QMouseEvent move(QEvent::MouseMove, QPointF(400, 40), canvas->mapToGlobal(QPointF(400, 40)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(canvas, &move);
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(400, 40));
        QCOMPARE(canvas->currentView().start, xToTime(before, before.plot.left - 100));
        QCOMPARE(grid->selectedRowsInOrder(), std::vector<int>{row});

        grid->selectRow(3);
        QCOMPARE(canvas->highlightedRows(), std::vector<int>{3});
    }

    void theDockFollowsTheScriptTabAndItsEdits() {
        auto* summary = find<QLabel>("lblTimelineSummary");
        QCOMPARE(summary->text(),
                 QStringLiteral("Talsen script: 0 cues on 0 positions, 0 modules"));
        openKavrinExample();
        QVERIFY2(summary->text().startsWith(QStringLiteral("Kavrin script: 236 cues on ")),
                 qPrintable(summary->text()));
        QCOMPARE(usageRow(0), (QStringList{"01", "20", "0:00:11.20", "0:05:09.70", "01-20", ""}));

        // Giving line 6 the address of line 5 is a double use the table names at once.
        ScriptTableModel* model = find<ScriptGridView>("TDBGrid2")->scriptModel();
        QVERIFY(model->setData(model->index(5, kavrin::Pin), QStringLiteral("01")));
        QCoreApplication::processEvents();
        QCOMPARE(usageRow(0)[5], QStringLiteral("pin 01: lines 5, 6"));
        QVERIFY(summary->text().endsWith(QStringLiteral("1 address used twice</b>")));

        // The SD tab keeps the Kavrin timeline; the Talsen tab brings its own.
        showTab(MainWindow::SdIndex);
        QVERIFY(summary->text().startsWith(QStringLiteral("Kavrin script:")));
        showTab(MainWindow::TalsenIndex);
        QCoreApplication::processEvents();
        QCOMPARE(summary->text(),
                 QStringLiteral("Talsen script: 0 cues on 0 positions, 0 modules"));

        // Hidden, the dock stays behind; shown again, it catches up.
        trigger("mnuViewTimeline");
        QVERIFY(!find<QDockWidget>("dockTimeline")->isVisible());
        showTab(MainWindow::KavrinIndex);
        QCoreApplication::processEvents();
        QVERIFY(summary->text().startsWith(QStringLiteral("Talsen script:")));
        trigger("mnuViewTimeline");
        QCoreApplication::processEvents();
        QVERIFY(summary->text().startsWith(QStringLiteral("Kavrin script: 236 cues")));
    }
};

QTEST_MAIN(TimelineWindowTest)
#include "timeline_window_test.moc"
