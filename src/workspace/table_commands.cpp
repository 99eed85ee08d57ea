#include "workspace/table_commands.h"

#include <algorithm>

#include "platform/script_grid_view.h"
#include "platform/script_table_model.h"

namespace fulgor {
namespace {

// Keeps a current row where one can be, after the table changed size.
void keepCurrentRow(ScriptGridView& grid, int row) {
    int last = grid.scriptModel()->rowCount() - 1;
    grid.setCurrentRow(std::min(std::max(row, 0), last));
}

}  // namespace

PatchCommand::PatchCommand(const QString& text, ScriptGridView& grid, CellPatch patch)
    : QUndoCommand(text), m_grid(grid), m_patch(std::move(patch)) {}

void PatchCommand::redo() {
    m_grid.scriptModel()->applyPatch(m_patch);
}

void PatchCommand::undo() {
    m_grid.scriptModel()->applyPatch(m_patch);
}

RowsCommand::RowsCommand(const QString& text, ScriptGridView& grid, Kind kind, Rows rows,
                         int currentAfter)
    : QUndoCommand(text),
      m_grid(grid),
      m_kind(kind),
      m_rows(std::move(rows)),
      m_currentAfter(currentAfter),
      m_currentBefore(grid.currentRow()) {}

void RowsCommand::insert() {
    m_grid.scriptModel()->insertTableRows(m_rows.at, m_rows.contents);
}

void RowsCommand::remove() {
    m_grid.scriptModel()->deleteTableRows(m_rows.at);
}

void RowsCommand::redo() {
    if (m_kind == Kind::Insert) {
        insert();
    } else {
        remove();
    }
    if (m_currentAfter >= 0) m_grid.setCurrentRow(m_currentAfter);
}

void RowsCommand::undo() {
    if (m_kind == Kind::Insert) {
        remove();
    } else {
        insert();
    }
    keepCurrentRow(m_grid, m_currentBefore);
}

SortCommand::SortCommand(const QString& text, ScriptGridView& grid, HeaderSort sort,
                         ShowBesideTable showSorted)
    : QUndoCommand(text),
      m_grid(grid),
      m_sort(std::move(sort)),
      m_showSorted(std::move(showSorted)) {}

void SortCommand::show(bool sorted) {
    // Rows moved under the selection: what was selected does not stand there now.
    m_grid.clearSelection();
    m_grid.scriptModel()->refresh();
    m_showSorted(sorted);
    m_done = sorted;
}

void SortCommand::redo() {
    // Pushed once the sort has run: the first redo finds the table sorted already.
    if (m_done) return;
    redoHeaderSort(m_grid.scriptModel()->table(), m_sort);
    show(true);
}

void SortCommand::undo() {
    undoHeaderSort(m_grid.scriptModel()->table(), m_sort);
    show(false);
}

void undoReorder(Table& table, Reorder& reorder) {
    reorder.otherColumns.exchange(table);
    if (!reorder.order.empty()) table.unpermuteRows(0, reorder.order);
    if (reorder.linesBefore) restoreLines(table, *reorder.linesBefore);
}

void redoReorder(Table& table, Reorder& reorder) {
    if (!reorder.order.empty()) table.permuteRows(0, reorder.order);
    reorder.otherColumns.exchange(table);
    if (reorder.linesBefore) renumberLines(table);
}

ReorderCommand::ReorderCommand(const QString& text, ScriptGridView& grid, Reorder reorder,
                               ShowBesideTable showBeside)
    : QUndoCommand(text),
      m_grid(grid),
      m_reorder(std::move(reorder)),
      m_showBeside(std::move(showBeside)) {}

void ReorderCommand::show() {
    const int current = m_grid.currentRow();
    m_grid.scriptModel()->reload();
    keepCurrentRow(m_grid, current);
    if (m_showBeside) m_showBeside(m_done);
}

void ReorderCommand::redo() {
    // Pushed once the command has run: the first redo finds the table changed already.
    if (m_done) return;
    redoReorder(m_grid.scriptModel()->table(), m_reorder);
    m_done = true;
    show();
}

void ReorderCommand::undo() {
    undoReorder(m_grid.scriptModel()->table(), m_reorder);
    m_done = false;
    show();
}

WholeTableCommand::WholeTableCommand(const QString& text, ScriptGridView& grid, Table before)
    : QUndoCommand(text), m_grid(grid), m_other(std::move(before)) {}

void WholeTableCommand::exchange() {
    int current = m_grid.currentRow();
    m_grid.scriptModel()->swapTable(m_other);
    keepCurrentRow(m_grid, current);
}

void WholeTableCommand::redo() {
    // Pushed once the command has run: the first redo finds the table changed already.
    if (m_done) return;
    exchange();
    m_done = true;
}

void WholeTableCommand::undo() {
    exchange();
    m_done = false;
}

}  // namespace fulgor
