// The window against files that cannot be read and saves that fail: a message
// naming the file and the cause, and the script that was open stays open,
// unchanged and, after a failed save, still marked unsaved.

#include <QLabel>
#include <QtTest>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <set>

#include "support/window_test_base.h"

#include "files/file_io.h"
#include "platform/script_grid_view.h"
#include "support/sd_show_file.h"

using namespace fulgor;
using namespace Qt::StringLiterals;
using test::namesIn;
using test::readBytes;
using test::writeBytes;

namespace {

const char* const kTalsenShow =
    "finale.wav,1.50,SMPTE30\r\n"
    "1,Comet,50mm,12.50,,2,3,01,01,4.50,Red comet\r\n"
    "2,Shell,100mm,15.00,2.80,1,1,,,12.00,Gold willow\r\n";

const char* const kKavrinShow =
    "Grand Finale\r\n"
    "1,1,3,12.5,01,01,0:00:12.50,1,,50mm,2,Comet,Red comet\r\n";

std::string randomBytes(std::size_t count) {
    std::mt19937 random(14);
    std::string bytes(count, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
    return bytes;
}

}  // namespace

class BadInputWindowTest : public test::WindowTestBase {
    Q_OBJECT

private:
    struct ScriptTabCase {
        int tab;
        const char* file;
        const char* bytes;
        int rows;
        int columns;
    };
    const ScriptTabCase kScriptTabs[2] = {
        {MainWindow::TalsenIndex, "show.csv", kTalsenShow, 2, 11},
        {MainWindow::KavrinIndex, "show.kvn", kKavrinShow, 1, 13}};

    const Table& tableOf(int tab) const {
        return tab == MainWindow::TalsenIndex ? window->state().talsen : window->state().kavrin;
    }
    QString pathOf(int tab) const {
        return tab == MainWindow::TalsenIndex ? window->state().talsenPath
                                              : window->state().kavrinPath;
    }
    void open(int tab, const QString& file) {
        showTab(tab);
        prompter->fileAnswers.push_back(file);
        trigger("mnuFileOpen");
    }

private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    // Files that cannot be a script are refused; files in the loosest form a
    // script can take (any bytes, overlong lines, NUL bytes) load as rows.
    void unreadableFilesLeaveThePreviousScriptOpen() {
        std::filesystem::create_directory(dir->path("folder.csv"));
        writeBytes(dir->path("empty"), "");
        for (const ScriptTabCase& c : kScriptTabs) {
            writeBytes(dir->path(c.file), c.bytes);
            open(c.tab, path(c.file));
            QCOMPARE(tableOf(c.tab).rowCount(), c.rows);
            const QString title = window->windowTitle();

            struct Refused {
                const char* file;
                QString message;
            };
            const QString kind = c.tab == MainWindow::TalsenIndex ? QStringLiteral("Talsen")
                                                                  : QStringLiteral("Kavrin");
            const Refused refused[] = {
                {"folder.csv",
                 QStringLiteral("Cannot read \"%1\": Is a directory").arg(path("folder.csv"))},
                {"empty", QStringLiteral("Cannot read \"%1\": the file is empty, not a %2 script")
                              .arg(path("empty"), kind)},
                {"missing", QStringLiteral("Cannot open \"%1\": No such file or directory")
                                .arg(path("missing"))},
            };
            for (const Refused& r : refused) {
                prompter->messages.clear();
                open(c.tab, path(r.file));
                QCOMPARE(prompter->messages.size(), size_t(1));
                QCOMPARE(prompter->lastMessage(), r.message);
                QVERIFY(prompter->messages[0].title == "Fulgor" &&
                        prompter->messages[0].icon == Prompter::Icon::None);
                QCOMPARE(tableOf(c.tab).rowCount(), c.rows);
                QCOMPARE(window->windowTitle(), title);
                QCOMPARE(pathOf(c.tab), path(c.file));
            }

            std::string wide = "head\r\n" + std::string(100000, ',') + "last\r\n";
            std::string nuls = std::string("\0\0\r\n1,\0x\0\r\n", 11);
            struct Loaded {
                std::string bytes;
                int rows;
            };
            for (const Loaded& l :
                 {Loaded{randomBytes(20000), -1}, Loaded{wide, 1}, Loaded{nuls, 1}}) {
                prompter->messages.clear();
                writeBytes(dir->path("odd"), l.bytes);
                open(c.tab, path("odd"));
                QVERIFY(prompter->messages.empty());
                QCOMPARE(tableOf(c.tab).columnCount(), c.columns);
                if (l.rows >= 0) QCOMPARE(tableOf(c.tab).rowCount(), l.rows);
            }
            QCOMPARE(cellText(tableOf(c.tab).cell(0, 1)), std::string("\0x\0", 3));
        }
    }

