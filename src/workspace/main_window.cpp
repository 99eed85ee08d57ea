#include "workspace/main_window.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QTabWidget>

#include "platform/prompter.h"
#include "platform/script_table_model.h"
#include "workspace/communications_tab.h"
#include "workspace/kavrin_tab.h"
#include "workspace/sd_tab.h"
#include "workspace/talsen_tab.h"

namespace fulgor {

MainWindow::MainWindow(Prompter& prompter, QWidget* parent)
    : QMainWindow(parent), m_prompter(prompter) {
    setObjectName(QStringLiteral("frmFulgorMain"));
    setWindowTitle(QStringLiteral("Corvane Fulgor"));

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("C1Tab1"));
    m_talsenTab = new TalsenTab(m_state, prompter);
    m_kavrinTab =
        new KavrinTab(m_state, prompter, [this] { return m_talsenTab->talsenNumberingSelected(); });
    m_sdTab = new SdTab(m_state, prompter, {[this] { m_talsenTab->model()->reload(); }});
    m_communicationsTab = new CommunicationsTab(
        m_state, prompter,
        {[this] { return m_kavrinTab->miravelTiming(); },
         [this] { m_kavrinTab->model()->refresh(); }, [this] { m_talsenTab->model()->reload(); },
         [this] { return m_sdTab->viewEvents(); }, [this] { return m_sdTab->sizeOption(); }});
    const QStringList captions =
        QStringLiteral("T&alsen Scripting|&Kavrin Scripting|S&D Show Script|C&ommunications")
            .split(QLatin1Char('|'));
    m_tabs->addTab(m_talsenTab, captions[TalsenIndex]);
    m_tabs->addTab(m_kavrinTab, captions[KavrinIndex]);
    m_tabs->addTab(m_sdTab, captions[SdIndex]);
    m_tabs->addTab(m_communicationsTab, captions[CommunicationsIndex]);
    setCentralWidget(m_tabs);

    buildMenus();
    mirrorShowName();
    connect(m_kavrinTab, &KavrinTab::miravelTimingChanged, m_communicationsTab,
            &CommunicationsTab::setMiravelTiming);
    connect(m_tabs, &QTabWidget::currentChanged, this, &MainWindow::updateCommandsEnabled);
    m_tabs->setCurrentIndex(TalsenIndex);
    updateCommandsEnabled();
    resize(1180, 760);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    addCommand(file, "mnuFileNew", QStringLiteral("&New"), MenuCommand::FileNew);
    addCommand(file, "mnuFileOpen", QStringLiteral("&Open"), MenuCommand::FileOpen,
               QKeySequence(Qt::CTRL | Qt::Key_O));
    addCommand(file, "mnuFileSave", QStringLiteral("&Save"), MenuCommand::FileSave,
               QKeySequence(Qt::CTRL | Qt::Key_S));
    file->addSeparator();
    addCommand(file, "mnuPageSetup", QStringLiteral("PageSet&Up"), MenuCommand::PageSetup);
    addCommand(file, "mnuFilePreview", QStringLiteral("&Print Preview"), MenuCommand::PrintPreview);
    file->addSeparator();
    QAction* exit = file->addAction(QStringLiteral("&Exit"));
    exit->setObjectName(QStringLiteral("mnuExit"));
    connect(exit, &QAction::triggered, qApp, &QApplication::quit);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    addCommand(edit, "mnuCpyGridSel", QStringLiteral("&Copy Grid Selection"),
               MenuCommand::CopyGridSelection, QKeySequence(Qt::CTRL | Qt::Key_G));
    addCommand(edit, "mnuDeleteLines", QStringLiteral("&Delete Line(s)"), MenuCommand::DeleteLines,
               QKeySequence(Qt::CTRL | Qt::Key_D));
    addCommand(edit, "mnuEditInsert", QStringLiteral("&Insert Line"), MenuCommand::InsertLine,
               QKeySequence(Qt::CTRL | Qt::Key_I));
    addCommand(edit, "mnuEditAddLine", QStringLiteral("&Add Line"), MenuCommand::AddLine);
    addCommand(edit, "mnuEditPaste", QStringLiteral("&Paste Lines"), MenuCommand::PasteLines,
               QKeySequence(Qt::CTRL | Qt::Key_P));

