#include "controls/data_link.h"

#include <QMetaProperty>

#include "controls/db_grid.h"
#include "controls/db_memo.h"
#include "controls/error_box.h"

namespace controls {

DataLink::DataLink(QObject* parent) : QObject(parent) {}

void DataLink::setModel(QAbstractItemModel* model) {
    if (m_model) disconnect(m_model, nullptr, this, nullptr);
    m_model = model;
    if (m_model) {
        QAbstractItemModel* source = m_model;
        connect(source, &QAbstractItemModel::modelReset, this, &DataLink::followModel);
        connect(source, &QAbstractItemModel::layoutChanged, this, &DataLink::followModel);
        connect(source, &QAbstractItemModel::rowsRemoved, this, &DataLink::followModel);
        connect(source, &QAbstractItemModel::rowsInserted, this, &DataLink::followModel);
        connect(source, &QAbstractItemModel::columnsInserted, this, &DataLink::followModel);
        connect(source, &QAbstractItemModel::columnsRemoved, this, &DataLink::followModel);
        connect(source, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                    if (m_row < topLeft.row() || m_row > bottomRight.row()) return;
                    // Only the controls of the fields that changed: a keystroke in one pane
                    // must not read every other field again.
                    for (const Mapping& mapping : m_mappings) {
                        const int column = fieldColumn(mapping.fieldName);
                        if (column >= topLeft.column() && column <= bottomRight.column())
                            showRowIn(mapping);
                    }
                    // Grids follow their cells through their own models.
                });
        connect(source, &QObject::destroyed, this, &DataLink::followModel);
    }
    for (const QPointer<DBGrid>& grid : m_grids)
        if (grid) grid->setSource(m_model, grid->columnModel()->fieldName());
    followModel();
}

void DataLink::addMapping(QWidget* control, const QString& fieldName) {
    m_mappings.push_back({control, fieldName});
    if (auto* memo = qobject_cast<DBMemo*>(control)) {
        connect(memo, &DBMemo::edited, this,
                [this, memo, fieldName] { takeEdit(memo, fieldName); });
        connect(memo, &DBMemo::cancelRequested, this, [this] {
            if (m_model) m_model->revert();
        });
    }
    if (m_model && m_model->columnCount() > 0 && fieldColumn(fieldName) < 0)
        showErrorBox(
            QStringLiteral("%1: Field '%2' not found").arg(control->objectName(), fieldName));
    showRowIn(m_mappings.back());
}

void DataLink::addGrid(DBGrid* grid, const QString& fieldName) {
    m_grids.emplace_back(grid);
    grid->setSource(m_model, fieldName);
    grid->setCurrentRow(m_row);
    connect(grid, &DBGrid::rowPicked, this, &DataLink::rowPicked);
    connect(grid, &DBGrid::insertRequested, this, &DataLink::insertRequested);
    connect(grid, &DBGrid::deleteRequested, this, &DataLink::deleteRequested);
}

void DataLink::takeEdit(QWidget* control, const QString& fieldName) {
    const int column = fieldColumn(fieldName);
    if (!m_model || column < 0) return;
    const QMetaProperty property = control->metaObject()->userProperty();
    const QVariant typed = property.read(control);
    m_typingIn = control;  // the model's echo must not rewrite the control being typed in
    if (m_row < 0) m_model->insertRows(m_model->rowCount(), 1);
    const bool taken =
        m_row >= 0 && m_model->setData(m_model->index(m_row, column), typed, Qt::EditRole);
    m_typingIn = nullptr;
    if (taken) return;
    // Refused: the control shows the record as it is again.
    for (const Mapping& mapping : m_mappings)
        if (mapping.control == control) showRowIn(mapping);
}

int DataLink::fieldColumn(const QString& fieldName) const {
    if (!m_model) return -1;
    for (int column = 0; column < m_model->columnCount(); ++column) {
        const QString name =
            m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        if (name.compare(fieldName, Qt::CaseInsensitive) == 0) return column;
    }
    return -1;
}

void DataLink::setCurrentRow(int row) {
    m_row = m_model && row >= 0 && row < m_model->rowCount() ? row : -1;
    showCurrentRow();
}

void DataLink::followModel() {
    if (!m_model || m_row >= m_model->rowCount()) m_row = -1;
    showCurrentRow();
}

void DataLink::showCurrentRow() {
    for (const Mapping& mapping : m_mappings) showRowIn(mapping);
    for (const QPointer<DBGrid>& grid : m_grids)
        if (grid) grid->setCurrentRow(m_row);
}

void DataLink::showRowIn(const Mapping& mapping) {
    if (!mapping.control) return;
    if (auto* memo = qobject_cast<DBMemo*>(mapping.control.data()))
        memo->setReadOnly(!m_model || m_model->columnCount() == 0);
    if (mapping.control == m_typingIn) return;
    QString value;
    if (m_model && m_row >= 0) {
        const int column = fieldColumn(mapping.fieldName);
        if (column >= 0)
            value = m_model->data(m_model->index(m_row, column), Qt::DisplayRole).toString();
    }
    const QMetaProperty property = mapping.control->metaObject()->userProperty();
    if (property.isValid()) property.write(mapping.control, value);
}

}  // namespace controls
