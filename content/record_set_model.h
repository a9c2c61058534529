#pragma once

#include <QAbstractTableModel>

namespace content {

class RecordSet;

// The snapshot of a record set as a read-only table model: one row per record, one column per
// field, headers the field names. It follows the record set: rows are replaced when it opens
// and vanish when it closes.
class RecordSetModel : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RecordSetModel)

public:
    explicit RecordSetModel(RecordSet& recordSet);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Called by the record set around a change of its rows.
    void beginReplace() { beginResetModel(); }
    void endReplace() { endResetModel(); }

private:
    RecordSet& m_recordSet;
};

}  // namespace content
