// A million-cue show in the real window, offscreen: how long the operator
// waits for each step, against its goal.
//   bench_window [ROWS]   (default 1,000,000)
// Generates a Talsen script and, with the command line's `import`, the Kavrin
// script of the same cues; times the command line's `renumber-lines` on the
// Talsen script (best of two), then opens each script in the window and times
// the first screen, Ctrl+End, Page Down, a jump to a row, a header sort and one
// cell edit, each until the grid has repainted; last, Format KV Script until
// the text window shows the panel text. Prints one line per measure with its
// goal and PASS or FAIL. Each script runs in a window process of its own, whose
// peak memory, Qt's own included, is held to three times the file. The Kavrin script's first screen
// is held to the same `renumber-lines` time: the command line has no Kavrin-only pass, and both
// files hold the same cues.

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <utility>
#include <vector>

#include "app/hand_over.h"
#include "bench_support.h"
#include "platform/prompter.h"
#include "platform/script_grid_view.h"
#include "platform/script_table_model.h"
#include "talsen_generator.h"
#include "workspace/main_window.h"

using namespace fulgor;
using namespace fulgor::bench;

namespace {

// Answers every question with No and counts the messages, so no modal box ever waits.
class SilentPrompter : public Prompter {
public:
    int messages = 0;
    void message(const QString&, const QString& text, Icon) override {
        ++messages;
        std::fprintf(stderr, "message: %s\n", qPrintable(text.left(200)));
    }
    bool askYesNo(const QString&, const QString&, Icon) override { return true; }
    QString input(const QString&, const QString&, const QString&) override { return {}; }
    SaveChoice askSaveChanges(const QString&, const QString&) override {
        return SaveChoice::Discard;
    }
    QString openFileName(const FileDialogRequest&) override { return {}; }
    QString saveFileName(const FileDialogRequest&) override { return {}; }
    void setBusy(bool) override {}
    bool progress(const QString&, double) override { return true; }
    void endProgress() override {}
    void pageSetup(QPrinter&) override {}
    void printPreview(QPrinter&, const std::function<void(QPrinter&)>&) override {}
};

void line(const char* measure, double value, const char* unit, double goal, const char* goalText) {
    std::printf("%-44s %9.3f %-3s goal %-28s %s\n", measure, value, unit, goalText,
                value <= goal ? "PASS" : "FAIL");
    std::fflush(stdout);
}

// Runs the command line; its time in seconds, or a negative number when it failed.
double runCli(const QString& program, const QStringList& arguments) {
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program),
                     process.readAllStandardError().constData());
        return -1;
    }
    return static_cast<double>(clock.nsecsElapsed()) / 1e9;
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// Until the widget has painted what changed, as the event loop paints it (the
// update request is posted by the first round of events, served by the
// second); a step that asked for no painting is made to paint all of it.
void paint(QWidget* widget) {
    PaintCounter counter;
    widget->installEventFilter(&counter);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    if (counter.paints == 0) widget->repaint();
    widget->removeEventFilter(&counter);
}

// Notes, at each paint of a grid, when it came and the texts of the grid's
// first row then.
class FirstRowPaints : public QObject {
public:
    FirstRowPaints(QWidget* viewport, const ScriptTableModel& model, const Stopwatch& clock)
        : m_viewport(viewport), m_model(model), m_clock(clock) {
        m_viewport->installEventFilter(this);
    }
    ~FirstRowPaints() override { m_viewport->removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) m_paints.push_back({m_clock.seconds(), firstRow()});
        return false;
    }
    QStringList firstRow() const {
        QStringList texts;
        for (int column = 0; m_model.rowCount() > 0 && column < m_model.columnCount(); ++column)
            texts << m_model.index(0, column).data().toString();
        return texts;
    }
    // When the grid first painted `texts` as its first row; nothing when it never did.
    std::optional<double> firstShown(const QStringList& texts) const {
        for (const auto& [seconds, shown] : m_paints)
            if (shown == texts) return seconds;
        return std::nullopt;
    }

private:
    QWidget* m_viewport;
    const ScriptTableModel& m_model;
    const Stopwatch& m_clock;
    std::vector<std::pair<double, QStringList>> m_paints;
};

double timed(const std::function<void()>& step) {
    Stopwatch clock;
    step();
    return clock.seconds();
}

