#include "workspace/timeline_panel.h"

#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <unordered_map>

#include "platform/script_grid_view.h"
#include "platform/script_table_model.h"
#include "platform/timeline_painter.h"
#include "show_view/address_key.h"
#include "show_view/cue_columns.h"
#include "workspace/script_tab.h"
#include "workspace/timeline_canvas.h"

namespace fulgor {
namespace {

enum UsageColumn { Module, Cues, First, Last, Pins, UsedTwice, UsageColumnCount };

QString plural(qsizetype count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

}  // namespace

TimelinePanel::TimelinePanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("timelinePanel"));
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("lblTimelineSummary"));
    m_canvas = new TimelineCanvas(this);
    m_usageTable = new QTableWidget(0, UsageColumnCount, this);
    m_usageTable->setObjectName(QStringLiteral("tblAddressUsage"));
    m_usageTable->setHorizontalHeaderLabels({QStringLiteral("Module"), QStringLiteral("Cues"),
                                             QStringLiteral("First"), QStringLiteral("Last"),
                                             QStringLiteral("Pins"), QStringLiteral("Used twice")});
    m_usageTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_usageTable->verticalHeader()->hide();
    m_usageTable->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_usageTable->horizontalHeader()->setStretchLastSection(true);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(m_canvas);
    splitter->addWidget(m_usageTable);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    // Most of the room to the picture; the usage scrolls.
    splitter->setSizes({300, 100});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_summary);
    layout->addWidget(splitter, 1);

    connect(m_canvas, &TimelineCanvas::markClicked, this, &TimelinePanel::selectRow);
    m_canvas->setDescription([this](int row) { return describeCue(row); });
}

void TimelinePanel::setSource(ScriptTab* tab) {
    if (tab == m_source) return;
    for (const QMetaObject::Connection& connection : m_connections) disconnect(connection);
    m_connections.clear();
    m_source = tab;
    m_fitNext = true;
    if (tab) {
        ScriptTableModel* model = tab->model();
        auto changed = [this] { tableChanged(); };
        m_connections = {
            // A table read from a file is shown whole.
            connect(model, &QAbstractItemModel::modelReset, this,
                    [this] {
                        m_fitNext = true;
                        tableChanged();
                    }),
            connect(model, &QAbstractItemModel::dataChanged, this, changed),
            connect(model, &QAbstractItemModel::rowsInserted, this, changed),
            connect(model, &QAbstractItemModel::rowsRemoved, this, changed),
            connect(model, &QAbstractItemModel::layoutChanged, this, changed),
            connect(tab->grid()->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                    &TimelinePanel::highlightSelection),
        };
    }
    tableChanged();
}

void TimelinePanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_stale) rebuild();
}

void TimelinePanel::tableChanged() {
    m_stale = true;
    if (m_rebuildQueued || !isVisible()) return;
    m_rebuildQueued = true;
    // Commands change a table in several notifications; rebuild once after them.
    QTimer::singleShot(0, this, [this] {
        m_rebuildQueued = false;
        if (m_stale && isVisible()) rebuild();
    });
}

void TimelinePanel::rebuild() {
    m_stale = false;
    if (!m_source) {
        m_marks = {};
        m_usage = {};
        m_summary->clear();
    } else {
        const Table& table = m_source->model()->table();
        const ScriptGrid grid = m_source->model()->grid();
        m_marks = timelineMarks(table, grid);
        m_usage = addressUsage(table, grid);
        QString text = (grid == ScriptGrid::Kavrin ? QStringLiteral("Kavrin script: ")
                                                   : QStringLiteral("Talsen script: ")) +
                       plural(static_cast<qsizetype>(m_marks.marks.size()), "cue", "cues") +
                       QStringLiteral(" on ") +
                       plural(m_marks.positionCount(), "position", "positions") +
                       QStringLiteral(", ") +
                       plural(static_cast<qsizetype>(m_usage.modules.size()), "module", "modules");
        if (m_marks.untimed > 0)
            text += QStringLiteral("; ") + plural(m_marks.untimed, "line", "lines") +
                    QStringLiteral(" without a time not drawn");
        if (int shared = m_usage.sharedAddresses(); shared > 0)
            text += QStringLiteral("; <b style=\"color:#d01818\">%1 used twice</b>")
                        .arg(plural(shared, "address", "addresses"));
        m_summary->setText(text);
    }
    m_canvas->setMarks(&m_marks, m_fitNext);
    m_fitNext = false;
    showUsage();
    highlightSelection();
}

void TimelinePanel::showUsage() {
    m_usageTable->setRowCount(static_cast<int>(m_usage.modules.size()));
    auto text = [](const std::string& s) { return QString::fromStdString(s); };
    // The colour of a module is that of its marks.
    std::unordered_map<std::string, int> colourOf;
    for (std::size_t i = 0; i < m_marks.modules.size(); ++i)
        colourOf.emplace(addressKey(m_marks.modules[i]), static_cast<int>(i));
    for (int row = 0; row < m_usageTable->rowCount(); ++row) {
        const ModuleUsage& module = m_usage.modules[static_cast<std::size_t>(row)];
        QStringList shared;
        for (const SharedPin& pin : module.shared) {
            QStringList cues;
            for (const std::string& cue : pin.cues) cues << text(cue);
            shared << QStringLiteral("pin %1: lines %2").arg(text(pin.pin), cues.join(", "));
        }
        const QStringList cells = {text(module.module),
                                   QString::number(module.cues),
                                   module.first ? text(usageClock(*module.first)) : QString(),
                                   module.last ? text(usageClock(*module.last)) : QString(),
                                   text(pinRuns(module.pins)),
                                   shared.join(QStringLiteral("; "))};
        for (int column = 0; column < UsageColumnCount; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column == Cues) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (column == UsedTwice && !module.shared.empty())
                item->setForeground(QColor::fromRgb(kFlaggedColour));
            m_usageTable->setItem(row, column, item);
        }
        auto colour = colourOf.find(addressKey(module.module));
        m_usageTable->item(row, Module)
            ->setData(Qt::DecorationRole,
                      moduleColour(colour == colourOf.end() ? -1 : colour->second));
    }
    m_usageTable->resizeColumnsToContents();
}

QString TimelinePanel::describeCue(int row) const {
    if (!m_source) return {};
    const Table& table = m_source->model()->table();
    const CueColumns columns = cueColumns(m_source->model()->grid());
    auto cell = [&](int column) {
        return QString::fromStdString(cellText(table.cell(row, column)));
    };
    QString text = QStringLiteral("Line %1: %2, Pos %3, Mod %4 Pin %5")
                       .arg(cell(columns.line), cell(columns.time), cell(columns.pos),
                            cell(columns.mod), cell(columns.pin));
    if (columns.err >= 0 && !table.cell(row, columns.err).isEmpty())
        text += QStringLiteral(", conflict ") + cell(columns.err);
    return text;
}

void TimelinePanel::selectRow(int row) {
    if (!m_source) return;
    ScriptGridView* grid = m_source->grid();
    grid->setCurrentRow(row);
    grid->selectRow(row);
}

void TimelinePanel::highlightSelection() {
    if (!m_source) return m_canvas->setHighlightedRows({});
    m_canvas->setHighlightedRows(m_source->grid()->selectedRowsInOrder());
}

}  // namespace fulgor
