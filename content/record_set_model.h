#pragma once

#include <QAbstractTableModel>

namespace content {

class RecordSet;

// The rows of a record set as a table model: one row per record (a pending new record
// included), one column per field, headers the field names. It follows the record set: rows
// are replaced when it opens and vanish when it closes. Cells are editable: an edit becomes
// the record set's pending change (see RecordSet::setValue), and revert() drops it. Nothing
// here writes to the file.
class RecordSetModel : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RecordSetModel)

public:
    // The vertical header's role that tells a row's editing state: 0 as read, 1 with a
    // pending edit, 2 a pending new record.
    static constexpr int kRecordStateRole = Qt::UserRole;

    explicit RecordSetModel(RecordSet& recordSet);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Starts a new record, when asked for one row at the end and no change is pending.
    bool insertRows(int row, int count, const QModelIndex& parent = {}) override;
    // Drops the record set's pending change.
    void revert() override;

    // Called by the record set around a change of its rows.
    void beginReplace() { beginResetModel(); }
    void endReplace() { endResetModel(); }
    void beginInsertRecord(int row) { beginInsertRows({}, row, row); }
    void endInsertRecord() { endInsertRows(); }
    void beginRemoveRecord(int row) { beginRemoveRows({}, row, row); }
    void endRemoveRecord() { endRemoveRows(); }
    void cellChanged(int row, int column);
    void recordStateChanged(int row);
    void rowChanged(int row);

private:
    RecordSet& m_recordSet;
};

}  // namespace content