    void unreadableShowDatabasesLeaveThePreviousShowOpen() {
        QString show = path("show.scx");
        test::writeSdShow(dir->path("show.scx"), {{.cue = 1, .effect = "Comet"}, {.cue = 2}});
        open(MainWindow::SdIndex, show);
        auto* lines = find<QLabel>("lblNumOfLines");
        QCOMPARE(lines->text(), QStringLiteral("2"));

        std::filesystem::create_directory(dir->path("folder.scx"));
        writeBytes(dir->path("random.scx"), randomBytes(20000));
        writeBytes(dir->path("empty.scx"), "");
        writeBytes(dir->path("nul.scx"), std::string(4096, '\0'));
        for (const char* file : {"folder.scx", "random.scx", "empty.scx", "nul.scx"}) {
            prompter->messages.clear();
            open(MainWindow::SdIndex, path(file));
            QCOMPARE(prompter->messages.size(), size_t(1));
            QVERIFY2(prompter->lastMessage().startsWith(
                         QStringLiteral("Cannot open \"%1\": ").arg(path(file))),
                     qPrintable(prompter->lastMessage()));
            QCOMPARE(find<QLabel>("lblSDscriptFile")->text(), show);
            QCOMPARE(lines->text(), QStringLiteral("2"));
        }
    }

    // Saves that fail part way, at the rename, or on a folder: the file on disk
    // is the old one byte for byte, no temporary file is left, the message
    // names the file and the cause, and the edited script stays unsaved.
    void failedSavesKeepTheOldFileAndTheScriptUnsaved() {
        for (const ScriptTabCase& c : kScriptTabs) {
            writeBytes(dir->path(c.file), c.bytes);
            open(c.tab, path(c.file));
            auto* grid =
                find<ScriptGridView>(c.tab == MainWindow::TalsenIndex ? "TDBGrid1" : "TDBGrid2");
            QVERIFY(grid->model()->setData(grid->model()->index(0, 1), u"Edited"_s));
            const QString title = window->windowTitle();
            QVERIFY2(title.endsWith(QLatin1Char('*')), qPrintable(title));
            const std::set<std::string> names = namesIn(dir->root());

            struct Case {
                WriteFault fault;
                const char* reason;
            };
            for (const Case& f :
                 {Case{{.failAfterBytes = 10, .writeError = ENOSPC}, "No space left on device"},
                  Case{{.renameError = EACCES}, "Permission denied"}}) {
                prompter->messages.clear();
                prompter->fileAnswers.push_back(path(c.file));
                {
                    ScopedWriteFault fault(f.fault);
                    trigger("mnuFileSave");
                }
                QCOMPARE(prompter->lastMessage(),
                         QStringLiteral("Cannot save \"%1\": %2").arg(path(c.file), f.reason));
                QCOMPARE(readBytes(dir->path(c.file)), std::string(c.bytes));
                QCOMPARE(namesIn(dir->root()), names);
                QCOMPARE(window->windowTitle(), title);
                QCOMPARE(cellText(tableOf(c.tab).cell(0, 1)), std::string("Edited"));
            }
            // The folder carries the script's extension, so the dialog's default
            // extension leaves its name alone.
            const std::string folder = std::string("folder") + std::strchr(c.file, '.');
            std::filesystem::create_directory(dir->path(folder));
            prompter->fileAnswers.push_back(path(folder.c_str()));
            trigger("mnuFileSave");
            QCOMPARE(
                prompter->lastMessage(),
                QStringLiteral("Cannot save \"%1\": Is a directory").arg(path(folder.c_str())));
            QCOMPARE(window->windowTitle(), title);
            std::filesystem::remove(dir->path(folder));

            // With the fault gone the same save works and the mark goes.
            prompter->fileAnswers.push_back(path(c.file));
            trigger("mnuFileSave");
            QVERIFY(!window->windowTitle().endsWith(QLatin1Char('*')));
            QVERIFY(readBytes(dir->path(c.file)).find("Edited") != std::string::npos);
        }
    }
};

QTEST_MAIN(BadInputWindowTest)
#include "bad_input_window_test.moc"
