#pragma once
// What every test of the real window shares: the window with a scripted
// prompter and a fresh folder, and finding its controls by name.

#include <QAbstractItemView>
#include <QAction>
#include <QObject>
#include <QTabWidget>
#include <QtTest>
#include <initializer_list>
#include <memory>

#include "core/table.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"
#include "workspace/main_window.h"

namespace fulgor::test {

// A small Talsen script: two cues addressed, one not, out of time order.
inline const char* const kTalsenShow =
    "finale.wav,1.50,SMPTE30\r\n"
    "1,Comet,50mm,12.50,,2,3,01,01,4.50,Red comet\r\n"
    "2,Shell,100mm,15.00,2.80,1,1,,,12.00,Gold willow\r\n"
    "3,Mine,75mm,9.25,,1,2,02,01,6.00,\r\n";

class WindowTestBase : public QObject {
protected:
    std::unique_ptr<TempDir> dir;
    std::unique_ptr<ScriptedPrompter> prompter;
    std::unique_ptr<MainWindow> window;

    void openWindow() {
        dir = std::make_unique<TempDir>();
        prompter = std::make_unique<ScriptedPrompter>();
        window = std::make_unique<MainWindow>(*prompter);
    }

    // Every prompt was scripted and every busy pointer restored; then closes the window.
    void closeWindow() {
        QVERIFY2(prompter->unexpected.isEmpty(),
                 qPrintable(prompter->unexpected.join(QLatin1Char('\n'))));
        QCOMPARE(prompter->busyDepth, 0);
        window.reset();
        prompter.reset();
        dir.reset();
    }

    template <class T>
    T* find(const char* name) {
        T* widget = window->findChild<T*>(QString::fromLatin1(name));
        if (!widget) qFatal("no control named %s", name);
        return widget;
    }
    void trigger(const char* action) { find<QAction>(action)->trigger(); }
    void showTab(int index) { find<QTabWidget>("C1Tab1")->setCurrentIndex(index); }
    QString talsenCell(int row, int column) const {
        return cellOf(window->state().talsen, row, column);
    }
    QString kavrinCell(int row, int column) const {
        return cellOf(window->state().kavrin, row, column);
    }
    QString path(const char* name) const { return QString::fromStdString(dir->path(name)); }
    // Selects whole rows, as clicks on their row headers would.
    static void selectRows(QAbstractItemView* view, std::initializer_list<int> rows) {
        view->clearSelection();
        for (int row : rows) {
            view->selectionModel()->select(view->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }

private:
    static QString cellOf(const Table& table, int row, int column) {
        return QString::fromStdString(cellText(table.cell(row, column)));
    }
};

}  // namespace fulgor::test
