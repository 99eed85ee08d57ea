#include "workspace/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QUndoGroup>
#include <QUndoStack>

#include "core/number_format.h"
#include "editing/offsets.h"
#include "platform/one_line_validator.h"
#include "platform/program_settings.h"
#include "platform/prompter.h"
#include "platform/qt_text.h"
#include "platform/script_table_model.h"
#include "workspace/communications_tab.h"
#include "workspace/kavrin_tab.h"
#include "workspace/recent_files.h"
#include "workspace/sd_tab.h"
#include "workspace/talsen_tab.h"
#include "workspace/timeline_panel.h"
#include "workspace/window_memory.h"

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
    auto changeTalsen = [this](const QString& text, const std::function<void()>& change) {
        m_talsenTab->changeWholeTable(text, change);
    };
    m_sdTab = new SdTab(m_state, prompter, {changeTalsen});
    m_communicationsTab =
        new CommunicationsTab(m_state, prompter,
                              {[this] { return m_kavrinTab->miravelTiming(); },
                               [this](const QString& text, Table after) {
                                   m_kavrinTab->replaceWholeTable(text, std::move(after));
                               },
                               changeTalsen, [this] { return m_sdTab->viewEvents(); },
                               [this] { return m_sdTab->sizeOption(); }});
    m_undoGroup = new QUndoGroup(this);
    for (ScriptTab* tab :
         {static_cast<ScriptTab*>(m_talsenTab), static_cast<ScriptTab*>(m_kavrinTab)}) {
        m_undoGroup->addStack(tab->undoStack());
        connect(tab, &ScriptTab::documentChanged, this, &MainWindow::updateTitle);
    }
    const QStringList captions =
        QStringLiteral("T&alsen Scripting|&Kavrin Scripting|S&D Show Script|C&ommunications")
            .split(QLatin1Char('|'));
    m_tabs->addTab(m_talsenTab, captions[TalsenIndex]);
    m_tabs->addTab(m_kavrinTab, captions[KavrinIndex]);
    m_tabs->addTab(m_sdTab, captions[SdIndex]);
    m_tabs->addTab(m_communicationsTab, captions[CommunicationsIndex]);
    setCentralWidget(m_tabs);
    QStatusBar* bar = statusBar();
    for (WorkspaceTab* tab : findChildren<WorkspaceTab*>()) {
        connect(tab, &WorkspaceTab::statusMessage, bar,
                [bar](const QString& text) { bar->showMessage(text); });
    }

    addTimelineDock();
    buildMenus();
    mirrorShowName();
    connect(m_kavrinTab, &KavrinTab::miravelTimingChanged, m_communicationsTab,
            &CommunicationsTab::setMiravelTiming);
    connect(m_tabs, &QTabWidget::currentChanged, this, &MainWindow::tabChanged);
    for (int index : {TalsenIndex, KavrinIndex, SdIndex}) {
        connect(static_cast<WorkspaceTab*>(m_tabs->widget(index)), &WorkspaceTab::fileUsed, this,
                [this, index](const QString& path) { m_recentFiles->add(recentKey(index), path); });
    }
    m_tabs->setCurrentIndex(TalsenIndex);
    tabChanged();
    resize(1180, 760);
    restoreWindowMemory(*this, *programSettings());
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
    QMenu* recent = file->addMenu(QStringLiteral("Open &Recent"));
    recent->setObjectName(QStringLiteral("mnuFileRecent"));
    m_recentFiles = new RecentFiles(
        recent, [this](const QString& path) { openRecent(path); }, this);
    file->addSeparator();
    addCommand(file, "mnuPageSetup", QStringLiteral("PageSet&Up"), MenuCommand::PageSetup);
    addCommand(file, "mnuFilePreview", QStringLiteral("&Print Preview"), MenuCommand::PrintPreview);
    file->addSeparator();
    QAction* exit = file->addAction(QStringLiteral("&Exit"));
    exit->setObjectName(QStringLiteral("mnuExit"));
    connect(exit, &QAction::triggered, this, &MainWindow::close);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    addUndoActions(edit);
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

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    QAction* timeline = findChild<QDockWidget*>(QStringLiteral("dockTimeline"))->toggleViewAction();
    timeline->setObjectName(QStringLiteral("mnuViewTimeline"));
    timeline->setText(QStringLiteral("&Timeline"));
    timeline->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    view->addAction(timeline);
}

