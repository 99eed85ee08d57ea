#include "workspace/grid_commands.h"

#include <QDir>
#include <QPrinter>
#include <QTableView>

#include "platform/grid_view_layout.h"
#include "platform/program_folder.h"
#include "platform/prompter.h"
#include "platform/table_printer.h"

namespace fulgor {

QString layoutFilePath() {
    return QDir(programFolder()).filePath(kLayoutFileName);
}

GridCommands::GridCommands(Prompter& prompter, QTableView& grid, QString layoutName,
                           std::function<QString()> pageHeader)
    : m_prompter(prompter),
      m_grid(grid),
      m_layoutName(std::move(layoutName)),
      m_pageHeader(std::move(pageHeader)),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

GridCommands::~GridCommands() = default;

bool GridCommands::serves(MenuCommand command) {
    return command == MenuCommand::SaveGridLayout || command == MenuCommand::LoadGridLayout ||
           command == MenuCommand::PageSetup || command == MenuCommand::PrintPreview;
}

void GridCommands::run(MenuCommand command) {
    switch (command) {
        case MenuCommand::SaveGridLayout:
            return saveLayout();
        case MenuCommand::LoadGridLayout:
            return loadLayout();
        case MenuCommand::PageSetup:
            return pageSetup();
        case MenuCommand::PrintPreview:
            return printPreview();
        default:
            return;
    }
}

void GridCommands::reportFailure(const std::string& message) {
    m_prompter.message(kAppTitle, QString::fromStdString(message), Prompter::Icon::Exclamation);
}

bool GridCommands::hasColumns() {
    // The SD grid has no columns until a show is open: there is nothing to lay out or print.
    if (m_grid.model()->columnCount() > 0) return true;
    reportFailure("No show is open: the grid has no columns yet.");
    return false;
}

void GridCommands::saveLayout() {
    if (!hasColumns()) return;
    GridLayout layout = layoutOf(placedColumns(m_grid), columnNames(*m_grid.model()));
    if (Status saved = saveGridLayout(layoutFilePath(), m_layoutName, layout); !saved)
        reportFailure(saved.error());
}

void GridCommands::loadLayout() {
    if (!hasColumns()) return;
    Result<GridLayout> layout = loadGridLayout(layoutFilePath(), m_layoutName);
    if (!layout) return reportFailure(layout.error());
    Result<std::vector<PlacedColumn>> arranged = arrangeColumns(
        layout.value(), m_layoutName, placedColumns(m_grid), columnNames(*m_grid.model()));
    if (!arranged) return reportFailure(arranged.error());
    placeColumns(m_grid, arranged.value());
}

void GridCommands::pageSetup() {
    m_prompter.pageSetup(*m_printer);
}

void GridCommands::printPreview() {
    if (!hasColumns()) return;
    // Header and columns are taken now; the preview repaints from the model as it needs.
    const PageTexts texts{m_pageHeader(), kPageFooter};
    const std::vector<PlacedColumn> columns = placedColumns(m_grid);
    m_prompter.printPreview(*m_printer, [this, &texts, &columns](QPrinter& printer) {
        BusyPointer busy(m_prompter);
        Result<int> printed = printTable(printer, *m_grid.model(), columns, texts);
        if (!printed) reportFailure(printed.error());
    });
}

}  // namespace fulgor
