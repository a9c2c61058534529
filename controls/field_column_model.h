#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QFont>
#include <QPointer>

namespace controls {

// One field of another model as a one-column table: the column whose horizontal header names
// the field (ignoring case), under a title of its own, with its own fonts and colours for the
// title and the cells. Cells accept edits, which go to the source's setData, and revert()
// goes to the source's revert(). The source is not owned; when it goes away the column is
// empty.
class FieldColumnModel : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FieldColumnModel)

public:
    // The vertical header's role for a row's editing state, passed on from the source's
    // vertical header: 0 as read, 1 with a pending edit, 2 a pending new record.
    static constexpr int kRecordStateRole = Qt::UserRole;

    explicit FieldColumnModel(QObject* parent);

    void setSource(QAbstractItemModel* source, const QString& fieldName);
    QAbstractItemModel* source() const { return m_source; }
    const QString& fieldName() const { return m_fieldName; }
    // The source's column of the field, or -1 while it has none.
    int sourceColumn() const { return m_sourceColumn; }

    void setTitle(const QString& title);
    void setTitleFont(const QFont& font);
    void setTitleColor(const QColor& color);
    void setCellFont(const QFont& font);
    void setCellColor(const QColor& color);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    void revert() override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void connectSource();
    int findSourceColumn() const;
    void beginReplace();
    void endReplace();

    QPointer<QAbstractItemModel> m_source;
    QString m_fieldName;
    int m_sourceColumn = -1;
    QString m_title;
    QFont m_titleFont;
    QColor m_titleColor;
    QFont m_cellFont;
    QColor m_cellColor;
    bool m_replacing = false;
};

}  // namespace controls
