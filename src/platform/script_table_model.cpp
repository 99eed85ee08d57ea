#include "platform/script_table_model.h"

#include <QBrush>
#include <QLocale>

#include "core/number_format.h"
#include "core/script_columns.h"
#include "editing/row_highlight.h"
#include "platform/qt_text.h"

namespace fulgor {
namespace {

QString displayText(const Cell& cell, DisplayFormat format) {
    std::optional<double> value =
        format == DisplayFormat::Plain ? std::nullopt : numericValue(cell);
    if (!value) return toQString(cellText(cell));
    switch (format) {
        case DisplayFormat::Fixed:
            return toQString(formatMask(*value, "0.00"));
        case DisplayFormat::GeneralNumber:
            return toQString(shortestText(*value));
        case DisplayFormat::Currency:
            return QLocale().toCurrencyString(*value);
        case DisplayFormat::Plain:
            break;
    }
    return toQString(cellText(cell));
}

QVariant highlightBrush(Highlight highlight) {
    switch (highlight) {
        case Highlight::Yellow:
            return QBrush(QColor(255, 255, 0));
        case Highlight::Red:
            return QBrush(QColor(255, 0, 0));
        case Highlight::Cyan:
            return QBrush(QColor(0, 255, 255));
        case Highlight::None:
            break;
    }
    return {};
}

}  // namespace

ScriptTableModel::ScriptTableModel(Table& table, ScriptGrid grid,
                                   std::span<const GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), m_table(table), m_grid(grid), m_columns(columns) {}

int ScriptTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_table.rowCount();
}

int ScriptTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant ScriptTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_table.rowCount() ||
        index.column() >= m_table.columnCount())
        return {};
    switch (role) {
        case Qt::DisplayRole:
            return displayText(m_table.cell(index.row(), index.column()),
                               column(index.column()).format);
        case Qt::EditRole:
            return toQString(cellText(m_table.cell(index.row(), index.column())));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(column(index.column()).alignment | Qt::AlignVCenter);
        case Qt::BackgroundRole:
            return m_highlighting ? highlightBrush(rowHighlight(m_grid, m_table, index.row()))
                                  : QVariant();
        default:
            return {};
    }
}

QVariant ScriptTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && section >= 0 && section < columnCount()) {
        if (role == Qt::DisplayRole) return toQString(column(section).caption);
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(column(section).alignment | Qt::AlignVCenter);
    }
    // The row headers are bare record selectors: Line already numbers the rows.
    if (orientation == Qt::Vertical && role == Qt::DisplayRole) return QString();
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ScriptTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool ScriptTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() >= m_table.rowCount()) return false;
    const QByteArray typed = value.toString().toUtf8();
    std::optional<CellPatch> patch =
        typedCellPatch(m_grid, m_table, index.row(), index.column(),
                       std::string_view(typed.constData(), typed.size()));
    if (!patch) return false;
    if (m_commit) {
        m_commit(std::move(*patch));
    } else {
        applyPatch(*patch);
    }
    return true;
}

void ScriptTableModel::applyPatch(CellPatch& patch) {
    if (patch.empty()) return;
    patch.swapWith(m_table);
    // Whole rows: a row's clock text and highlight may follow the change.
    emit dataChanged(index(patch.firstRow(), 0), index(patch.lastRow(), columnCount() - 1));
}

namespace {
bool contiguous(std::span<const int> rows) {
    return !rows.empty() && rows.back() - rows.front() + 1 == static_cast<int>(rows.size());
}
}  // namespace

void ScriptTableModel::insertTableRows(std::span<const int> at, const Table& rows) {
    if (at.empty()) return;
    if (!contiguous(at)) {
        beginResetModel();
        m_table.insertRows(at, rows);
        endResetModel();
        return;
    }
    beginInsertRows({}, at.front(), at.back());
    m_table.insertRows(at, rows);
    endInsertRows();
}

void ScriptTableModel::deleteTableRows(std::span<const int> rows) {
    if (rows.empty()) return;
    if (!contiguous(rows)) {
        beginResetModel();
        m_table.deleteRows(rows);
        endResetModel();
        return;
    }
    beginRemoveRows({}, rows.front(), rows.back());
    m_table.deleteRows(rows);
    endRemoveRows();
}

void ScriptTableModel::swapTable(Table& other) {
    beginResetModel();
    std::swap(m_table, other);
    endResetModel();
}

void ScriptTableModel::reload() {
    beginResetModel();
    endResetModel();
}

void ScriptTableModel::refresh() {
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void ScriptTableModel::setHighlighting(bool on) {
    if (m_highlighting == on) return;
    m_highlighting = on;
    refresh();
}

}  // namespace fulgor
