#include "workspace/sd_tab.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include "platform/grid_layout.h"
#include "platform/grid_view_layout.h"
#include "platform/page_texts.h"
#include "platform/prompter.h"
#include "platform/qt_text.h"
#include "platform/sd_database.h"
#include "platform/sd_grid_columns.h"
#include "platform/sd_table_model.h"
#include "workspace/file_dialogs.h"
#include "workspace/grid_commands.h"
#include "workspace/widgets.h"
#include "workspace/workspace_state.h"

namespace fulgor {
namespace {

const QString kOpenTitle = QStringLiteral("Open SD Show Script File");
const QString kFilter = QStringLiteral("All Files (*.*)|*.*|Show Files (*.scx)|*.scx");
constexpr int kRecordSelectorWidth = 18;

// Limits a cell's editor to its field's width.
class EditWidthDelegate : public QStyledItemDelegate {
public:
    EditWidthDelegate(SdTableModel* model, QObject* parent)
        : QStyledItemDelegate(parent), m_model(model) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (std::optional<int> width = sdEditWidth(m_model->fieldName(index.column()));
            line && width)
            line->setMaxLength(*width);
        return editor;
    }

private:
    SdTableModel* m_model;
};

int modifierBits(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? kShiftKey : 0) |
           (modifiers & Qt::ControlModifier ? kCtrlKey : 0) |
           (modifiers & Qt::AltModifier ? kAltKey : 0);
}

}  // namespace

SdTab::SdTab(WorkspaceState& state, Prompter& prompter, Links links, QWidget* parent)
    : WorkspaceTab(parent),
      m_state(state),
      m_prompter(prompter),
      m_links(std::move(links)),
      m_model(new SdTableModel(this)) {
    m_grid = named(new QTableView(this), "TDBGrid3");
    m_grid->setModel(m_model);
    m_grid->setItemDelegate(new EditWidthDelegate(m_model, m_grid));
    m_grid->verticalHeader()->setFixedWidth(kRecordSelectorWidth);
    m_grid->verticalHeader()->setDefaultSectionSize(22);
    m_grid->horizontalHeader()->setSectionsClickable(true);
    m_grid->horizontalHeader()->setSectionsMovable(false);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->setSortingEnabled(false);
    m_grid->horizontalHeader()->viewport()->installEventFilter(this);
    m_grid->viewport()->installEventFilter(this);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &SdTab::headerClicked);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &SdTab::submitEdits);
    connect(m_model, &SdTableModel::editRefused, this, &SdTab::report);

    // The filter bar: one editable row under the headers, column for column.
    m_filters = new QStandardItemModel(1, 0, this);
    m_filterBar = named(new QTableView(this), "TDBGrid3FilterBar");
    m_filterBar->setModel(m_filters);
    m_filterBar->horizontalHeader()->hide();
    m_filterBar->verticalHeader()->setFixedWidth(kRecordSelectorWidth);
    m_filterBar->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_filterBar->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_filterBar->setEditTriggers(QAbstractItemView::AllEditTriggers);
    m_filterBar->setFixedHeight(m_filterBar->verticalHeader()->defaultSectionSize() + 4);
    m_filterBar->setToolTip(
        QStringLiteral("Filter: a text column shows the rows starting with "
                       "the text typed; a number column asks for a "
                       "comparison such as > 2"));
    connect(m_filters, &QStandardItemModel::itemChanged, this, [this](QStandardItem* item) {
        if (!m_settingFilters) filterChanged(item->column());
    });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int size) { m_filterBar->setColumnWidth(column, size); });
    connect(m_grid->horizontalScrollBar(), &QScrollBar::valueChanged,
            m_filterBar->horizontalScrollBar(), &QScrollBar::setValue);

    m_file = makeLabel("lblSDscriptFile");
    m_readOnly = makeLabel("lblSDReadOnly",
                           QStringLiteral("Read-only Jet database: shown as stored, not editable"));
    m_readOnly->setStyleSheet(QStringLiteral("color: #a03000; font-weight: bold"));
    m_readOnly->hide();
    m_lines = makeLabel("lblNumOfLines", QStringLiteral("0"));
    m_lines->setFrameShape(QFrame::StyledPanel);
    m_lines->setMinimumWidth(70);
    m_sortOrder = named(new QLineEdit, "txtSortOrderField");
    QPushButton* sort = makeButton("cmdSortSD", QStringLiteral("Sort By"));
    QPushButton* clear = makeButton("cmdClearFilter", QStringLiteral("Clear Filters"));
    connect(sort, &QPushButton::clicked, this, &SdTab::sortBy);
    connect(clear, &QPushButton::clicked, this, &SdTab::clearFilters);
    QGroupBox* calOptions = makeFrame("frmSDCalOptions", QStringLiteral("Cal/Cghz"));
    m_cal = makeOption("optSDcal", QStringLiteral("Cal"));
    m_cghz = makeOption("optSDcghz", QStringLiteral("Cghz"));
    m_cal->setChecked(true);
    QPushButton* sendToTalsen = makeButton("cmdSendToTS", QStringLiteral("Send to Talsen"));
    connect(sendToTalsen, &QPushButton::clicked, this, &SdTab::sendToTalsen);
    auto* calLayout = new QHBoxLayout(calOptions);
    calLayout->addWidget(m_cal);
    calLayout->addWidget(m_cghz);
    calLayout->addWidget(sendToTalsen);

    auto* controls = new QGridLayout;
    controls->addWidget(new QLabel(QStringLiteral("Visible Lines")), 0, 0);
    controls->addWidget(m_lines, 1, 0);
    controls->addWidget(new QLabel(QStringLiteral("Sorting Order")), 0, 1);
    controls->addWidget(m_sortOrder, 1, 1);
    controls->addWidget(sort, 1, 2);
    controls->addWidget(clear, 1, 3);
    controls->addWidget(calOptions, 0, 4, 2, 1);
    controls->setColumnStretch(1, 1);

    auto* fileLine = new QHBoxLayout;
    fileLine->addWidget(m_file, 1);
    fileLine->addWidget(m_readOnly);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fileLine);
    layout->addLayout(controls);
    layout->addWidget(m_filterBar);
    layout->addWidget(m_grid, 1);
    layout->setSpacing(4);

    m_gridCommands = std::make_unique<GridCommands>(
        prompter, *m_grid, kDirectorLayoutName, [this] { return sdPageHeader(m_file->text()); });
}

