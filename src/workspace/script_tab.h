#pragma once
// What the Talsen and Kavrin tabs share: a script grid over their table, the
// file commands, and sorting by a header click.

#include <QString>
#include <memory>
#include <span>
#include <string>

#include "core/result.h"
#include "editing/cell_rules.h"
#include "workspace/workspace_tab.h"

namespace fulgor {

class GridCommands;
class Prompter;
class ScriptGridView;
class ScriptTableModel;
struct GridColumn;
struct WorkspaceState;

class ScriptTab : public WorkspaceTab {
    Q_OBJECT
public:
    struct Setup {
        ScriptGrid grid;
        const char* gridName;
        std::span<const GridColumn> columns;
        QString openTitle;
        QString openFilter;
    };

    bool serves(MenuCommand command) const override;
    void run(MenuCommand command) override;

    // Reads a script file into the tab; a file that cannot be read is
    // reported and changes nothing.
    void readFile(const QString& path);

    ScriptGridView* grid() const { return m_grid; }
    ScriptTableModel* model() const { return m_model; }

protected:
    ScriptTab(WorkspaceState& state, Prompter& prompter, const Setup& setup, QWidget* parent);
    ~ScriptTab() override;

    virtual void fileNew() = 0;
    virtual void saveScript() = 0;
    // Reads the file at `path` and shows it; fails, changing nothing, when it cannot be read.
    virtual Status load(const QString& path) = 0;
    // The header printed on every page of the table.
    virtual QString pageHeader() const = 0;
    // Shows a failed command's message, titled with the application's name.
    void report(const Status& status);
    // Re-reads the table and makes row 0 current.
    void showFirstRow();

    WorkspaceState& m_state;
    Prompter& m_prompter;
    ScriptTableModel* m_model;
    ScriptGridView* m_grid;

private:
    void fileOpen();
    void sortByHeader(int column);

    ScriptGrid m_kind;
    QString m_openTitle;
    QString m_openFilter;
    std::unique_ptr<GridCommands> m_gridCommands;
};

}  // namespace fulgor
