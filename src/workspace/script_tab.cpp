#include "workspace/script_tab.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMimeData>
#include <QScrollBar>
#include <QStyle>
#include <QUndoStack>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

#include "core/leading_number.h"
#include "core/number_format.h"
#include "editing/clipboard_rows.h"
#include "editing/header_sort.h"
#include "editing/line_edits.h"
#include "files/file_io.h"
#include "platform/grid_layout.h"
#include "platform/prompter.h"
#include "platform/qt_text.h"
#include "platform/script_grid_view.h"
#include "platform/script_table_model.h"
#include "workspace/file_dialogs.h"
#include "workspace/grid_commands.h"
#include "workspace/table_commands.h"
#include "workspace/widgets.h"
#include "workspace/workspace_state.h"

namespace fulgor {
namespace {

// The amount an offset input box answers: its leading number; nothing when
// the command is to stop (an empty answer, Cancel, 0) or the number is too
// large to add.
std::optional<double> offsetAnswer(Prompter& prompter, std::string_view title,
                                   std::string_view prompt, const QString& proposed) {
    QString answer = prompter.input(toQString(title), toQString(prompt), proposed);
    double amount = leadingNumber(answer.toStdString());
    if (amount == 0) return std::nullopt;
    if (!std::isfinite(amount)) {
        prompter.message(kAppTitle, QStringLiteral("\"%1\" is too large a number").arg(answer),
                         Prompter::Icon::Exclamation);
        return std::nullopt;
    }
    return amount;
}

}  // namespace

ScriptTab::ScriptTab(WorkspaceState& state, Prompter& prompter, const Setup& setup, QWidget* parent)
    : WorkspaceTab(parent),
      m_state(state),
      m_prompter(prompter),
      m_kind(setup.grid),
      m_openTitle(setup.openTitle),
      m_openFilter(setup.openFilter),
      m_undo(new QUndoStack(this)) {
    Table& table = setup.grid == ScriptGrid::Talsen ? state.talsen : state.kavrin;
    m_model = new ScriptTableModel(table, setup.grid, setup.columns, this);
    m_grid = named(new ScriptGridView(this), setup.gridName);
    m_grid->setScriptModel(m_model);
    for (std::size_t c = 0; c < setup.columns.size(); ++c) {
        m_grid->setColumnWidth(static_cast<int>(c), setup.columns[c].width);
    }
    // Line numbers of a show of a million rows have seven digits; the cell's
    // text margins come on top.
    const int margins =
        2 * (m_grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_grid) + 1);
    const int lineWidth =
        m_grid->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + margins + 6;
    m_grid->setColumnWidth(0, std::max(m_grid->columnWidth(0), lineWidth));
    // The sort indicator tells the order of the last header sort; a table
    // loaded or made afresh has the order it came in.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        m_sortedColumn = -1;
        showSortIndicator();
    });
    m_model->setCellCommit([this](CellPatch patch) {
        push(new PatchCommand(QStringLiteral("Typing"), *m_grid, std::move(patch)));
    });
    connect(m_grid, &ScriptGridView::headerClicked, this, &ScriptTab::sortByHeader);
    connect(m_grid, &ScriptGridView::deleteRowsRequested, this, &ScriptTab::deleteLines);
    connect(m_undo, &QUndoStack::cleanChanged, this, &ScriptTab::documentChanged);
    m_gridCommands = std::make_unique<GridCommands>(
        prompter, *m_grid, setup.grid == ScriptGrid::Talsen ? kTalsenLayoutName : kKavrinLayoutName,
        [this] { return pageHeader(); });
}

// The history emits its last signals as it is destroyed with the tab: they must reach no one.
ScriptTab::~ScriptTab() {
    m_undo->disconnect(this);
}

bool ScriptTab::serves(MenuCommand command) const {
    switch (command) {
        case MenuCommand::FileNew:
        case MenuCommand::FileOpen:
        case MenuCommand::FileSave:
        case MenuCommand::CopyGridSelection:
        case MenuCommand::DeleteLines:
        case MenuCommand::InsertLine:
        case MenuCommand::AddLine:
        case MenuCommand::PasteLines:
        case MenuCommand::OffsetTimeAll:
        case MenuCommand::OffsetTimeSelection:
        case MenuCommand::AddConstantToPosition:
            return true;
        default:
            return GridCommands::serves(command);
    }
}

