#pragma once

#include <QTableView>

#include "controls/field_column_model.h"

namespace controls {

// A data-bound grid of one column: a title row, a narrow row indicator that marks the current
// row, column and row lines, a resizable column, cells cut at their edges. It lists one field
// of every row of a model and highlights the current row, keeping it in sight. A row the user
// picks (mouse or keys) is reported through rowPicked; the grid's current row then follows
// whatever setCurrentRow says, so the owner of the rows decides where the current row is.
// Cells accept typing, which goes to the source keystroke by keystroke (see FieldColumnModel).
// The keys that change records are reported, not acted on: Insert, and Down on the last row,
// ask for a new record; Ctrl+Delete asks for the current record to be deleted after the user
// confirmed "Delete record?"; Escape outside a cell editor drops the pending change through
// the model's revert() (inside one, the editor's own Escape does the same).
class DBGrid : public QTableView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DBGrid)

public:
    static constexpr int kIndicatorWidth = 12;

    explicit DBGrid(QWidget* parent);

    // Lists `fieldName` of every row of `source` (not owned).
    void setSource(QAbstractItemModel* source, const QString& fieldName);
    FieldColumnModel* columnModel() const { return m_columnModel; }

    // 0-based current row, or -1 for none.
    int currentRow() const { return m_currentRow; }

public Q_SLOTS:
    void setCurrentRow(int row);

Q_SIGNALS:
    void rowPicked(int row);
    void insertRequested();
    void deleteRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void onCurrentChanged(const QModelIndex& current);
    void applyCurrentRow();
    void fitRowHeight();
    void restoreColumnWidth();

    FieldColumnModel* m_columnModel = nullptr;
    int m_currentRow = -1;
    bool m_following = false;  // the current row is being set from outside, not picked
    int m_columnWidth = -1;    // as the user left it; -1 while it follows the grid's width
    bool m_sizingColumn = false;
};

}  // namespace controls