void MainWindow::addTimelineDock() {
    auto* dock = new QDockWidget(QStringLiteral("Timeline"), this);
    dock->setObjectName(QStringLiteral("dockTimeline"));
    m_timeline = new TimelinePanel(dock);
    dock->setWidget(m_timeline);
    addDockWidget(Qt::BottomDockWidgetArea, dock);
    // Shown on request (View > Timeline), so that the tabs keep their room.
    dock->hide();
}

QAction* MainWindow::addCommand(QMenu* menu, const char* name, const QString& caption,
                                MenuCommand command, const QKeySequence& shortcut) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, [this, command] {
        WorkspaceTab* tab = currentTab();
        if (tab->serves(command)) {
            tab->run(command);
        } else if (command == MenuCommand::OffsetTimeAll) {
            askOffsetOnly();
        }
    });
    m_commands.emplace_back(action, command);
    return action;
}

WorkspaceTab* MainWindow::currentTab() const {
    return static_cast<WorkspaceTab*>(m_tabs->currentWidget());
}

void MainWindow::addUndoActions(QMenu* edit) {
    QAction* undo = m_undoGroup->createUndoAction(this, QStringLiteral("&Undo"));
    undo->setObjectName(QStringLiteral("mnuEditUndo"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = m_undoGroup->createRedoAction(this, QStringLiteral("&Redo"));
    redo->setObjectName(QStringLiteral("mnuEditRedo"));
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
}

ScriptTab* MainWindow::currentScriptTab() const {
    return qobject_cast<ScriptTab*>(m_tabs->currentWidget());
}

void MainWindow::tabChanged() {
    ScriptTab* script = currentScriptTab();
    // On the SD and Communications tabs the timeline keeps the script last shown.
    if (script) m_timeline->setSource(script);
    m_undoGroup->setActiveStack(script ? script->undoStack() : nullptr);
    updateCommandsEnabled();
    updateTitle();
    m_recentFiles->showFor(recentKey(m_tabs->currentIndex()));
}

void MainWindow::updateCommandsEnabled() {
    WorkspaceTab* tab = currentTab();
    for (auto& [action, command] : m_commands)
        action->setEnabled(tab->serves(command) || command == MenuCommand::OffsetTimeAll);
}

void MainWindow::updateTitle() {
    QString title = QStringLiteral("Corvane Fulgor");
    ScriptTab* script = currentScriptTab();
    if (script && (!script->fileName().isEmpty() || script->isModified())) {
        QString name = script->fileName().isEmpty() ? QStringLiteral("Untitled")
                                                    : QFileInfo(script->fileName()).fileName();
        title += QStringLiteral(" - ") + name;
        if (script->isModified()) title += QLatin1Char('*');
    }
    setWindowTitle(title);
}

void MainWindow::askOffsetOnly() {
    m_prompter.input(toQString(kOffsetAllTitle), toQString(kOffsetTimePrompt),
                     toQString(shortestText(m_talsenTab->timeOffset())));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    for (ScriptTab* tab :
         {static_cast<ScriptTab*>(m_talsenTab), static_cast<ScriptTab*>(m_kavrinTab)}) {
        if (!tab->isModified()) continue;
        m_tabs->setCurrentWidget(tab);
        if (!tab->maybeSave()) {
            event->ignore();
            return;
        }
    }
    saveWindowMemory(*this, *programSettings());
    event->accept();
}

void MainWindow::mirrorShowName() {
    QLineEdit* name = m_kavrinTab->showNameBox();
    QLineEdit* repeater = m_communicationsTab->showNameBox();
    // A line break would give the Kavrin file and the panel a row of its own.
    keepOnOneLine(name);
    keepOnOneLine(repeater);
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

QString MainWindow::recentKey(int index) {
    switch (index) {
        case TalsenIndex:
            return QStringLiteral("Talsen");
        case KavrinIndex:
            return QStringLiteral("Kavrin");
        case SdIndex:
            return QStringLiteral("SD");
        default:
            return {};
    }
}

void MainWindow::openRecent(const QString& path) {
    if (!QFileInfo::exists(path)) {
        m_recentFiles->remove(recentKey(m_tabs->currentIndex()), path);
        showError(m_prompter, QStringLiteral("Cannot open \"%1\": it no longer exists, so it "
                                             "leaves the recent files")
                                  .arg(path));
        return;
    }
    ScriptTab* script = currentScriptTab();
    if (script && !script->maybeSave()) return;
    readFile(path);
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
            showError(m_prompter,
                      QStringLiteral("Cannot open \"%1\": only Talsen (.csv) and Kavrin (.kvn) "
                                     "scripts and SD shows (.scx) can be opened from the command "
                                     "line")
                          .arg(path));
            continue;
        }
        readFile(path);
    }
}

}  // namespace fulgor