void ScriptTab::run(MenuCommand command) {
    switch (command) {
        case MenuCommand::FileNew:
            if (!maybeSave()) return;
            fileNew();
            return matchFile(QString(), true);
        case MenuCommand::FileOpen:
            return fileOpen();
        case MenuCommand::FileSave:
            return save();
        case MenuCommand::CopyGridSelection:
            return copyGridSelection();
        case MenuCommand::DeleteLines:
            return deleteLines();
        case MenuCommand::InsertLine:
            return insertLine();
        case MenuCommand::AddLine:
            return addLine();
        case MenuCommand::PasteLines:
            return pasteLines();
        case MenuCommand::OffsetTimeAll:
            return offsetTimeAll();
        case MenuCommand::OffsetTimeSelection:
            return offsetTimeSelection();
        case MenuCommand::AddConstantToPosition:
            return addConstantToPosition();
        default:
            if (GridCommands::serves(command)) m_gridCommands->run(command);
            return;
    }
}

void ScriptTab::fileOpen() {
    if (!maybeSave()) return;
    QString name = askOpenFileName(m_state, m_prompter, m_openTitle, m_openFilter);
    if (!name.isEmpty()) readFile(name);
}

void ScriptTab::readFile(const QString& path) {
    LongCommand command(m_prompter, QStringLiteral("Opening %1").arg(QFileInfo(path).fileName()));
    std::optional<ShownBefore> before = showFirstScreen(path);
    Status loaded = load(path, command.report());
    if (before && (!loaded || command.cancelled())) showAgain(std::move(*before));
    if (command.cancelled()) return;
    if (loaded) matchFile(path, true);
    report(loaded);
}

std::optional<ScriptTab::ShownBefore> ScriptTab::showFirstScreen(const QString& path) {
    // A file of a few megabytes reads in a blink; a million cues take a few
    // tenths of a second, which the user would spend looking at the script
    // they are leaving. Their first lines, read at once, fill the screen.
    constexpr std::size_t kLargeFileBytes = std::size_t{4} << 20;
    constexpr std::size_t kFirstLinesBytes = std::size_t{64} << 10;  // a thousand rows and more
    if (QFileInfo(path).size() <= static_cast<qint64>(kLargeFileBytes)) return std::nullopt;
    std::optional<std::string> lines = readLeadingLines(path.toStdString(), kFirstLinesBytes);
    if (!lines) return std::nullopt;
    const QModelIndex current = m_grid->currentIndex();
    ShownBefore before{leadingRows(*lines), current.row(), current.column(),
                       m_grid->verticalScrollBar()->value(),
                       m_grid->horizontalScrollBar()->value()};
    m_model->swapTable(before.table);
    m_grid->setCurrentRow(0);
    // The progress dialog runs the event loop only once it shows, half a
    // second on: the grid is laid out and painted now. The user's keys and
    // clicks wait, so that nothing edits rows that are only on show.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return before;
}

void ScriptTab::showAgain(ShownBefore before) {
    m_model->swapTable(before.table);
    if (before.currentRow >= 0)
        m_grid->setCurrentIndex(m_model->index(before.currentRow, before.currentColumn));
    m_grid->verticalScrollBar()->setValue(before.verticalScroll);
    m_grid->horizontalScrollBar()->setValue(before.horizontalScroll);
}

void ScriptTab::save() {
    QString name = saveScript();
    if (!name.isEmpty()) matchFile(name, false);
}

void ScriptTab::matchFile(const QString& name, bool opened) {
    m_fileName = name;
    if (opened) m_undo->clear();
    m_undo->setClean();
    m_headerEdited = false;
    emit documentChanged();
    if (!name.isEmpty()) emit fileUsed(name);
}

bool ScriptTab::isModified() const {
    return m_headerEdited || !m_undo->isClean();
}

void ScriptTab::markHeaderEdited() {
    if (m_headerEdited) return;
    m_headerEdited = true;
    emit documentChanged();
}

bool ScriptTab::maybeSave() {
    if (!isModified()) return true;
    QString script = m_kind == ScriptGrid::Talsen ? QStringLiteral("Talsen script")
                                                  : QStringLiteral("Kavrin script");
    if (!m_fileName.isEmpty())
        script += QStringLiteral(" \"%1\"").arg(QFileInfo(m_fileName).fileName());
    QString question =
        QStringLiteral("The %1 has changes that are not saved. Save them first?").arg(script);
    switch (m_prompter.askSaveChanges(kAppTitle, question)) {
        case Prompter::SaveChoice::Save:
            save();
            return !isModified();
        case Prompter::SaveChoice::Discard:
            return true;
        case Prompter::SaveChoice::Cancel:
            break;
    }
    return false;
}