struct ScriptRun {
    const char* name;
    MainWindow::Tab tab;
    const char* gridName;
    QString path;
    int sortColumn;
    int editColumn;
    // Buttons whose commands may change every row: object name, caption.
    std::vector<std::pair<const char*, const char*>> wholeTableCommands;
};

void benchScript(MainWindow& window, const ScriptRun& run, double renumberLines, int rows) {
    const double fileBytes = static_cast<double>(QFileInfo(run.path).size());
    window.findChild<QTabWidget*>(QStringLiteral("C1Tab1"))->setCurrentIndex(run.tab);
    auto* grid = window.findChild<ScriptGridView*>(QString::fromLatin1(run.gridName));
    QCoreApplication::processEvents();
    char label[80];
    const double emptyBytes = residentBytes();

    // The first screen is up when the grid has painted the file's first row,
    // which may be before every row is read.
    Stopwatch clock;
    double wholeScript = 0;
    std::optional<double> firstScreen;
    {
        FirstRowPaints paints(grid->viewport(), *grid->scriptModel(), clock);
        window.openFiles({run.path});
        paint(grid->viewport());
        wholeScript = clock.seconds();
        firstScreen = paints.firstShown(paints.firstRow());
    }
    std::snprintf(label, sizeof label, "%s: open to first screen", run.name);
    char goal[64];
    std::snprintf(goal, sizeof goal, "1.5 x %.3f s", renumberLines);
    line(label, firstScreen.value_or(wholeScript), "s", 1.5 * renumberLines, goal);
    std::printf("  (every row read and the grid painted: %.3f s)\n", wholeScript);
    const double openedBytes = residentBytes();
    const double openPeakBytes = peakResidentBytes();
    if (grid->scriptModel()->rowCount() != rows)
        std::fprintf(stderr, "%s: %d rows shown, %d expected\n", run.name,
                     grid->scriptModel()->rowCount(), rows);

    grid->setFocus();
    grid->setCurrentRow(0);
    paint(grid->viewport());
    std::snprintf(label, sizeof label, "%s: Ctrl+End", run.name);
    line(label, 1000 * timed([&] {
                    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
                    paint(grid->viewport());
                }),
         "ms", 50, "under 50 ms");
    grid->setCurrentRow(rows / 2);
    paint(grid->viewport());
    std::snprintf(label, sizeof label, "%s: Page Down", run.name);
    line(label, 1000 * timed([&] {
                    QTest::keyClick(grid, Qt::Key_PageDown);
                    paint(grid->viewport());
                }),
         "ms", 50, "under 50 ms");
    std::snprintf(label, sizeof label, "%s: jump to a row", run.name);
    line(label, 1000 * timed([&] {
                    grid->setCurrentRow(rows / 3 + 17);
                    paint(grid->viewport());
                }),
         "ms", 50, "under 50 ms");

    std::snprintf(label, sizeof label, "%s: header sort", run.name);
    line(label, timed([&] {
             emit grid->horizontalHeader()->sectionClicked(run.sortColumn);
             paint(grid->viewport());
         }),
         "s", 1.0, "under 1 s");

    const QModelIndex cell = grid->scriptModel()->index(rows / 4, run.editColumn);
    grid->setCurrentIndex(cell);
    paint(grid->viewport());
    std::snprintf(label, sizeof label, "%s: one cell edit", run.name);
    line(label, 1000 * timed([&] {
                    grid->scriptModel()->setData(cell, QStringLiteral("42"), Qt::EditRole);
                    paint(grid->viewport());
                }),
         "ms", 10, "under 10 ms");

    // The window's peak memory so far against the file, under `what`.
    auto memoryLine = [&](const char* what) {
        std::snprintf(label, sizeof label, "%s: %s", run.name, what);
        std::snprintf(goal, sizeof goal, "at most 3 (%.0f / %.0f MiB)", mib(peakResidentBytes()),
                      mib(fileBytes));
        line(label, peakResidentBytes() / fileBytes, "x", 3.0, goal);
    };
    memoryLine("window memory / file");
    std::printf(
        "  (window before opening: %.0f MiB; opening peaked at %.0f MiB and left %.0f MiB "
        "resident, %.1f x the file)\n",
        mib(emptyBytes), mib(openPeakBytes), mib(openedBytes), openedBytes / fileBytes);

    // A command that may change any row keeps what undo needs; the window's
    // memory goal holds for it too, and for every such step kept at once.
    for (const auto& [objectName, caption] : run.wholeTableCommands) {
        auto* button = window.findChild<QAbstractButton*>(QString::fromLatin1(objectName));
        std::snprintf(label, sizeof label, "%s: %s", run.name, caption);
        line(label, timed([&] {
                 button->click();
                 paint(grid->viewport());
             }),
             "s", 1.0, "under 1 s");
        char measure[64];
        std::snprintf(measure, sizeof measure, "memory / file with %s", caption);
        memoryLine(measure);
    }
}

}  // namespace

