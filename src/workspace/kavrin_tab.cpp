#include "workspace/kavrin_tab.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "addressing/addressing_texts.h"
#include "addressing/conflict_check.h"
#include "addressing/group_shots.h"
#include "conversion/talsen_to_kavrin.h"
#include "files/kavrin_file.h"
#include "platform/grid_columns.h"
#include "platform/numeric_field.h"
#include "platform/page_texts.h"
#include "platform/prompter.h"
#include "platform/qt_text.h"
#include "platform/script_grid_view.h"
#include "workspace/file_dialogs.h"
#include "workspace/widgets.h"
#include "workspace/workspace_state.h"

namespace fulgor {
namespace {

const QString kOpenTitle = QStringLiteral("Open Kavrin Script File");
const QString kOpenFilter =
    QStringLiteral("All Files (*.*)|*.*|Show Files (*.kvn)|*.kvn|Text Files (*.txt)|*.txt");
const QString kSaveTitle = QStringLiteral("Save Kavrin Script File");
const QString kSaveFilter =
    QStringLiteral("All Files (*.*)|*.*|Kavrin Files (*.kvn)|*.kvn|Text Files (*.txt)|*.txt");
const QString kExtension = QStringLiteral("kvn");

}  // namespace

KavrinTab::KavrinTab(WorkspaceState& state, Prompter& prompter,
                     std::function<bool()> talsenNumbering, QWidget* parent)
    : ScriptTab(state, prompter,
                {ScriptGrid::Kavrin, "TDBGrid2", kKavrinGridColumns, kOpenTitle, kOpenFilter},
                parent),
      m_talsenNumbering(std::move(talsenNumbering)) {
    m_miravel = named(new QCheckBox(QStringLiteral("Miravel Timing")), "ChkMiravelTime");
    connect(m_miravel, &QCheckBox::toggled, this, &KavrinTab::miravelTimingChanged);

    QGroupBox* offsetFrame = makeFrame("frmKVTimeOffset", QStringLiteral("Time Offset"));
    m_timeOffset = named(new NumericField(-5999, 5999.9, 1, ""), "txtKVTimeoffset");
    m_timeOffset->setMaximumWidth(90);
    (new QHBoxLayout(offsetFrame))->addWidget(m_timeOffset);

    QGroupBox* nameFrame = makeFrame("frmShowName", QStringLiteral("Show Name"));
    m_showName = named(new QLineEdit, "txtShowName");
    m_showName->setMinimumWidth(200);
    (new QHBoxLayout(nameFrame))->addWidget(m_showName);

    m_groupShots = makeButton("cmdGroupShots", QStringLiteral("Group Shots"));
    m_checkConflicts = makeButton("cmdCheckConflicts", QStringLiteral("Check Conflicts"));
    m_importTalsen = makeButton("cmdImportTS", QStringLiteral("Import Talsen"));
    connect(m_importTalsen, &QPushButton::clicked, this, &KavrinTab::importTalsen);
    connect(m_groupShots, &QPushButton::clicked, this, &KavrinTab::groupShots);
    connect(m_checkConflicts, &QPushButton::clicked, this, &KavrinTab::checkConflicts);
    m_conflicts = makeLabel("lblConflictsKV");
    m_conflicts->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));

    auto* controls = new QHBoxLayout;
    controls->addWidget(m_miravel);
    controls->addWidget(offsetFrame);
    controls->addWidget(nameFrame, 1);
    controls->addWidget(m_importTalsen);
    controls->addWidget(m_groupShots);
    controls->addWidget(m_checkConflicts);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(m_conflicts);
    layout->addWidget(m_grid, 1);

    // The show name is saved with the table: typing it changes the script.
    connect(m_showName, &QLineEdit::textEdited, this, &KavrinTab::markHeaderEdited);
}

bool KavrinTab::miravelTiming() const {
    return m_miravel->isChecked();
}

void KavrinTab::fileNew() {
    m_state.conflictCount = 0;
    m_state.kavrin.resize(1, kavrin::ColumnCount);
    m_state.kavrin.clear();
    m_model->setHighlighting(false);
    m_model->reload();
    m_showName->clear();
    m_timeOffset->setValue(0);
    m_conflicts->clear();
}

Status KavrinTab::load(const QString& path, const Progress& progress) {
    Result<KavrinScript> script = readKavrinFile(path.toStdString(), progress);
    if (!script) return Error{script.error()};
    m_state.kavrinPath = path;
    m_timeOffset->setValue(0);
    m_state.kavrin = std::move(script.value().table);
    m_showName->setText(QString::fromStdString(script.value().showName));
    m_model->setHighlighting(false);
    showFirstRow();
    return {};
}