bool SdTab::serves(MenuCommand command) const {
    return command == MenuCommand::FileOpen || GridCommands::serves(command);
}

void SdTab::run(MenuCommand command) {
    if (command == MenuCommand::FileOpen) return fileOpen();
    m_gridCommands->run(command);
    if (command == MenuCommand::LoadGridLayout) followGridColumns();
}

SdTab::~SdTab() {
    submitEdits();
    // The model views the database: let it go first.
    (void)m_model->setDatabase(nullptr);
}

bool SdTab::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress)
        m_modifiers = modifierBits(static_cast<QMouseEvent*>(event)->modifiers());
    return WorkspaceTab::eventFilter(watched, event);
}

SdSize SdTab::sizeOption() const {
    return m_cal->isChecked() ? SdSize::Cal : SdSize::Cghz;
}

void SdTab::report(const QString& text) {
    m_prompter.message(kAppTitle, text, Prompter::Icon::Exclamation);
}

void SdTab::fileOpen() {
    QString name = askOpenFileName(m_state, m_prompter, kOpenTitle, kFilter);
    m_file->setText(name);
    if (name.isEmpty()) return;
    readFile(name);
}

void SdTab::readFile(const QString& path) {
    submitEdits();
    Result<std::unique_ptr<SdDatabase>> opened = [&] {
        BusyPointer busy(m_prompter);
        return SdDatabase::open(path.toStdString(), SdDatabase::Access::ReadWrite);
    }();
    if (!opened) {
        // The show already open stays, and so does the label that names it.
        m_file->setText(m_database ? toQString(m_database->path()) : QString());
        report(toQString(opened.error()));
        return;
    }
    m_file->setText(path);
    emit fileUsed(path);
    {
        // A new show starts without the old one's sort and filter.
        QScopedValueRollback quiet(m_settingFilters, true);
        m_filters->clear();
        m_filters->setRowCount(1);
        m_filters->setColumnCount(static_cast<int>(opened.value()->fields().size()) + 1);
        m_filters->setVerticalHeaderLabels({QString()});
    }
    m_sortOrder->clear();
    m_conditions.clear();
    m_sort.clear();
    Status shown = m_model->setDatabase(opened.value().get());
    m_database = std::move(opened.value());
    m_readOnly->setVisible(m_database->readOnly());
    fitColumns();
    m_lines->setText(QString::number(m_model->rowCount()));
    if (m_model->rowCount() > 0) m_grid->setCurrentIndex(m_model->index(0, 0));
    if (!shown) report(toQString(shown.error()));
}

void SdTab::fitColumns() {
    for (const PlacedColumn& column :
         sdStartingColumns(*m_model, m_grid->horizontalHeader()->fontMetrics()))
        m_grid->setColumnWidth(column.column, column.width);
    followGridColumns();
}

void SdTab::followGridColumns() {
    placeColumns(*m_filterBar, placedColumns(*m_grid));
}