// One script in a fresh window process, so that its memory is the window's alone:
//   bench_window --part talsen|kavrin FILE RENUMBER_LINES_SECONDS ROWS
int benchPart(char* argv[]) {
    const std::string part = argv[2];
    const QString path = QString::fromLocal8Bit(argv[3]);
    const double renumberLines = std::atof(argv[4]);
    const int rows = std::atoi(argv[5]);
    SilentPrompter prompter;
    MainWindow window(prompter);
    window.resize(1400, 900);
    window.show();
    QCoreApplication::processEvents();
    // Talsen Pos sorts by position then time; Kavrin Time by time. Edits go to Qty.
    if (part == "talsen") {
        benchScript(window,
                    {"Talsen", MainWindow::TalsenIndex, "TDBGrid1", path, 6, 5,
                     {{"cmdRenumCues", "Renumber Cues"}}},
                    renumberLines, rows);
        return 0;
    }
    benchScript(window,
                {"Kavrin", MainWindow::KavrinIndex, "TDBGrid2", path, 3, 10,
                 {{"cmdGroupShots", "Group Shots"}, {"cmdCheckConflicts", "Check Conflicts"}}},
                renumberLines, rows);
    window.findChild<QTabWidget*>(QStringLiteral("C1Tab1"))
        ->setCurrentIndex(MainWindow::CommunicationsIndex);
    QCoreApplication::processEvents();
    auto* pen = window.findChild<QPlainTextEdit*>(QStringLiteral("txtHoldingPen"));
    auto* format = window.findChild<QAbstractButton*>(QStringLiteral("cmdFormatShow"));
    line("Format KV Script into the text window", timed([&] {
             format->click();
             paint(pen);
         }),
         "s", 1.0, "under 1 s");
    if (prompter.messages > 0) std::printf("(%d messages shown)\n", prompter.messages);
    return 0;
}

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 6 && std::string(argv[1]) == "--part") return benchPart(argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 1'000'000;
    const QString fulgor =
        QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../fulgor"));
    QTemporaryDir dir;
    const QString talsen = dir.filePath(QStringLiteral("show.csv"));
    const QString kavrin = dir.filePath(QStringLiteral("show.kvn"));
    {
        std::string text = generateTalsenScript(rows, 42);
        std::ofstream(talsen.toStdString(), std::ios::binary)
            .write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    if (runCli(fulgor, {QStringLiteral("import"), talsen, QStringLiteral("-o"), kavrin}) < 0)
        return 1;
    double renumberLines = 1e9;
    for (int run = 0; run < 2; ++run) {
        double seconds =
            runCli(fulgor, {QStringLiteral("renumber-lines"), talsen, QStringLiteral("-o"),
                            dir.filePath(QStringLiteral("renumbered.csv"))});
        if (seconds < 0) return 1;
        renumberLines = std::min(renumberLines, seconds);
    }
    std::printf("%d cues; fulgor renumber-lines %.3f s (best of 2)\n", rows, renumberLines);
    std::fflush(stdout);
    for (const auto& [part, path] : {std::pair{"talsen", talsen}, std::pair{"kavrin", kavrin}}) {
        // Each window process starts as `fulgor` starts the window.
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("GLIBC_TUNABLES"),
                           QString::fromStdString(
                               fulgor::cli::withHugePageTunable(std::getenv("GLIBC_TUNABLES"))));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--part"), QString::fromLatin1(part), path,
                     QString::number(renumberLines), QString::number(rows)});
        if (!child.waitForFinished(-1) || child.exitCode() != 0) return 1;
    }
    return 0;
}