Table KavrinTab::leadingRows(std::string_view lines) const {
    return ImportKavrin(lines).table;
}

double KavrinTab::timeOffset() const {
    return m_timeOffset->value();
}

QString KavrinTab::saveScript() {
    QString name = askSaveFileName(m_state, m_prompter,
                                   {kSaveTitle, kSaveFilter, 2, m_showName->text(), kExtension});
    if (name.isEmpty()) return {};
    LongCommand command(m_prompter, QStringLiteral("Saving %1").arg(QFileInfo(name).fileName()));
    Status saved = SaveKavrinScript(name.toStdString(), m_showName->text().toStdString(),
                                    m_state.kavrin, command.report());
    if (command.cancelled()) return {};
    if (!saved) {
        report(saved);
        return {};
    }
    return name;
}

void KavrinTab::importTalsen() {
    if (!maybeSave()) return;
    std::vector<int> untimedRows;
    {
        LongCommand command(m_prompter, QStringLiteral("Importing the Talsen script"));
        // Made beside the tab's table, so that a cancel never touched it.
        KavrinImport imported = talsenToKavrin(m_state.talsen, miravelTiming(), command.report());
        if (command.cancelled()) return;
        replaceWholeTable(QStringLiteral("Import Talsen"), std::move(imported.table));
        untimedRows = std::move(imported.untimedRows);
    }
    m_timeOffset->setValue(0);
    showFirstRow();
    // Import Talsen reports nothing in a box; the rows it could not time are worth a note.
    emit statusMessage(toQString(untimedRowsMessage(untimedRows, untimedRows.size())));
}

void KavrinTab::reportFireMemory(const GroupShotsOutcome& grouping) {
    if (grouping.exceeded()) {
        m_prompter.message(toQString(kAbortedTitle), toQString(kFireMemoryExceeded),
                           Prompter::Icon::Exclamation);
    }
}

void KavrinTab::groupShots() {
    GroupShotsOutcome grouping;
    {
        LongCommand command(m_prompter, QStringLiteral("Grouping shots"));
        reorderTable(
            QStringLiteral("Group Shots"), {kavrin::Shot}, Lines::Renumbered,
            [&](const std::function<void()>& sorted) -> Reordered {
                grouping =
                    fulgor::groupShots(m_state.kavrin, miravelTiming(), command.report(), sorted);
                return {std::move(grouping.order)};
            },
            command);
        if (command.cancelled()) return;
    }
    reportFireMemory(grouping);
}

KavrinTab::ConflictsShown KavrinTab::conflictsShown() const {
    return {m_state.conflictCount, m_conflicts->text(), m_model->highlighting()};
}

void KavrinTab::showConflicts(const ConflictsShown& shown) {
    m_state.conflictCount = shown.count;
    m_conflicts->setText(shown.label);
    m_model->setHighlighting(shown.highlighting);
}

void KavrinTab::checkConflicts() {
    m_grid->clearSelection();
    ConflictReport report;
    {
        LongCommand command(m_prompter, QStringLiteral("Checking conflicts"));
        reorderTable(
            QStringLiteral("Check Conflicts"), {kavrin::Shot, kavrin::Err}, Lines::Renumbered,
            [&](const std::function<void()>& sorted) -> Reordered {
                const ConflictsShown before = conflictsShown();
                report =
                    fulgor::checkConflicts(m_state.kavrin, {miravelTiming(), m_talsenNumbering()},
                                           command.report(), sorted);
                const ConflictsShown after{report.conflicts,
                                           toQString(conflictLabelText(report.conflicts)),
                                           report.conflicts > 0};
                return {std::move(report.grouping.order),
                        [this, before, after](bool done) { showConflicts(done ? after : before); },
                        after != before};
            },
            command);
        if (command.cancelled()) return;
    }
    reportFireMemory(report.grouping);
    if (report.conflicts > 0) {
        m_grid->setCurrentRow(report.markedRows.front());
        m_prompter.message(toQString(kCheckingTitle),
                           toQString(conflictMessageText(report.conflicts)),
                           Prompter::Icon::Exclamation);
    }
}

QString KavrinTab::pageHeader() const {
    return kavrinPageHeader(m_state.kavrinPath, m_showName->text());
}

}  // namespace fulgor