void SdTab::headerClicked(int column) {
    m_sortOrder->setText(toQString(sortTextAfterHeaderClick(
        m_sortOrder->text().toStdString(), m_model->fieldName(column).toStdString(), m_modifiers)));
}

void SdTab::sortBy() {
    if (!m_database) return;
    Result<std::vector<SdSortTerm>> sort =
        parseSdSort(m_sortOrder->text().toStdString(), m_database->fields());
    if (!sort) {
        m_prompter.message(kAppTitle, toQString(sort.error()), Prompter::Icon::None);
        return;
    }
    m_sort = std::move(sort.value());
    showView();
}

void SdTab::clearFilters() {
    {
        QScopedValueRollback quiet(m_settingFilters, true);
        for (int c = 0; c < m_filters->columnCount(); ++c) m_filters->setItem(0, c, nullptr);
    }
    m_sortOrder->clear();
    if (!m_database) return;
    m_conditions.clear();
    m_sort.clear();
    showView();
}

Result<std::vector<SdCondition>> SdTab::BuildSDFilter(int column) {
    std::vector<SdColumnFilter> filters;
    QScopedValueRollback quiet(m_settingFilters, true);
    for (int c = 0; c < m_filters->columnCount(); ++c) {
        QStandardItem* item = m_filters->item(0, c);
        if (!item || !filterTakesPart(item->text().toStdString())) continue;
        std::optional<int> field = m_model->fieldOfColumn(c);
        if (!field) {
            item->setText(QString());  // "Haddr" is computed: nothing to filter on
            continue;
        }
        const SdField& f = m_database->fields()[static_cast<std::size_t>(*field)];
        if (isSdNumericType(f.type) && c == column) {
            item->setText(m_prompter.input(toQString(filterSource(f.name)),
                                           QStringLiteral("Enter filter arguments"), item->text()));
            // An empty answer is no comparison at all: refused like any other.
            if (!filterTakesPart(item->text().toStdString()))
                return Error{numericFilterRefusal(f.name, "")};
        }
        filters.push_back({*field, item->text().toStdString()});
    }
    return parseSdFilters(filters, m_database->fields());
}

void SdTab::filterChanged(int column) {
    if (!m_database) return;
    Result<std::vector<SdCondition>> conditions = BuildSDFilter(column);
    if (!conditions) {
        m_prompter.message(kAppTitle, toQString(conditions.error()), Prompter::Icon::None);
        clearFilters();
    } else {
        m_conditions = std::move(conditions.value());
        showView();
    }
    editFilterCell(column);
}

void SdTab::editFilterCell(int column) {
    QModelIndex cell = m_filters->index(0, column);
    m_filterBar->setCurrentIndex(cell);
    m_grid->scrollTo(m_model->index(m_grid->currentIndex().row(), column));
    // Once the grid has closed the editor that just committed the filter text.
    if (isVisible()) {
        QMetaObject::invokeMethod(
            this, [this, cell] { m_filterBar->edit(cell); }, Qt::QueuedConnection);
    }
}

void SdTab::showView() {
    submitEdits();
    m_database->setView(m_conditions, m_sort);
    Status shown = [&] {
        BusyPointer busy(m_prompter);
        return m_model->reload();
    }();
    m_lines->setText(QString::number(m_model->rowCount()));
    if (m_model->rowCount() > 0) m_grid->setCurrentIndex(m_model->index(0, 0));
    if (!shown) report(toQString(shown.error()));
}

void SdTab::submitEdits() {
    if (Status written = m_model->submitRow(); !written) report(toQString(written.error()));
}

Result<std::unique_ptr<SdEventSource>> SdTab::viewEvents() {
    if (!m_database) return Error{"No SD show script is open."};
    submitEdits();
    return m_database->viewEvents();
}

void SdTab::sendToTalsen() {
    Result<std::unique_ptr<SdEventSource>> events = viewEvents();
    if (!events) {
        report(toQString(events.error()));
        return;
    }
    Result<SdToTalsenOutcome> converted = [&] {
        BusyPointer busy(m_prompter);
        return SdToTalsen(*events.value(), sizeOption());
    }();
    if (!converted) {
        report(toQString(converted.error()));
        return;
    }
    m_links.changeTalsenTable(QStringLiteral("Send to Talsen"),
                              [&] { m_state.talsen = std::move(converted.value().table); });
    if (m_model->rowCount() > 0) m_grid->setCurrentIndex(m_model->index(0, 0));
    std::string skipped = skippedEventsMessage(converted.value());
    if (!skipped.empty()) report(toQString(skipped));
}

}  // namespace fulgor
