// File > Open Recent and what the window remembers between runs, on the real
// window with its settings in the test's own program folder.

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSplitter>
#include <QtTest>

#include "platform/script_grid_view.h"
#include "support/window_test_base.h"

using namespace fulgor;
using namespace Qt::StringLiterals;
using test::writeBytes;

class RecentFilesTest : public test::WindowTestBase {
    Q_OBJECT

private:
    static QString settingsFile() {
        return QDir(qEnvironmentVariable("FULGOR_HOME")).filePath(QStringLiteral("Fulgor.ini"));
    }
    QMenu* recentMenu() { return find<QMenu>("mnuFileRecent"); }
    QStringList recentEntries() {
        QStringList paths;
        for (QAction* action : recentMenu()->actions()) paths << action->data().toString();
        return paths;
    }
    // A Talsen script whose first cue's Type is `type`.
    QString talsen(const char* name, const char* type = "a") {
        writeBytes(dir->path(name), std::string("w,0,t\r\n1,") + type + ",,,,,,,,,\r\n");
        return path(name);
    }
    QString kavrin(const char* name) {
        writeBytes(dir->path(name), "Show\r\n1,1,,1.5,,,,,,,,,\r\n");
        return path(name);
    }

private slots:
    void init() {
        QFile::remove(settingsFile());
        openWindow();
    }
    void cleanup() { closeWindow(); }

    void keepsTheLastEightMostRecentFirst() {
        QStringList opened;
        for (int i = 0; i < 9; ++i) {
            opened.prepend(talsen(qPrintable(u"show%1.csv"_s.arg(i))));
            window->openFiles({opened.front()});
        }
        QCOMPARE(recentEntries(), opened.mid(0, 8));  // the first one opened has gone
        QCOMPARE(find<QAction>("mnuRecent0")->text() + '|' + find<QAction>("mnuRecent7")->text(),
                 "&1 " + opened[0] + "|&8 " + opened[7]);

        // Opening one again moves it to the top instead of listing it twice.
        window->openFiles({opened[5]});
        QStringList expected = opened.mid(0, 8);
        expected.move(5, 0);
        QCOMPARE(recentEntries(), expected);

        // A save records the name saved under.
        prompter->fileAnswers.push_back(path("saved.csv"));
        trigger("mnuFileSave");
        QCOMPARE(recentEntries().front(), path("saved.csv"));
        QCOMPARE(recentEntries().size(), 8);
    }

    void eachTabHasItsOwnList() {
        const QString script = talsen("show.csv");
        const QString show = kavrin("show.kvn");
        window->openFiles({script, show});
        QCOMPARE(recentEntries(), QStringList{show});  // the Kavrin tab shows now
        showTab(MainWindow::TalsenIndex);
        QCOMPARE(recentEntries(), QStringList{script});
        QVERIFY(recentMenu()->menuAction()->isEnabled());
        for (int tab : {MainWindow::SdIndex, MainWindow::CommunicationsIndex}) {
            showTab(tab);
            QVERIFY(recentEntries().isEmpty());
            QVERIFY(!recentMenu()->menuAction()->isEnabled());
        }
    }

    // Picking an entry asks about unsaved changes first; an entry whose file
    // is gone leaves the list.
    void pickingAnEntryOpensItOrDropsItWhenItsFileIsGone() {
        const QString first = talsen("first.csv", "first");
        const QString second = talsen("second.csv", "second");
        const QString gone = talsen("gone.csv");
        window->openFiles({gone, first, second});
        trigger("mnuEditAddLine");  // an unsaved change

        prompter->saveAnswers = {Prompter::SaveChoice::Cancel};
        trigger("mnuRecent1");
        QCOMPARE(talsenCell(0, 1), u"second"_s);
        QCOMPARE(recentEntries(), (QStringList{second, first, gone}));

        prompter->saveAnswers = {Prompter::SaveChoice::Discard};
        trigger("mnuRecent1");
        QCOMPARE(talsenCell(0, 1), u"first"_s);
        QCOMPARE(window->windowTitle(), u"Corvane Fulgor - first.csv"_s);
        QCOMPARE(recentEntries(), (QStringList{first, second, gone}));
        QCOMPARE(prompter->questions.size(), size_t(2));

        QVERIFY(QFile::remove(gone));
        trigger("mnuRecent2");
        QCOMPARE(prompter->messages.size(), size_t(1));
        QCOMPARE(
            prompter->lastMessage(),
            u"Cannot open \"%1\": it no longer exists, so it leaves the recent files"_s.arg(gone));
        QCOMPARE(recentEntries(), (QStringList{first, second}));
        QCOMPARE(talsenCell(0, 1), u"first"_s);
    }

    // The lists, the window's size, the splitter and the column widths come
    // back at the next start, kept in the program folder.
    void whatTheWindowRemembersOutlivesIt() {
        const QString script = talsen("show.csv");
        window->openFiles({script});
        window->show();
        window->resize(1250, 810);  // not the size a window starts with
        find<ScriptGridView>("TDBGrid1")->setColumnWidth(3, 151);
        find<ScriptGridView>("TDBGrid2")->setColumnWidth(0, 77);
        showTab(MainWindow::CommunicationsIndex);
        auto* panes = find<QSplitter>("splCommunications");
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        panes->setSizes({400, 800});
        const QList<int> sizes = panes->sizes();
        QCOMPARE(sizes.size(), 2);
        QVERIFY(window->close());
        window.reset();
        QVERIFY(QFile::exists(settingsFile()));

        window = std::make_unique<MainWindow>(*prompter);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCOMPARE(window->size(), QSize(1250, 810));
        QCOMPARE(find<ScriptGridView>("TDBGrid1")->columnWidth(3), 151);
        QCOMPARE(find<ScriptGridView>("TDBGrid2")->columnWidth(0), 77);
        QCOMPARE(recentEntries(), QStringList{script});  // the Talsen tab shows at the start
        showTab(MainWindow::CommunicationsIndex);
        QCoreApplication::processEvents();
        QCOMPARE(find<QSplitter>("splCommunications")->sizes(), sizes);
    }
};

QTEST_MAIN(RecentFilesTest)
#include "recent_files_test.moc"
