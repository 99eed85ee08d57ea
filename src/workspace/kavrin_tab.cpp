#include "workspace/kavrin_tab.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "editing/header_sort.h"
#include "platform/prompter.h"
#include "platform/script_grid_view.h"
#include "workspace/file_dialogs.h"
#include "workspace/grid_columns.h"
#include "workspace/kavrin_file.h"
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

KavrinTab::KavrinTab(WorkspaceState& state, Prompter& prompter, QWidget* parent)
    : WorkspaceTab(parent), m_state(state), m_prompter(prompter) {
    m_model = new ScriptTableModel(state.kavrin, ScriptGrid::Kavrin, kKavrinGridColumns, this);
    m_grid = named(new ScriptGridView(this), "TDBGrid2");
    m_grid->setScriptModel(m_model);
    const int widths[] = {56, 56, 50, 70, 50, 50, 96, 60, 50, 80, 50, 110, 240};
    for (int c = 0; c < kavrin::ColumnCount; ++c) m_grid->setColumnWidth(c, widths[c]);
    connect(m_grid, &ScriptGridView::headerClicked, this, &KavrinTab::sortByHeader);

    m_miravel = named(new QCheckBox(QStringLiteral("Miravel Timing")), "ChkMiravelTime");
    connect(m_miravel, &QCheckBox::toggled, this, &KavrinTab::miravelTimingChanged);

    QGroupBox* offsetFrame = makeFrame("frmKVTimeOffset", QStringLiteral("Time Offset"));
    m_timeOffset = named(new QDoubleSpinBox, "txtKVTimeoffset");
    m_timeOffset->setLocale(QLocale::c());
    m_timeOffset->setDecimals(1);
    m_timeOffset->setRange(-5999, 5999.9);
    m_timeOffset->setButtonSymbols(QAbstractSpinBox::NoButtons);
    m_timeOffset->setMinimumWidth(80);
    (new QHBoxLayout(offsetFrame))->addWidget(m_timeOffset);

    QGroupBox* nameFrame = makeFrame("frmShowName", QStringLiteral("Show Name"));
    m_showName = named(new QLineEdit, "txtShowName");
    m_showName->setMinimumWidth(200);
    (new QHBoxLayout(nameFrame))->addWidget(m_showName);

    m_groupShots = makeButton("cmdGroupShots", QStringLiteral("Group Shots"));
    m_checkConflicts = makeButton("cmdCheckConflicts", QStringLiteral("Check Conflicts"));
    m_importTalsen = makeButton("cmdImportTS", QStringLiteral("Import Talsen"));
    for (QPushButton* button : {m_groupShots, m_checkConflicts, m_importTalsen})
        button->setEnabled(false);
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
}

bool KavrinTab::serves(MenuCommand command) const {
    return command == MenuCommand::FileNew || command == MenuCommand::FileOpen ||
           command == MenuCommand::FileSave;
}

void KavrinTab::run(MenuCommand command) {
    switch (command) {
        case MenuCommand::FileNew:
            return fileNew();
        case MenuCommand::FileOpen:
            return fileOpen();
        case MenuCommand::FileSave:
            return saveKavrinScript();
        default:
            return;
    }
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

void KavrinTab::fileOpen() {
    QString name = askOpenFileName(m_state, m_prompter, kOpenTitle, kOpenFilter);
    if (!name.isEmpty()) readFile(name);
}

void KavrinTab::readFile(const QString& path) {
    BusyPointer busy(m_prompter);
    Result<KavrinScript> script = readKavrinFile(path.toStdString());
    if (!script) {
        m_prompter.message(kAppTitle, QString::fromStdString(script.error()),
                           Prompter::Icon::Exclamation);
        return;
    }
    m_state.kavrinPath = path;
    showScript(script.value());
}

void KavrinTab::showScript(KavrinScript& script) {
    m_timeOffset->setValue(0);
    m_state.kavrin = std::move(script.table);
    m_showName->setText(QString::fromStdString(script.showName));
    m_model->setHighlighting(false);
    m_model->reload();
    m_grid->setCurrentRow(0);
}

void KavrinTab::saveKavrinScript() {
    QString name = askSaveFileName(m_state, m_prompter,
                                   {kSaveTitle, kSaveFilter, 2, m_showName->text(), kExtension});
    if (name.isEmpty()) return;
    BusyPointer busy(m_prompter);
    Status saved =
        writeKavrinFile(name.toStdString(), m_showName->text().toStdString(), m_state.kavrin);
    if (!saved)
        m_prompter.message(kAppTitle, QString::fromStdString(saved.error()),
                           Prompter::Icon::Exclamation);
}

void KavrinTab::sortByHeader(int column) {
    BusyPointer busy(m_prompter);
    fulgor::sortByHeader(ScriptGrid::Kavrin, m_state.kavrin, column);
    m_model->refresh();
    m_grid->setCurrentRow(0);
}

}  // namespace fulgor