void ScriptTab::report(const Status& status) {
    if (!status) showError(m_prompter, QString::fromStdString(status.error()));
}

void ScriptTab::showFirstRow() {
    m_model->reload();
    m_grid->setCurrentRow(0);
}

void ScriptTab::push(QUndoCommand* command) {
    m_undo->push(command);
}

void ScriptTab::changeWholeTable(const QString& text, const std::function<void()>& change) {
    Table& table = m_model->table();
    Table before = table;
    const int current = m_grid->currentRow();
    change();
    recordWholeTableChange(text, std::move(before), current);
}

void ScriptTab::reorderTable(const QString& text, std::vector<int> columns, Lines lines,
                             const SortedChange& change, const LongCommand& command) {
    Table& table = m_model->table();
    std::optional<KeptLines> linesBefore;
    if (lines == Lines::Renumbered) {
        // Line holding 1..n is kept as that alone; any other Line is copied
        // with the rewritten columns, after the sort.
        const KeptLines::Form form = lineForm(table);
        if (form == KeptLines::Form::Copied) {
            columns.push_back(kLineColumn);
        } else {
            linesBefore = KeptLines{form, {}};
        }
    }
    // Kept after the sort, not before: the sort's working memory is free by
    // then, and a million-row show never holds both at once.
    std::optional<KeptColumns> columnsBefore;
    const int current = m_grid->currentRow();
    Reordered reordered = change([&] { columnsBefore.emplace(table, columns); });
    if (!columnsBefore) {
        // Nothing was sorted, so nothing changed.
        m_model->refresh();
        return;
    }
    Reorder reorder{std::move(reordered.order), std::move(*columnsBefore), std::move(linesBefore)};
    if (command.cancelled()) {
        // Stopped part-way: nothing of the command stays, and the grid, which
        // was never told of a change, needs only its cells painted again.
        undoReorder(table, reorder);
        m_model->refresh();
        return;
    }
    if (reordered.showBeside) reordered.showBeside(true);
    const bool linesChanged =
        reorder.linesBefore && reorder.linesBefore->form != KeptLines::Form::Numbers;
    if (reorder.order.empty() && !reordered.besideChanged && !linesChanged &&
        reorder.otherColumns.matches(table)) {
        m_model->refresh();
        return;
    }
    m_model->reload();
    m_grid->setCurrentRow(std::min(current, table.rowCount() - 1));
    push(new ReorderCommand(text, *m_grid, std::move(reorder), std::move(reordered.showBeside)));
}

void ScriptTab::replaceWholeTable(const QString& text, Table after) {
    const int current = m_grid->currentRow();
    std::swap(m_model->table(), after);  // `after` holds the table as it was now
    recordWholeTableChange(text, std::move(after), current);
}

void ScriptTab::recordWholeTableChange(const QString& text, Table before, int current) {
    const Table& table = m_model->table();
    if (table == before) {
        m_model->refresh();
        return;
    }
    m_model->reload();
    m_grid->setCurrentRow(std::min(current, table.rowCount() - 1));
    push(new WholeTableCommand(text, *m_grid, std::move(before)));
}

void ScriptTab::sortByHeader(int column) {
    BusyPointer busy(m_prompter);
    HeaderSort sort = fulgor::sortByHeader(m_kind, m_model->table(), column);
    // Rows moved under the selection: what was selected does not stand there now.
    m_grid->clearSelection();
    m_model->refresh();
    const int before = m_sortedColumn;
    const int after = headerSortKeys(m_kind, column).empty() ? before : column;
    auto showSorted = [this, before, after](bool sorted) {
        m_sortedColumn = sorted ? after : before;
        showSortIndicator();
    };
    showSorted(true);
    if (sort.changedAnything)
        push(new SortCommand(QStringLiteral("Sort"), *m_grid, std::move(sort), showSorted));
    m_grid->setCurrentRow(0);
}

void ScriptTab::showSortIndicator() {
    // The header moves and flips its indicator on every click by itself; the
    // sorts here are always ascending, and a column that sorts nothing leaves
    // the order (and so the indicator) as it was.
    QHeaderView* header = m_grid->horizontalHeader();
    header->setSortIndicatorShown(m_sortedColumn >= 0);
    if (m_sortedColumn >= 0) header->setSortIndicator(m_sortedColumn, Qt::AscendingOrder);
}