    QMenu* script = menuBar()->addMenu(QStringLiteral("&Script"));
    script->setObjectName(QStringLiteral("mnuScript"));
    addCommand(script, "mnuScriptOffset", QStringLiteral("&Add Offset Time to All"),
               MenuCommand::OffsetTimeAll);
    addCommand(script, "mnuScriptSelectOffsetAdd", QStringLiteral("&Add Offset Time to Selection"),
               MenuCommand::OffsetTimeSelection);
    addCommand(script, "mnuScriptSelectConstantPos",
               QStringLiteral("&Add Constant to Position in Selected Rows"),
               MenuCommand::AddConstantToPosition);

    QMenu* configuration = menuBar()->addMenu(QStringLiteral("&Configuration"));
    configuration->setObjectName(QStringLiteral("mnuConfig"));
    addCommand(configuration, "mnuConfigGridSave", QStringLiteral("Save Grid Layout"),
               MenuCommand::SaveGridLayout);
    addCommand(configuration, "mnuConfigGridLoad", QStringLiteral("Load Grid Layout"),
               MenuCommand::LoadGridLayout);
}

QAction* MainWindow::addCommand(QMenu* menu, const char* name, const QString& caption,
                                MenuCommand command, const QKeySequence& shortcut) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, [this, command] {
        WorkspaceTab* tab = currentTab();
        if (tab->serves(command)) tab->run(command);
    });
    m_commands.emplace_back(action, command);
    return action;
}

WorkspaceTab* MainWindow::currentTab() const {
    return static_cast<WorkspaceTab*>(m_tabs->currentWidget());
}

void MainWindow::updateCommandsEnabled() {
    WorkspaceTab* tab = currentTab();
    for (auto& [action, command] : m_commands) action->setEnabled(tab->serves(command));
}

void MainWindow::mirrorShowName() {
    QLineEdit* name = m_kavrinTab->showNameBox();
    QLineEdit* repeater = m_communicationsTab->showNameBox();
    // Each copies into the other only on a real change, so the pair settles after one copy.
    connect(name, &QLineEdit::textChanged, repeater, [repeater](const QString& text) {
        if (repeater->text() != text) repeater->setText(text);
    });
    connect(repeater, &QLineEdit::textChanged, name, [name](const QString& text) {
        if (name->text() != text) name->setText(text);
    });
}

void MainWindow::readFile(const QString& path) {
    switch (m_tabs->currentIndex()) {
        case TalsenIndex:
            return m_talsenTab->readFile(path);
        case KavrinIndex:
            return m_kavrinTab->readFile(path);
        case SdIndex:
            return m_sdTab->readFile(path);
        default:
            return;
    }
}

void MainWindow::openFiles(const QStringList& paths) {
    for (const QString& path : paths) {
        QString extension = QFileInfo(path).suffix().toLower();
        if (extension == QLatin1String("csv")) {
            m_tabs->setCurrentIndex(TalsenIndex);
        } else if (extension == QLatin1String("kvn")) {
            m_tabs->setCurrentIndex(KavrinIndex);
        } else if (extension == QLatin1String("scx")) {
            m_tabs->setCurrentIndex(SdIndex);
        } else {
            m_prompter.message(
                kAppTitle,
                QStringLiteral("Cannot open \"%1\": only Talsen (.csv) and Kavrin (.kvn) scripts "
                               "and SD shows (.scx) can be opened from the command line")
                    .arg(path),
                Prompter::Icon::Exclamation);
            continue;
        }
        readFile(path);
    }
}

}  // namespace fulgor
