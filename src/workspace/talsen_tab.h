#pragma once
// The Talsen Scripting tab: the Talsen grid with its header controls (wave
// file, TC offset, run timing), line and cue renumbering, and the choice of
// numbering scheme.

#include "workspace/script_tab.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace fulgor {

class NumericField;

class TalsenTab : public ScriptTab {
    Q_OBJECT
public:
    double timeOffset() const override;
    TalsenTab(WorkspaceState& state, Prompter& prompter, QWidget* parent = nullptr);

    // The Talsen numbering option, which also picks the conflict check's rules.
    bool talsenNumberingSelected() const;

protected:
    void fileNew() override;
    QString saveScript() override;
    Status load(const QString& path, const Progress& progress) override;
    Table leadingRows(std::string_view lines) const override;
    QString pageHeader() const override;

private:
    void renumberLines();
    void renumberCues();
    void updateCustomRangeEnabled();

    NumericField* m_tcOffset;
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
