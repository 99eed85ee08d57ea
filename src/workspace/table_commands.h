#pragma once
// The undoable steps of a script table. Each keeps only what it needs to go
// back and forth: the cells it changed, the rows it inserted or deleted, or,
// for a command that may change any cell, the whole table once. Undo and redo
// exchange what is kept with what the table holds, so neither copies again.

#include <QUndoCommand>
#include <functional>
#include <optional>
#include <vector>

#include "addressing/renumber_lines.h"
#include "core/kept_columns.h"
#include "core/table.h"
#include "editing/cell_patch.h"
#include "editing/header_sort.h"

namespace fulgor {

class ScriptGridView;

// Writes a patch of cells (a typed cell, an offset).
class PatchCommand : public QUndoCommand {
public:
    PatchCommand(const QString& text, ScriptGridView& grid, CellPatch patch);
    void redo() override;
    void undo() override;

private:
    ScriptGridView& m_grid;
    CellPatch m_patch;
};

// Inserts rows (Insert Line, Add Line, Paste Lines) or deletes them (Delete
// Lines); `rows` are ascending indices in the table that holds them.
class RowsCommand : public QUndoCommand {
public:
    enum class Kind { Insert, Delete };
    struct Rows {
        std::vector<int> at;
        Table contents;
    };
    // `currentAfter` is the row made current once the rows are in (Insert) or out (Delete).
    RowsCommand(const QString& text, ScriptGridView& grid, Kind kind, Rows rows, int currentAfter);
    void redo() override;
    void undo() override;

private:
    void insert();
    void remove();

    ScriptGridView& m_grid;
    Kind m_kind;
    Rows m_rows;
    int m_currentAfter;
    int m_currentBefore;
};

// What a command changed beside its table (a count, a label, highlighting):
// called with false it shows that as it was before the command, with true as
// after it.
using ShowBesideTable = std::function<void(bool after)>;

// A header sort that has already run, kept as the rows' order rather than as
// the table before it; `showSorted` shows the header's sort indicator as it
// was before the sort or after it.
class SortCommand : public QUndoCommand {
public:
    SortCommand(const QString& text, ScriptGridView& grid, HeaderSort sort,
                ShowBesideTable showSorted);
    void redo() override;
    void undo() override;

private:
    void show(bool sorted);

    ScriptGridView& m_grid;
    HeaderSort m_sort;
    ShowBesideTable m_showSorted;
    bool m_done = true;
};

// What a command that sorted the table and then rewrote some of its columns
// keeps to undo it by: the sort's order, those columns' cells from before the
// rewrite (in the sorted order), and, where the command numbered Line 1..n,
// the form of 1..n that Line held before; while undone, `otherColumns` holds
// the columns as they were after.
struct Reorder {
    std::vector<int> order;
    KeptColumns otherColumns;
    std::optional<KeptLines> linesBefore;
};

// Puts a sorted and rewritten table back as it was before, and sorts and
// rewrites it again, exchanging the columns' cells with `otherColumns`.
void undoReorder(Table& table, Reorder& reorder);
void redoReorder(Table& table, Reorder& reorder);

// Such a command, with what it changed beside the table when `showBeside` is given.
class ReorderCommand : public QUndoCommand {
public:
    ReorderCommand(const QString& text, ScriptGridView& grid, Reorder reorder,
                   ShowBesideTable showBeside = {});
    void redo() override;
    void undo() override;

private:
    void show();

    ScriptGridView& m_grid;
    Reorder m_reorder;
    ShowBesideTable m_showBeside;
    bool m_done = true;
};

// A command that has already changed the table, with the table as it was before.
class WholeTableCommand : public QUndoCommand {
public:
    WholeTableCommand(const QString& text, ScriptGridView& grid, Table before);
    void redo() override;
    void undo() override;

private:
    void exchange();

    ScriptGridView& m_grid;
    Table m_other;  // the table's other state: before while done, after while undone
    bool m_done = true;
};

}  // namespace fulgor