void ScriptTab::copyGridSelection() {
    const std::vector<int>& rows = m_grid->selectedRowsInOrder();
    if (rows.empty()) {
        m_prompter.message(kAppTitle, toQString(kNothingSelected), Prompter::Icon::None);
        return;
    }
    const Table& table = m_model->table();
    QGuiApplication::clipboard()->setText(QString::fromStdString(clipboardText(table, rows)));
    m_prompter.message(
        kAppTitle,
        toQString(copiedReport(m_kind, static_cast<int>(rows.size()), table.columnCount())),
        Prompter::Icon::None);
}

void ScriptTab::insertRows(const QString& text, int first, Table rows, int currentAfter) {
    std::vector<int> at(static_cast<std::size_t>(rows.rowCount()));
    std::iota(at.begin(), at.end(), first);
    push(new RowsCommand(text, *m_grid, RowsCommand::Kind::Insert, {std::move(at), std::move(rows)},
                         currentAfter));
}

void ScriptTab::insertLine() {
    const Table& table = m_model->table();
    RowsPlacement place = placeInsertedLine(table.rowCount(), m_grid->currentRow());
    insertRows(QStringLiteral("Insert Line"), place.first, Table(1, table.columnCount()),
               place.currentAfter);
}

void ScriptTab::addLine() {
    const Table& table = m_model->table();
    RowsPlacement place = placeAddedLine(table.rowCount());
    insertRows(QStringLiteral("Add Line"), place.first, Table(1, table.columnCount()),
               place.currentAfter);
}

void ScriptTab::pasteLines() {
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    if (!clip || !clip->hasText()) return;
    BusyPointer busy(m_prompter);
    const Table& table = m_model->table();
    Table rows = pastedRows(m_kind, clip->text().toStdString(), table.columnCount());
    if (rows.rowCount() == 0) return;
    RowsPlacement place = placePastedRows(table.rowCount(), m_grid->currentRow(), rows.rowCount());
    insertRows(QStringLiteral("Paste Lines"), place.first, std::move(rows), place.currentAfter);
}

void ScriptTab::deleteLines() {
    const Table& table = m_model->table();
    std::vector<int> rows = rowsToDelete(m_grid->selectedRowsInOrder(), table.rowCount());
    if (rows.empty()) return;
    BusyPointer busy(m_prompter);
    int currentAfter =
        currentAfterDelete(rows.front(), table.rowCount() - static_cast<int>(rows.size()));
    Table removed = table.copyRows(rows);
    push(new RowsCommand(QStringLiteral("Delete Line(s)"), *m_grid, RowsCommand::Kind::Delete,
                         {std::move(rows), std::move(removed)}, currentAfter));
}

void ScriptTab::applyOffset(const QString& text, std::string_view column, OffsetEdit edit) {
    if (!edit.patch.empty()) push(new PatchCommand(text, *m_grid, std::move(edit.patch)));
    if (!edit.notNumbers.empty())
        m_prompter.message(kAppTitle, toQString(notNumbersWarning(column, edit.notNumbers)),
                           Prompter::Icon::Exclamation);
}

// The amount added to every Time is the answer of the input box, which
// proposes the showing tab's offset box: the operator sees the number that
// will be added and may change it.
void ScriptTab::offsetTimeAll() {
    QString proposed = toQString(shortestText(timeOffset()));
    std::optional<double> amount =
        offsetAnswer(m_prompter, kOffsetAllTitle, kOffsetTimePrompt, proposed);
    if (!amount) return;
    BusyPointer busy(m_prompter);
    applyOffset(QStringLiteral("Add Offset Time to All"), "Time",
                fulgor::offsetTimeAll(m_kind, m_model->table(), *amount));
}

void ScriptTab::offsetTimeSelection() {
    QString proposed = toQString(shortestText(timeOffset()));
    std::optional<double> amount =
        offsetAnswer(m_prompter, kOffsetSelectionTitle, kOffsetTimePrompt, proposed);
    const std::vector<int>& rows = m_grid->selectedRowsInOrder();
    if (!amount || rows.empty()) return;
    BusyPointer busy(m_prompter);
    applyOffset(
        QStringLiteral("Add Offset Time to Selection"), "Time",
        fulgor::offsetTimeSelection(m_kind, m_model->table(), rows, *amount, miravelTiming()));
}

void ScriptTab::addConstantToPosition() {
    std::optional<double> amount =
        offsetAnswer(m_prompter, kOffsetPositionTitle, kOffsetPositionPrompt, QString());
    const std::vector<int>& rows = m_grid->selectedRowsInOrder();
    if (!amount || rows.empty()) return;
    BusyPointer busy(m_prompter);
    applyOffset(QStringLiteral("Add Constant to Position"), "Pos",
                addToPosition(m_kind, m_model->table(), rows, *amount));
}

}  // namespace fulgor
