#pragma once
// What the Talsen and Kavrin tabs share: a script grid over their table, the
// file commands, the line editing and offset commands, sorting by a header
// click, and the undo history of the table.

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/progress.h"
#include "core/result.h"
#include "core/table.h"
#include "editing/cell_rules.h"
#include "editing/offsets.h"
#include "workspace/workspace_tab.h"

class QUndoCommand;
class QUndoStack;

namespace fulgor {

class GridCommands;
class LongCommand;
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

    ~ScriptTab() override;

    bool serves(MenuCommand command) const override;
    void run(MenuCommand command) override;

    // Reads a script file into the tab; a file that cannot be read is
    // reported and changes nothing, as does a read the user cancels. A file
    // read starts a new undo history.
    void readFile(const QString& path);

    ScriptGridView* grid() const { return m_grid; }
    ScriptTableModel* model() const { return m_model; }
    QUndoStack* undoStack() const { return m_undo; }

    // Runs `change` on the tab's table as one undoable step, kept as the whole
    // table before it; a change that leaves the table as it was is no step.
    void changeWholeTable(const QString& text, const std::function<void()>& change);
    // What a command that sorts the rows leaves: the sort's order, and, for a
    // command that also changes what the tab shows beside the table (a count,
    // a label), `showBeside(after)` to show that as before or after the
    // command. The change is a step when the table or (`besideChanged`) what
    // is shown beside it differs.
    struct Reordered {
        std::vector<int> order;
        std::function<void(bool after)> showBeside = {};
        bool besideChanged = false;
    };
    // For a command under `command`'s progress dialog that sorts the rows and
    // then rewrites `columns`, and with Lines::Renumbered numbers Line 1..n
    // too: `change` runs it, calling the function it is given between the sort
    // and the first rewritten cell. The step keeps the sort's order, the
    // columns' cells from before the rewrite and Line (as KeptLines when it
    // held 1..n, else with the columns), not a copy of the table; a cancel
    // puts the table back and makes no step.
    enum class Lines { Untouched, Renumbered };
    using SortedChange = std::function<Reordered(const std::function<void()>& sorted)>;
    void reorderTable(const QString& text, std::vector<int> columns, Lines lines,
                      const SortedChange& change, const LongCommand& command);
    // The same for a table made beside the tab's (so that a cancelled command
    // never touched it): `after` takes the table's place as one undoable step.
    void replaceWholeTable(const QString& text, Table after);

    // The value of the tab's time-offset box.
    virtual double timeOffset() const = 0;

    // The script's file name as last opened or saved; empty for a new script.
    const QString& fileName() const { return m_fileName; }
    // Whether the script differs from its file: its table, or a header field typed since.
    bool isModified() const;
    // Asks whether to save unsaved changes first; false when the user cancels
    // (or the save fails), so that what was asked for must not go on.
    bool maybeSave();

signals:
    // The file name or the modified state changed.
    void documentChanged();

protected:
    ScriptTab(WorkspaceState& state, Prompter& prompter, const Setup& setup, QWidget* parent);

    virtual void fileNew() = 0;
    // Saves through the save dialog; the name saved under, or empty when
    // cancelled or failed (a failure is reported).
    virtual QString saveScript() = 0;
    // Reads the file at `path` and shows it; fails, changing nothing, when it
    // cannot be read or `progress` answers false.
    virtual Status load(const QString& path, const Progress& progress) = 0;
    // The rows of a file's first lines, as load() would read them (see
    // readLeadingLines): what the grid shows while the rest is read.
    virtual Table leadingRows(std::string_view lines) const = 0;
    virtual bool miravelTiming() const { return false; }
    // The header printed on every page of the table.
    virtual QString pageHeader() const = 0;
    // Shows a failed command's message, titled with the application's name.
    void report(const Status& status);
    // Re-reads the table and makes row 0 current.
    void showFirstRow();
    // A header field (one saved in the file with the table) was typed into.
    void markHeaderEdited();

    WorkspaceState& m_state;
    Prompter& m_prompter;
    ScriptTableModel* m_model;
    ScriptGridView* m_grid;

private:
    void fileOpen();
    // What the grid showed before a large file's first screen took its place.
    struct ShownBefore {
        Table table;
        int currentRow = -1;  // -1 when no cell was current
        int currentColumn = -1;
        int verticalScroll = 0;
        int horizontalScroll = 0;
    };
    // Shows the first screen of the file at `path` now, when the file is
    // large enough for the whole read to keep the user waiting; gives what
    // it replaced, to be put back by showAgain() when the read fails or is
    // cancelled.
    std::optional<ShownBefore> showFirstScreen(const QString& path);
    void showAgain(ShownBefore before);
    void save();
    // The table now matches the file `name`: a new history starts when `opened`.
    void matchFile(const QString& name, bool opened);
    void sortByHeader(int column);
    void showSortIndicator();
    void push(QUndoCommand* command);
    // Makes the step of a whole-table change, given the table as it was.
    void recordWholeTableChange(const QString& text, Table before, int current);

    void copyGridSelection();
    void deleteLines();
    void insertLine();
    void addLine();
    void pasteLines();
    void insertRows(const QString& text, int first, Table rows, int currentAfter);
    void offsetTimeAll();
    void offsetTimeSelection();
    void addConstantToPosition();
    // Applies an offset's cells as one step and names the rows it had to leave.
    void applyOffset(const QString& text, std::string_view column, OffsetEdit edit);

    ScriptGrid m_kind;
    int m_sortedColumn = -1;  // the column of the last header sort; -1 when none since loading
    QString m_openTitle;
    QString m_openFilter;
    QUndoStack* m_undo;
    QString m_fileName;
    bool m_headerEdited = false;
    std::unique_ptr<GridCommands> m_gridCommands;
};

}  // namespace fulgor
