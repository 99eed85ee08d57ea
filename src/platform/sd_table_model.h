#pragma once
// The SD grid's model over the open show database: the view's rows in its
// order, read from the file a screen at a time rather than all at once, the
// computed "Haddr" column, and edits held for the edited row until the grid
// leaves it (submitRow).

#include <QAbstractTableModel>
#include <QCache>
#include <optional>
#include <vector>

#include "core/result.h"
#include "platform/sd_database.h"

namespace fulgor {

class SdTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SdTableModel(QObject* parent = nullptr);

    // Shows the view of `database` (not owned; null for no show open). Any
    // pending edit must have been submitted. Fails, showing no rows, when the
    // rows cannot be read.
    Status setDatabase(SdDatabase* database);
    // Re-reads the view's rows after its sort or filter changed.
    Status reload();

    // The field a grid column shows; nothing for the computed "Haddr" column.
    std::optional<int> fieldOfColumn(int column) const;
    // The field name a column is bound to; empty for "Haddr".
    QString fieldName(int column) const;
    int haddrColumn() const { return m_haddrColumn; }

    bool hasPendingEdit() const { return m_pendingRow >= 0; }
    // Writes the edited row's changed fields to the file. On a failure the
    // edit is dropped and the row shows what the file holds.
    Status submitRow();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Holds typed text for the row; refused (false, editRefused) for a
    // read-only database, a number field given a text that is not a number,
    // or a row other than the one being edited.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    void editRefused(const QString& message);

private:
    const std::vector<SdCell>* row(int index) const;

    SdDatabase* m_database = nullptr;
    std::vector<std::int64_t> m_rowIds;
    int m_haddrColumn = 0;
    std::optional<int> m_addrField;
    mutable QCache<int, std::vector<SdCell>> m_rows;
    int m_pendingRow = -1;
    std::vector<std::pair<int, SdCell>> m_pending;
};

}  // namespace fulgor
