#pragma once
// The Talsen Scripting tab: the Talsen grid with its header controls (wave
// file, TC offset, run timing), line and cue renumbering, and the choice of
// numbering scheme.

#include "workspace/workspace_tab.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace fulgor {

class Prompter;
class ScriptGridView;
class ScriptTableModel;
struct TalsenScript;
struct WorkspaceState;

class TalsenTab : public WorkspaceTab {
    Q_OBJECT
public:
    TalsenTab(WorkspaceState& state, Prompter& prompter, QWidget* parent = nullptr);

    bool serves(MenuCommand command) const override;
    void run(MenuCommand command) override;

    // Reads a Talsen script file into the table and the header controls; a
    // file that cannot be read is reported and changes nothing.
    void readFile(const QString& path);

    ScriptGridView* grid() const { return m_grid; }
    ScriptTableModel* model() const { return m_model; }
    // The Talsen numbering option, which also picks the conflict check's rules.
    bool talsenNumberingSelected() const;

private:
    void fileNew();
    void fileOpen();
    void saveTalsenScript();
    void renumberLines();
    void sortByHeader(int column);
    void updateCustomRangeEnabled();
    void showScript(TalsenScript& script);

    WorkspaceState& m_state;
    Prompter& m_prompter;
    ScriptTableModel* m_model;
    ScriptGridView* m_grid;
    QDoubleSpinBox* m_tcOffset;
    QComboBox* m_timeType;
    QLineEdit* m_waveName;
    QPushButton* m_renumberLines;
    QPushButton* m_renumberCues;
    QRadioButton* m_optKavrin;
    QRadioButton* m_optTalsen;
    QRadioButton* m_optCustom;
    QLineEdit* m_customLo;
    QLineEdit* m_customHi;
};

}  // namespace fulgor
