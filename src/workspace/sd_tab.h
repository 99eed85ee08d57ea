#pragma once
// The SD Show Script tab: the open show database in the grid TDBGrid3 with a
// filter bar under its headers, the sort order built by header clicks and
// applied by "Sort By", "Clear Filters", the count of visible rows, and
// "Send to Talsen" with its Cal/Cghz choice; its grid layout and printed pages.

#include <functional>
#include <memory>
#include <vector>

#include "conversion/sd_to_talsen.h"
#include "conversion/sd_view.h"
#include "workspace/workspace_tab.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStandardItemModel;
class QTableView;

namespace fulgor {

class GridCommands;
class Prompter;
class SdDatabase;
class SdTableModel;
struct WorkspaceState;

class SdTab : public WorkspaceTab {
    Q_OBJECT
public:
    struct Links {
        TableChange changeTalsenTable;  // Send to Talsen replaces the Talsen table
    };

    SdTab(WorkspaceState& state, Prompter& prompter, Links links, QWidget* parent = nullptr);
    ~SdTab() override;

    bool serves(MenuCommand command) const override;
    void run(MenuCommand command) override;

    // Opens the show database at `path` in place of the one shown; a file that
    // cannot be opened is reported and the shown one stays.
    void readFile(const QString& path);
    // The events of the view for a conversion; fails when no show is open.
    Result<std::unique_ptr<SdEventSource>> viewEvents();
    SdSize sizeOption() const;

    SdTableModel* model() const { return m_model; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fileOpen();
    void headerClicked(int column);
    void sortBy();
    void clearFilters();
    void filterChanged(int column);
    Result<std::vector<SdCondition>> BuildSDFilter(int column);
    void showView();
    void editFilterCell(int column);
    void sendToTalsen();
    void submitEdits();
    void fitColumns();
    // The filter bar takes the grid's column order, widths and hidden columns.
    void followGridColumns();
    void report(const QString& text);

    WorkspaceState& m_state;
    Prompter& m_prompter;
    Links m_links;
    std::unique_ptr<SdDatabase> m_database;
    std::vector<SdCondition> m_conditions;
    std::vector<SdSortTerm> m_sort;
    int m_modifiers = 0;            // of the last mouse button on the grid: 1 Shift, 2 Ctrl, 4 Alt
    bool m_settingFilters = false;  // the tab itself is writing filter texts

    SdTableModel* m_model;
    QTableView* m_grid;
    QStandardItemModel* m_filters;
    QTableView* m_filterBar;
    QLabel* m_file;
    QLabel* m_readOnly;
    QLabel* m_lines;
    QLineEdit* m_sortOrder;
    QRadioButton* m_cal;
    QRadioButton* m_cghz;
    std::unique_ptr<GridCommands> m_gridCommands;
};

}  // namespace fulgor
