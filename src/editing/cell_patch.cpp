#include "editing/cell_patch.h"

#include <algorithm>
#include <string>

namespace fulgor {

void CellPatch::add(int row, int column, const Cell& value) {
    m_firstRow = m_at.empty() ? row : std::min(m_firstRow, row);
    m_lastRow = m_at.empty() ? row : std::max(m_lastRow, row);
    m_at.push_back({row, column});
    m_values.appendRows();
    m_values.setCell(m_values.rowCount() - 1, 0, value);
}

void CellPatch::swapWith(Table& table) {
    for (std::size_t i = 0; i < m_at.size(); ++i) {
        const auto slot = static_cast<int>(i);
        Cell live = table.cell(m_at[i].row, m_at[i].column);
        // The live cell's text views the table, which the write below changes: keep a copy.
        std::string liveText = live.isText() ? std::string(live.text()) : std::string();
        Cell kept = live.isNumber() ? live : Cell::text(liveText);
        table.setCell(m_at[i].row, m_at[i].column, m_values.cell(slot, 0));
        m_values.setCell(slot, 0, kept);
    }
}

}  // namespace fulgor
