#include "content/record_set_model.h"

#include "content/failure.h"
#include "content/record_set.h"

namespace content {

RecordSetModel::RecordSetModel(RecordSet& recordSet) : m_recordSet(recordSet) {}

int RecordSetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_recordSet.recordCount();
}

int RecordSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_recordSet.columnCount();
}

QVariant RecordSetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    try {
        return m_recordSet.value(index.row(), index.column());
    } catch (const Failure&) {
        // A view asks for cells while painting; a cell that cannot be read shows empty and
        // the record panes report the error when the record is made current.
        return {};
    }
}

bool RecordSetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid()) return false;
    return m_recordSet.setValue(index.row(), index.column(), value);
}

bool RecordSetModel::insertRows(int row, int count, const QModelIndex& parent) {
    // One new record, at the end, and only where nothing needs writing first: a grid or pane
    // asks for one when the user types into a view without records.
    if (parent.isValid() || count != 1 || row != rowCount() || m_recordSet.hasPendingChange() ||
        !m_recordSet.isOpen())
        return false;
    m_recordSet.append();
    return true;
}

Qt::ItemFlags RecordSetModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void RecordSetModel::revert() {
    m_recordSet.cancel();
}

void RecordSetModel::cellChanged(int row, int column) {
    const QModelIndex cell = index(row, column);
    Q_EMIT dataChanged(cell, cell, {Qt::DisplayRole, Qt::EditRole});
}

void RecordSetModel::rowChanged(int row) {
    if (row < 0 || row >= rowCount() || columnCount() == 0) return;
    Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1),
                       {Qt::DisplayRole, Qt::EditRole});
}

void RecordSetModel::recordStateChanged(int row) {
    if (row >= 0 && row < rowCount()) Q_EMIT headerDataChanged(Qt::Vertical, row, row);
}

QVariant RecordSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical && role == kRecordStateRole) {
        if (section != m_recordSet.currentRow() || !m_recordSet.hasPendingChange()) return 0;
        return m_recordSet.isNewRecordPending() ? 2 : 1;
    }
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) {
        const QString name = m_recordSet.columnName(section);
        return name.isEmpty() ? QVariant() : QVariant(name);
    }
    return section + 1;
}

}  // namespace content
