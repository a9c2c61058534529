#include "controls/field_column_model.h"

namespace controls {

FieldColumnModel::FieldColumnModel(QObject* parent) : QAbstractTableModel(parent) {}

void FieldColumnModel::setSource(QAbstractItemModel* source, const QString& fieldName) {
    beginResetModel();
    if (m_source) disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    m_fieldName = fieldName;
    m_sourceColumn = findSourceColumn();
    connectSource();
    endResetModel();
}

void FieldColumnModel::connectSource() {
    if (!m_source) return;
    QAbstractItemModel* source = m_source;
    connect(source, &QAbstractItemModel::modelAboutToBeReset, this,
            &FieldColumnModel::beginReplace);
    connect(source, &QAbstractItemModel::modelReset, this, &FieldColumnModel::endReplace);
    // Anything that moves columns or rows around is taken as a replacement of the rows.
    connect(source, &QAbstractItemModel::layoutAboutToBeChanged, this,
            &FieldColumnModel::beginReplace);
    connect(source, &QAbstractItemModel::layoutChanged, this, &FieldColumnModel::endReplace);
    connect(source, &QAbstractItemModel::columnsAboutToBeInserted, this,
            &FieldColumnModel::beginReplace);
    connect(source, &QAbstractItemModel::columnsInserted, this, &FieldColumnModel::endReplace);
    connect(source, &QAbstractItemModel::columnsAboutToBeRemoved, this,
            &FieldColumnModel::beginReplace);
    connect(source, &QAbstractItemModel::columnsRemoved, this, &FieldColumnModel::endReplace);
    connect(source, &QAbstractItemModel::rowsAboutToBeInserted, this,
            &FieldColumnModel::beginReplace);
    connect(source, &QAbstractItemModel::rowsInserted, this, &FieldColumnModel::endReplace);
    connect(source, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            &FieldColumnModel::beginReplace);
    connect(source, &QAbstractItemModel::rowsRemoved, this, &FieldColumnModel::endReplace);
    connect(source, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                if (m_sourceColumn < topLeft.column() || m_sourceColumn > bottomRight.column())
                    return;
                Q_EMIT dataChanged(index(topLeft.row(), 0), index(bottomRight.row(), 0));
            });
    connect(source, &QAbstractItemModel::headerDataChanged, this,
            [this](Qt::Orientation orientation, int first, int last) {
                if (orientation == Qt::Vertical) {
                    Q_EMIT headerDataChanged(Qt::Vertical, first, last);
                    return;
                }
                beginReplace();
                endReplace();
            });
    connect(source, &QObject::destroyed, this, [this] {
        beginReplace();
        endReplace();
    });
}

void FieldColumnModel::beginReplace() {
    if (m_replacing) return;
    m_replacing = true;
    beginResetModel();
}

void FieldColumnModel::endReplace() {
    if (!m_replacing) return;
    m_sourceColumn = findSourceColumn();
    m_replacing = false;
    endResetModel();
}

int FieldColumnModel::findSourceColumn() const {
    if (!m_source) return -1;
    for (int column = 0; column < m_source->columnCount(); ++column) {
        const QString name =
            m_source->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        if (name.compare(m_fieldName, Qt::CaseInsensitive) == 0) return column;
    }
    return -1;
}

void FieldColumnModel::setTitle(const QString& title) {
    m_title = title;
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, 0);
}

void FieldColumnModel::setTitleFont(const QFont& font) {
    m_titleFont = font;
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, 0);
}

void FieldColumnModel::setTitleColor(const QColor& color) {
    m_titleColor = color;
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, 0);
}

void FieldColumnModel::setCellFont(const QFont& font) {
    m_cellFont = font;
    if (rowCount() > 0) Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::FontRole});
}

void FieldColumnModel::setCellColor(const QColor& color) {
    m_cellColor = color;
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::ForegroundRole});
}

int FieldColumnModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !m_source || m_replacing) return 0;
    return m_source->rowCount();
}

int FieldColumnModel::columnCount(const QModelIndex& parent) const {
    // The column and its title stay while the source has no rows or is closed, as a grid
    // shows its titles over an empty table.
    return parent.isValid() ? 0 : 1;
}

QVariant FieldColumnModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole: {
            if (m_sourceColumn < 0) return {};
            return m_source->data(m_source->index(index.row(), m_sourceColumn), Qt::DisplayRole);
        }
        case Qt::FontRole:
            return m_cellFont;
        case Qt::ForegroundRole:
            return m_cellColor.isValid() ? QVariant(m_cellColor) : QVariant();
        default:
            return {};
    }
}

bool FieldColumnModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || index.row() >= rowCount() || m_sourceColumn < 0)
        return false;
    // The source tells of the change through dataChanged, which this model passes on.
    return m_source->setData(m_source->index(index.row(), m_sourceColumn), value, Qt::EditRole);
}

void FieldColumnModel::revert() {
    if (m_source) m_source->revert();
}

Qt::ItemFlags FieldColumnModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant FieldColumnModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        if (role != kRecordStateRole || !m_source || section < 0 || section >= rowCount())
            return {};
        return m_source->headerData(section, Qt::Vertical, kRecordStateRole);
    }
    if (section != 0) return {};
    switch (role) {
        case Qt::DisplayRole:
            return m_title;
        case Qt::FontRole:
            return m_titleFont;
        case Qt::ForegroundRole:
            return m_titleColor.isValid() ? QVariant(m_titleColor) : QVariant();
        default:
            return {};
    }
}

}  // namespace controls
