#pragma once
// The Kavrin Scripting tab: the Kavrin grid, the show name, the Miravel timing
// switch, the time offset, and the commands that prepare a show for the panel.

#include <functional>

#include "workspace/script_tab.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace fulgor {

class NumericField;

struct GroupShotsOutcome;

class KavrinTab : public ScriptTab {
    Q_OBJECT
public:
    double timeOffset() const override;
    // `talsenNumbering` tells whether the Talsen cue numbering is selected,
    // which picks the conflict check's rules under Miravel timing.
    KavrinTab(WorkspaceState& state, Prompter& prompter, std::function<bool()> talsenNumbering,
              QWidget* parent = nullptr);

    QLineEdit* showNameBox() const { return m_showName; }
    bool miravelTiming() const override;

signals:
    void miravelTimingChanged(bool on);

protected:
    void fileNew() override;
    QString saveScript() override;
    Status load(const QString& path, const Progress& progress) override;
    Table leadingRows(std::string_view lines) const override;
    QString pageHeader() const override;

private:
    void importTalsen();
    void groupShots();
    void checkConflicts();
    // What Check Conflicts shows beside the table: the window's conflict
    // count, the label lblConflictsKV and the highlighting of the rows.
    struct ConflictsShown {
        int count = 0;
        QString label;
        bool highlighting = false;
        bool operator==(const ConflictsShown&) const = default;
    };
    ConflictsShown conflictsShown() const;
    void showConflicts(const ConflictsShown& shown);
    // Shows the fire memory message when the show has more shots than the panel holds.
    void reportFireMemory(const GroupShotsOutcome& grouping);

    std::function<bool()> m_talsenNumbering;
    QCheckBox* m_miravel;
    NumericField* m_timeOffset;
    QLineEdit* m_showName;
    QPushButton* m_groupShots;
    QPushButton* m_checkConflicts;
    QPushButton* m_importTalsen;
    QLabel* m_conflicts;
};

}  // namespace fulgor
