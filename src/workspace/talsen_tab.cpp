#include "workspace/talsen_tab.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "addressing/addressing_texts.h"
#include "addressing/renumber_cues.h"
#include "addressing/renumber_lines.h"
#include "files/talsen_file.h"
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

const QString kOpenTitle = QStringLiteral("Open Talsen Script File");
const QString kSaveTitle = QStringLiteral("Save Talsen Script File");
const QString kFilter =
    QStringLiteral("All Files (*.*)|*.*|Show Files (*.csv)|*.csv|Text Files (*.txt)|*.txt");
const QString kFirstTimeType = QStringLiteral("Wave File");

}  // namespace

TalsenTab::TalsenTab(WorkspaceState& state, Prompter& prompter, QWidget* parent)
    : ScriptTab(state, prompter,
                {ScriptGrid::Talsen, "TDBGrid1", kTalsenGridColumns, kOpenTitle, kFilter}, parent) {
    m_model->setHighlighting(true);

    QGroupBox* offsetFrame = makeFrame("frmTCOffset", QStringLiteral("TC Offset"));
    m_tcOffset =
        named(new NumericField(-5999.9, 5999.9, 2, std::string(kTcOffsetMask)), "txtTC_offset");
    m_tcOffset->setMaximumWidth(90);
    (new QHBoxLayout(offsetFrame))->addWidget(m_tcOffset);

    QGroupBox* timingFrame = makeFrame("frmRunTiming", QStringLiteral("Run Timing"));
    m_timeType = named(new QComboBox, "ComboTimeType");
    m_timeType->setEditable(true);
    m_timeType->setInsertPolicy(
        QComboBox::NoInsert);  // any text is accepted, the list stays five items
    m_timeType->addItems({kFirstTimeType, QStringLiteral("FSK"), QStringLiteral("SMPTE30"),
                          QStringLiteral("Trigger"), QStringLiteral("Computer")});
    m_timeType->setEditText(kFirstTimeType);
    m_timeType->setMinimumWidth(110);
    (new QHBoxLayout(timingFrame))->addWidget(m_timeType);

    QGroupBox* waveFrame = makeFrame("frmWaveFile", QStringLiteral("Wave File"));
    m_waveName = named(new QLineEdit, "txtScriptWaveName");
    m_waveName->setMinimumWidth(160);
    (new QHBoxLayout(waveFrame))->addWidget(m_waveName);

    m_renumberLines = makeButton("cmdRenumLines", QStringLiteral("Renumber Lines"));
    m_renumberCues = makeButton("cmdRenumCues", QStringLiteral("Renumber Cues"));
    connect(m_renumberLines, &QPushButton::clicked, this, &TalsenTab::renumberLines);
    connect(m_renumberCues, &QPushButton::clicked, this, &TalsenTab::renumberCues);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_renumberLines);
    buttons->addWidget(m_renumberCues);

    QGroupBox* numbering = makeFrame("optNumbering", QStringLiteral("Cue Numbering"));
    m_optKavrin = makeOption("optKavrinNum", QStringLiteral("Kavrin"));
    m_optTalsen = makeOption("optTalsenNum", QStringLiteral("Talsen"));
    m_optCustom = makeOption("optCustomNum", QStringLiteral("Custom"));
    m_optKavrin->setChecked(true);
    m_customLo = named(new QLineEdit(QStringLiteral("0")), "txtCustomLo");
    m_customHi = named(new QLineEdit(QStringLiteral("F")), "txtCustomHi");
    for (QLineEdit* box : {m_customLo, m_customHi}) box->setMaximumWidth(44);
    auto* numberingLayout = new QHBoxLayout(numbering);
    numberingLayout->addWidget(m_optKavrin);
    numberingLayout->addWidget(m_optTalsen);
    numberingLayout->addWidget(m_optCustom);
    numberingLayout->addWidget(m_customLo);
    numberingLayout->addWidget(new QLabel(QStringLiteral("to")));
    numberingLayout->addWidget(m_customHi);
    for (QRadioButton* option : {m_optKavrin, m_optTalsen, m_optCustom}) {
        connect(option, &QRadioButton::toggled, this, &TalsenTab::updateCustomRangeEnabled);
    }
    updateCustomRangeEnabled();

    auto* controls = new QHBoxLayout;
    controls->addWidget(offsetFrame);
    controls->addWidget(timingFrame);
    controls->addWidget(waveFrame, 1);
    controls->addLayout(buttons);
    controls->addWidget(numbering);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(m_grid, 1);

    // The header fields are saved with the table: typing into them changes the script.
    for (QLineEdit* field :
         {static_cast<QLineEdit*>(m_tcOffset), m_waveName, m_timeType->lineEdit()})
        connect(field, &QLineEdit::textEdited, this, &TalsenTab::markHeaderEdited);
    connect(m_timeType, &QComboBox::activated, this, &TalsenTab::markHeaderEdited);
}

