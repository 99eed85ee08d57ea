#include "workspace/script_tab.h"

#include <QHeaderView>
#include <QStyle>
#include <algorithm>

#include "editing/header_sort.h"
#include "platform/prompter.h"
#include "platform/script_grid_view.h"
#include "platform/script_table_model.h"
#include "workspace/file_dialogs.h"
#include "workspace/widgets.h"
#include "workspace/workspace_state.h"

namespace fulgor {

ScriptTab::ScriptTab(WorkspaceState& state, Prompter& prompter, const Setup& setup, QWidget* parent)
    : WorkspaceTab(parent),
      m_state(state),
      m_prompter(prompter),
      m_kind(setup.grid),
      m_openTitle(setup.openTitle),
      m_openFilter(setup.openFilter) {
    Table& table = setup.grid == ScriptGrid::Talsen ? state.talsen : state.kavrin;
    m_model = new ScriptTableModel(table, setup.grid, setup.columns, this);
    m_grid = named(new ScriptGridView(this), setup.gridName);
    m_grid->setScriptModel(m_model);
    for (std::size_t c = 0; c < setup.columnWidths.size(); ++c) {
        m_grid->setColumnWidth(static_cast<int>(c), setup.columnWidths[c]);
    }
    // Line numbers of a show of a million rows have seven digits; the cell's
    // text margins come on top.
    const int margins =
        2 * (m_grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_grid) + 1);
    const int lineWidth =
        m_grid->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + margins + 6;
    m_grid->setColumnWidth(0, std::max(m_grid->columnWidth(0), lineWidth));
    connect(m_grid, &ScriptGridView::headerClicked, this, &ScriptTab::sortByHeader);
    // The sort indicator tells the order of the last header sort; a table
    // loaded or made afresh has the order it came in.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        m_sortedColumn = -1;
        showSortIndicator();
    });
}

bool ScriptTab::serves(MenuCommand command) const {
    return command == MenuCommand::FileNew || command == MenuCommand::FileOpen ||
           command == MenuCommand::FileSave;
}

void ScriptTab::run(MenuCommand command) {
    switch (command) {
        case MenuCommand::FileNew:
            return fileNew();
        case MenuCommand::FileOpen:
            return fileOpen();
        case MenuCommand::FileSave:
            return saveScript();
        default:
            return;
    }
}

void ScriptTab::fileOpen() {
    QString name = askOpenFileName(m_state, m_prompter, m_openTitle, m_openFilter);
    if (!name.isEmpty()) readFile(name);
}

void ScriptTab::readFile(const QString& path) {
    BusyPointer busy(m_prompter);
    report(load(path));
}

void ScriptTab::report(const Status& status) {
    if (!status) showError(m_prompter, QString::fromStdString(status.error()));
}

void ScriptTab::showFirstRow() {
    m_model->reload();
    m_grid->setCurrentRow(0);
}

void ScriptTab::sortByHeader(int column) {
    BusyPointer busy(m_prompter);
    fulgor::sortByHeader(m_kind, m_model->table(), column);
    m_model->refresh();
    m_grid->setCurrentRow(0);
    if (!headerSortKeys(m_kind, column).empty()) m_sortedColumn = column;
    showSortIndicator();
}

void ScriptTab::showSortIndicator() {
    // The header moves and flips its indicator on every click by itself; the
    // sorts here are always ascending, and a column that sorts nothing leaves
    // the order (and so the indicator) as it was.
    QHeaderView* header = m_grid->horizontalHeader();
    header->setSortIndicatorShown(m_sortedColumn >= 0);
    if (m_sortedColumn >= 0) header->setSortIndicator(m_sortedColumn, Qt::AscendingOrder);
}

}  // namespace fulgor
