#include "platform/sd_table_model.h"

#include <cmath>

#include "core/leading_number.h"
#include "core/number_format.h"
#include "platform/qt_text.h"

namespace fulgor {
namespace {

// Rows kept in memory: several screens, never the whole show.
constexpr int kCachedRows = 2000;

QVariant shown(const SdValue& value) {
    if (value.kind == SdValue::Kind::Null) return {};
    return toQString(sdText(value));
}

}  // namespace

SdTableModel::SdTableModel(QObject* parent) : QAbstractTableModel(parent), m_rows(kCachedRows) {}

Status SdTableModel::setDatabase(SdDatabase* database) {
    beginResetModel();
    m_database = database;
    m_rowIds.clear();
    m_rows.clear();
    m_pendingRow = -1;
    m_pending.clear();
    int fields = database ? static_cast<int>(database->fields().size()) : 0;
    // "Haddr" stands after the tenth field, as in the show-design program's own grid.
    m_haddrColumn = std::min(10, fields);
    m_addrField = database ? findSdField(database->fields(), kAddrField) : std::nullopt;
    endResetModel();
    return reload();
}

Status SdTableModel::reload() {
    beginResetModel();
    m_rows.clear();
    m_rowIds.clear();
    Status status;
    if (m_database) {
        Result<std::vector<std::int64_t>> ids = m_database->viewRowIds();
        if (ids) {
            m_rowIds = std::move(ids.value());
        } else {
            status = Error{ids.error()};
        }
    }
    endResetModel();
    return status;
}

std::optional<int> SdTableModel::fieldOfColumn(int column) const {
    if (!m_database || column == m_haddrColumn || column < 0 || column >= columnCount())
        return std::nullopt;
    return column < m_haddrColumn ? column : column - 1;
}

QString SdTableModel::fieldName(int column) const {
    std::optional<int> field = fieldOfColumn(column);
    return field ? toQString(m_database->fields()[static_cast<std::size_t>(*field)].name)
                 : QString();
}

const std::vector<SdCell>* SdTableModel::row(int index) const {
    if (std::vector<SdCell>* cached = m_rows.object(index)) return cached;
    Result<std::vector<SdCell>> read =
        m_database->readRow(m_rowIds[static_cast<std::size_t>(index)]);
    if (!read) return nullptr;
    auto* cells = new std::vector<SdCell>(std::move(read.value()));
    m_rows.insert(index, cells);
    return cells;
}

int SdTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rowIds.size());
}

int SdTableModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid() || !m_database) return 0;
    return static_cast<int>(m_database->fields().size()) + 1;
}

QVariant SdTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::TextAlignmentRole && index.column() == m_haddrColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    const std::vector<SdCell>* cells = row(index.row());
    if (!cells) return {};
    if (index.column() == m_haddrColumn) {
        if (!m_addrField) return {};
        return toQString(haddrText((*cells)[static_cast<std::size_t>(*m_addrField)].value()));
    }
    return shown((*cells)[static_cast<std::size_t>(*fieldOfColumn(index.column()))].value());
}

QVariant SdTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Vertical) return {};
    return section == m_haddrColumn ? toQString(kHaddrColumn) : fieldName(section);
}

Qt::ItemFlags SdTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (m_database && !m_database->readOnly() && index.column() != m_haddrColumn)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool SdTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    std::optional<int> field = fieldOfColumn(index.column());
    if (role != Qt::EditRole || !field || !index.isValid()) return false;
    if (m_database->readOnly()) {
        emit editRefused(QStringLiteral("\"%1\" is a read-only Jet database: it cannot be edited.")
                             .arg(toQString(m_database->path())));
        return false;
    }
    if (m_pendingRow >= 0 && m_pendingRow != index.row()) return false;
    const SdField& f = m_database->fields()[static_cast<std::size_t>(*field)];
    std::string typed = value.toString().toStdString();
    SdCell cell;  // an emptied cell holds no value
    if (!typed.empty() && isSdNumericType(f.type)) {
        std::optional<double> number = decimalNumber(typed);
        if (!number || !std::isfinite(*number)) {
            emit editRefused(QStringLiteral("%1 holds a number: \"%2\" is not one.")
                                 .arg(toQString(f.name), value.toString()));
            return false;
        }
        cell = {SdValue::Kind::Number, *number, {}};
    } else if (!typed.empty()) {
        cell = {SdValue::Kind::Text, 0, typed};
    }
    const std::vector<SdCell>* cells = row(index.row());
    if (!cells) return false;
    std::vector<SdCell> changed = *cells;
    changed[static_cast<std::size_t>(*field)] = cell;
    m_rows.insert(index.row(), new std::vector<SdCell>(std::move(changed)));
    std::erase_if(m_pending, [&](const auto& change) { return change.first == *field; });
    m_pending.emplace_back(*field, std::move(cell));
    m_pendingRow = index.row();
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    return true;
}

Status SdTableModel::submitRow() {
    if (m_pendingRow < 0) return {};
    int edited = m_pendingRow;
    Status written = m_database->updateRow(m_rowIds[static_cast<std::size_t>(edited)], m_pending);
    m_pendingRow = -1;
    m_pending.clear();
    if (!written) {
        m_rows.remove(edited);
        emit dataChanged(index(edited, 0), index(edited, columnCount() - 1));
    }
    return written;
}

}  // namespace fulgor
