#pragma once
// The Kavrin Scripting tab: the Kavrin grid, the show name, the Miravel timing
// switch, the time offset, and the commands that prepare a show for the panel.

#include "workspace/workspace_tab.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace fulgor {

class Prompter;
class ScriptGridView;
class ScriptTableModel;
struct KavrinScript;
struct WorkspaceState;

class KavrinTab : public WorkspaceTab {
    Q_OBJECT
public:
    KavrinTab(WorkspaceState& state, Prompter& prompter, QWidget* parent = nullptr);

    bool serves(MenuCommand command) const override;
    void run(MenuCommand command) override;

    // Reads a Kavrin script file into the table and the show name; a file that
    // cannot be read is reported and changes nothing.
    void readFile(const QString& path);

    ScriptGridView* grid() const { return m_grid; }
    ScriptTableModel* model() const { return m_model; }
    QLineEdit* showNameBox() const { return m_showName; }
    bool miravelTiming() const;

signals:
    void miravelTimingChanged(bool on);

private:
    void fileNew();
    void fileOpen();
    void saveKavrinScript();
    void sortByHeader(int column);
    void showScript(KavrinScript& script);

    WorkspaceState& m_state;
    Prompter& m_prompter;
    ScriptTableModel* m_model;
    ScriptGridView* m_grid;
    QCheckBox* m_miravel;
    QDoubleSpinBox* m_timeOffset;
    QLineEdit* m_showName;
    QPushButton* m_groupShots;
    QPushButton* m_checkConflicts;
    QPushButton* m_importTalsen;
    QLabel* m_conflicts;
};

}  // namespace fulgor
