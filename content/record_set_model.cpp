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

QVariant RecordSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) {
        const QStringList names = m_recordSet.columnNames();
        return section >= 0 && section < names.size() ? QVariant(names[section]) : QVariant();
    }
    return section + 1;
}

}  // namespace content
