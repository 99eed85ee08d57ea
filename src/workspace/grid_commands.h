#pragma once
// The commands every grid tab shares: Save Grid Layout, Load Grid Layout, Page
// Setup and Print Preview, for one table view. A tab with a grid holds one and
// passes these commands on to it; the grid's page setup lives here between
// previews.

#include <QString>
#include <functional>
#include <memory>

#include "workspace/menu_command.h"

class QPrinter;
class QTableView;

namespace fulgor {

class Prompter;

class GridCommands {
public:
    // `layoutName` names the grid's layout in the layout file; `pageHeader`
    // gives the header printed on each page at the time of printing.
    GridCommands(Prompter& prompter, QTableView& grid, QString layoutName,
                 std::function<QString()> pageHeader);
    ~GridCommands();
    GridCommands(const GridCommands&) = delete;
    GridCommands& operator=(const GridCommands&) = delete;

    static bool serves(MenuCommand command);
    // Precondition: serves(command).
    void run(MenuCommand command);

private:
    void saveLayout();
    void loadLayout();
    void pageSetup();
    void printPreview();
    void reportFailure(const std::string& message);
    // Reports a grid without columns (no show open) and answers false.
    bool hasColumns();

    Prompter& m_prompter;
    QTableView& m_grid;
    QString m_layoutName;
    std::function<QString()> m_pageHeader;
    std::unique_ptr<QPrinter> m_printer;
};

// The layout file "Pellor.grx" in the program's folder.
QString layoutFilePath();

}  // namespace fulgor