bool TalsenTab::talsenNumberingSelected() const {
    return m_optTalsen->isChecked();
}

void TalsenTab::fileNew() {
    m_state.talsen.resize(1, talsen::ColumnCount);
    m_state.talsen.clear();
    m_model->reload();
    m_waveName->clear();
    m_timeType->setEditText(kFirstTimeType);
    m_tcOffset->setValue(0);
}

Status TalsenTab::load(const QString& path, const Progress& progress) {
    Result<TalsenScript> script = readTalsenFile(path.toStdString(), progress);
    if (!script) return Error{script.error()};
    m_state.talsenPath = path;
    m_state.talsen = std::move(script.value().table);
    m_waveName->setText(QString::fromStdString(script.value().waveName));
    m_tcOffset->setText(QString::fromStdString(script.value().tcOffset));
    m_timeType->setEditText(QString::fromStdString(script.value().timeType));
    showFirstRow();
    return {};
}

Table TalsenTab::leadingRows(std::string_view lines) const {
    return ImportTalsen(lines).table;
}

double TalsenTab::timeOffset() const {
    return m_tcOffset->value();
}

QString TalsenTab::saveScript() {
    QString name = askSaveFileName(m_state, m_prompter,
                                   {kSaveTitle, kFilter, 2, m_state.dialogFileName, QString()});
    if (name.isEmpty()) return {};
    LongCommand command(m_prompter, QStringLiteral("Saving %1").arg(QFileInfo(name).fileName()));
    TalsenHeader header{m_waveName->text().toStdString(), m_tcOffset->text().toStdString(),
                        m_timeType->currentText().toStdString()};
    Status saved = SaveTalsenScript(name.toStdString(), header, m_state.talsen, command.report());
    if (command.cancelled()) return {};
    if (!saved) {
        report(saved);
        return {};
    }
    return name;
}

void TalsenTab::renumberLines() {
    changeWholeTable(QStringLiteral("Renumber Lines"),
                     [this] { fulgor::renumberLines(m_state.talsen); });
}

void TalsenTab::renumberCues() {
    if (!m_prompter.askYesNo(toQString(kRenumberTitle), toQString(kContinueQuestion),
                             Prompter::Icon::Exclamation)) {
        m_model->refresh();
        return;
    }
    NumberingChoice choice;
    choice.option = m_optKavrin->isChecked()   ? NumberingOption::Kavrin
                    : m_optTalsen->isChecked() ? NumberingOption::Talsen
                                               : NumberingOption::Custom;
    choice.customLo = m_customLo->text().toStdString();
    choice.customHi = m_customHi->text().toStdString();
    std::optional<Result<RenumberOutcome>> outcome;
    {
        LongCommand command(m_prompter, QStringLiteral("Renumbering cues"));
        reorderTable(
            QStringLiteral("Renumber Cues"), {talsen::Mod, talsen::Pin}, Lines::Untouched,
            [&](const std::function<void()>& sorted) -> Reordered {
                outcome = RenumberQues(m_state.talsen, choice, command.report(), sorted);
                if (!*outcome) return {};
                return {std::move(outcome->value().order)};
            },
            command);
        if (command.cancelled()) return;
    }
    if (!*outcome) {
        report(Error{outcome->error()});
        return;
    }
    if (outcome->value().linesLeft > 0) {
        m_prompter.message(toQString(kAbortedTitle),
                           toQString(leftOverMessage(outcome->value().linesLeft)),
                           Prompter::Icon::Exclamation);
    }
    m_grid->setCurrentRow(0);
}

void TalsenTab::updateCustomRangeEnabled() {
    bool custom = m_optCustom->isChecked();
    m_customLo->setEnabled(custom);
    m_customHi->setEnabled(custom);
}

QString TalsenTab::pageHeader() const {
    return talsenPageHeader(m_state.talsenPath);
}

}  // namespace fulgor
