#pragma once
// frmFulgorMain, the program's only window: four tabs over the script tables
// and the serial line, and the menus whose commands act on the tab showing.

#include <QMainWindow>
#include <array>
#include <utility>

#include "workspace/menu_command.h"
#include "workspace/workspace_state.h"

class QAction;
class QMenu;
class QTabWidget;
class QUndoGroup;

namespace fulgor {

class CommunicationsTab;
class RecentFiles;
class KavrinTab;
class Prompter;
class ScriptTab;
class SdTab;
class TalsenTab;
class TimelinePanel;
class WorkspaceTab;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    enum Tab { TalsenIndex, KavrinIndex, SdIndex, CommunicationsIndex };

    explicit MainWindow(Prompter& prompter, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Reads a script file into the tab showing (Talsen, Kavrin or SD).
    void readFile(const QString& path);
    // Opens each file into the tab its extension names: .csv Talsen, .kvn Kavrin, .scx SD.
    void openFiles(const QStringList& paths);

    const WorkspaceState& state() const { return m_state; }
    TimelinePanel* timeline() const { return m_timeline; }

protected:
    // Closing the window (File Exit too) asks first about unsaved scripts.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void addUndoActions(QMenu* edit);
    ScriptTab* currentScriptTab() const;
    void tabChanged();
    // "Corvane Fulgor", with the showing script's file name and a "*" while it
    // differs from its file.
    void updateTitle();
    // Add Offset Time to All on a tab without a script table asks for the
    // number all the same, and changes nothing.
    void askOffsetOnly();
    QAction* addCommand(QMenu* menu, const char* name, const QString& caption, MenuCommand command,
                        const QKeySequence& shortcut = {});
    WorkspaceTab* currentTab() const;
    void updateCommandsEnabled();
    void mirrorShowName();
    void addTimelineDock();
    // File > Open Recent: reads `path` into the tab showing, asking first
    // about unsaved changes; a file that is gone leaves the list.
    void openRecent(const QString& path);
    // The name of the recent-files list of the tab at `index`; empty for a tab without files.
    static QString recentKey(int index);

    WorkspaceState m_state;
    Prompter& m_prompter;
    QTabWidget* m_tabs;
    TalsenTab* m_talsenTab;
    KavrinTab* m_kavrinTab;
    SdTab* m_sdTab;
    CommunicationsTab* m_communicationsTab;
    QUndoGroup* m_undoGroup;
    TimelinePanel* m_timeline = nullptr;
    RecentFiles* m_recentFiles = nullptr;
    std::vector<std::pair<QAction*, MenuCommand>> m_commands;
};

}  // namespace fulgor
