#include "platform/script_grid_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <algorithm>

#include "platform/script_table_model.h"

namespace fulgor {
namespace {

// Applies the column's edit mask and maximum width to the cell editor.
class ScriptCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        auto* line = qobject_cast<QLineEdit*>(editor);
        const auto* model = qobject_cast<const ScriptTableModel*>(index.model());
        if (!line || !model) return editor;
        const GridColumn& column = model->column(index.column());
        if (qsizetype digits = qstrlen(column.editMask); digits > 0) {
            QRegularExpression pattern(QStringLiteral("\\d{0,%1}").arg(digits));
            line->setValidator(new QRegularExpressionValidator(pattern, line));
        }
        if (column.maxWidth > 0) line->setMaxLength(column.maxWidth);
        return editor;
    }
};

}  // namespace

ScriptGridView::ScriptGridView(QWidget* parent) : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setItemDelegate(new ScriptCellDelegate(this));
    setAlternatingRowColors(false);
    setWordWrap(false);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setFixedWidth(18);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &ScriptGridView::headerClicked);
}

void ScriptGridView::setScriptModel(ScriptTableModel* model) {
    m_model = model;
    setModel(model);
    clearSelectionOrder();
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ScriptGridView::trackSelection);
    connect(model, &QAbstractItemModel::modelReset, this, [this] { clearSelectionOrder(); });
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) {
                shiftSelection(first, last - first + 1);
            });
    connect(model, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) { dropSelection(first, last); });
}

int ScriptGridView::currentRow() const {
    QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void ScriptGridView::setCurrentRow(int row) {
    if (!m_model || row < 0 || row >= m_model->rowCount()) return;
    int column = std::max(0, currentIndex().column());
    QModelIndex target = m_model->index(row, column);
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::NoUpdate);
    scrollTo(target);
}

void ScriptGridView::trackSelection(const QItemSelection& selected,
                                    const QItemSelection& deselected) {
    bool anyGone = false;
    for (const QItemSelectionRange& range : deselected) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (!selectionModel()->isRowSelected(row) && m_selectedRows.erase(row) > 0)
                anyGone = true;
        }
    }
    if (anyGone)
        std::erase_if(m_selectionOrder, [&](int row) { return !m_selectedRows.contains(row); });
    for (const QItemSelectionRange& range : selected) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (m_selectedRows.insert(row).second) m_selectionOrder.push_back(row);
        }
    }
}

void ScriptGridView::clearSelectionOrder() {
    m_selectionOrder.clear();
    m_selectedRows.clear();
}

void ScriptGridView::shiftSelection(int first, int count) {
    m_selectedRows.clear();
    for (int& row : m_selectionOrder) {
        if (row >= first) row += count;
        m_selectedRows.insert(row);
    }
}

void ScriptGridView::dropSelection(int first, int last) {
    std::erase_if(m_selectionOrder, [&](int row) { return row >= first && row <= last; });
    shiftSelection(last + 1, first - last - 1);
}

void ScriptGridView::moveDown() {
    QModelIndex current = currentIndex();
    if (!current.isValid() || current.row() + 1 >= model()->rowCount()) return;
    setCurrentIndex(model()->index(current.row() + 1, current.column()));
}

void ScriptGridView::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        state() != EditingState) {
        moveDown();
        return;
    }
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier &&
        state() != EditingState && !m_selectionOrder.empty()) {
        emit deleteRowsRequested();
        return;
    }
    QTableView::keyPressEvent(event);
}

void ScriptGridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    // The delegate ends an edit with Enter by asking to submit: move down then.
    bool enter = hint == QAbstractItemDelegate::SubmitModelCache;
    QTableView::closeEditor(editor, enter ? QAbstractItemDelegate::NoHint : hint);
    if (enter) moveDown();
}

}  // namespace fulgor
