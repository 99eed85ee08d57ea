#pragma once
// The grid model over a script table: shows each cell in its column's display
// format, checks typed content with the editing rules before storing it, and
// colours rows while highlighting is on. The table itself lives in the
// window's state; the model only views it.

#include <QAbstractTableModel>
#include <functional>
#include <span>
#include <string_view>

#include "core/table.h"
#include "editing/cell_patch.h"
#include "editing/cell_rules.h"

namespace fulgor {

enum class DisplayFormat { Plain, Fixed, GeneralNumber, Currency };

struct GridColumn {
    std::string_view caption;
    DisplayFormat format = DisplayFormat::Plain;
    const char* editMask = "";  // "#####" or "###": that many digits at most while editing
    int maxWidth = 0;           // most characters a cell accepts while editing; 0 for no limit
    Qt::Alignment alignment = Qt::AlignRight;
    int width = 80;  // the grid's starting width, in screen pixels
};

class ScriptTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    ScriptTableModel(Table& table, ScriptGrid grid, std::span<const GridColumn> columns,
                     QObject* parent = nullptr);

    ScriptGrid grid() const { return m_grid; }
    Table& table() const { return m_table; }
    const GridColumn& column(int index) const { return m_columns[static_cast<std::size_t>(index)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Checks typed text and hands what it writes to the cell commit (or, without
    // one, applies it); false, nothing stored, when the check refuses it.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Where a typed cell goes: the tab turns it into an undoable step.
    void setCellCommit(std::function<void(CellPatch)> commit) { m_commit = std::move(commit); }

    // Table changes with the notifications the views need. Row sets are
    // ascending row indices, each once (see Table's row sets); a contiguous set
    // is announced as such so the grid keeps its state, any other resets it.
    void applyPatch(CellPatch& patch);
    void insertTableRows(std::span<const int> at, const Table& rows);
    void deleteTableRows(std::span<const int> rows);
    // Exchanges the whole table with `other`.
    void swapTable(Table& other);

    // Re-reads the table after its size or content changed.
    void reload();
    // Repaints every cell without re-reading the table's size.
    void refresh();
    // Per-row colouring on or off.
    void setHighlighting(bool on);
    bool highlighting() const { return m_highlighting; }

private:
    Table& m_table;
    ScriptGrid m_grid;
    std::span<const GridColumn> m_columns;
    bool m_highlighting = false;
    std::function<void(CellPatch)> m_commit;
};

}  // namespace fulgor
