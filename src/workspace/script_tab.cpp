#include "workspace/script_tab.h"

#include "editing/header_sort.h"
#include "platform/grid_layout.h"
#include "platform/prompter.h"
#include "platform/script_grid_view.h"
#include "platform/script_table_model.h"
#include "workspace/file_dialogs.h"
#include "workspace/grid_commands.h"
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
    for (std::size_t c = 0; c < setup.columns.size(); ++c) {
        m_grid->setColumnWidth(static_cast<int>(c), setup.columns[c].width);
    }
    connect(m_grid, &ScriptGridView::headerClicked, this, &ScriptTab::sortByHeader);
    m_gridCommands = std::make_unique<GridCommands>(
        prompter, *m_grid, setup.grid == ScriptGrid::Talsen ? kTalsenLayoutName : kKavrinLayoutName,
        [this] { return pageHeader(); });
}

ScriptTab::~ScriptTab() = default;

bool ScriptTab::serves(MenuCommand command) const {
    return command == MenuCommand::FileNew || command == MenuCommand::FileOpen ||
           command == MenuCommand::FileSave || GridCommands::serves(command);
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
            if (GridCommands::serves(command)) m_gridCommands->run(command);
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
    if (!status)
        m_prompter.message(kAppTitle, QString::fromStdString(status.error()),
                           Prompter::Icon::Exclamation);
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
}

}  // namespace fulgor
