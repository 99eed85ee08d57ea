#pragma once
// A script grid: whole rows selectable, several at once, remembered in the
// order the user selected them; Enter moves to the cell below and Tab to the
// next cell; while a cell is edited its column's edit mask and maximum width
// apply; no automatic new row; Delete on selected rows asks for them to be
// deleted.

#include <QTableView>
#include <unordered_set>
#include <vector>

namespace fulgor {

class ScriptTableModel;

class ScriptGridView : public QTableView {
    Q_OBJECT
public:
    explicit ScriptGridView(QWidget* parent = nullptr);

    void setScriptModel(ScriptTableModel* model);
    ScriptTableModel* scriptModel() const { return m_model; }

    // Selected rows, each once, in the order they were selected.
    const std::vector<int>& selectedRowsInOrder() const { return m_selectionOrder; }
    // The current row, or -1 when there is none.
    int currentRow() const;
    // Makes `row` current (keeping the current column) and scrolls to it.
    void setCurrentRow(int row);

signals:
    void headerClicked(int column);
    // Delete was pressed, outside a cell editor, while rows are selected.
    void deleteRowsRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void trackSelection(const QItemSelection& selected, const QItemSelection& deselected);
    void clearSelectionOrder();
    // Rows inserted or removed in the model move the selected rows after them.
    void shiftSelection(int first, int count);
    void dropSelection(int first, int last);
    void moveDown();

    ScriptTableModel* m_model = nullptr;
    std::vector<int> m_selectionOrder;
    std::unordered_set<int> m_selectedRows;
};

}  // namespace fulgor
