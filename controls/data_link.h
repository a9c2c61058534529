#pragma once

#include <vector>

#include <QAbstractItemModel>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace controls {

class DBGrid;

// Binds controls to the rows of a model and a current row, the way QDataWidgetMapper does:
// each mapped control shows one field of the current row through its user property (`value`
// of DBText and DBMemo, `text` of a QLineEdit), and every grid lists one field of all rows with
// the current row highlighted. The link follows the model (rows replaced, values changed) and
// setCurrentRow; controls never learn where their values come from.
//
// A row picked in a grid is not made current here: it is reported through rowPicked, and the
// owner of the rows moves its current record and calls setCurrentRow back.
//
// What the user types into a mapped DBMemo goes to the model's setData for the current row,
// keystroke by keystroke (in a view without rows the model is first asked for a new row with
// insertRows); grids do the same through their cells. Escape in either calls the model's
// revert(). A grid's requests for a new record or a delete are passed on through
// insertRequested and deleteRequested, for the owner of the rows to carry out. While the model
// has no fields (nothing open) the memos are read-only.
class DataLink : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DataLink)

public:
    explicit DataLink(QObject* parent);

    // The model is not owned; when it goes away the controls show nothing.
    void setModel(QAbstractItemModel* model);
    QAbstractItemModel* model() const { return m_model; }

    // Shows `fieldName` of the current row in `control`. When the model has fields and none of
    // them is `fieldName`, the error box says "<control>: Field '<fieldName>' not found" and the
    // control stays empty.
    void addMapping(QWidget* control, const QString& fieldName);
    // Lists `fieldName` of every row in `grid` and follows its picks.
    void addGrid(DBGrid* grid, const QString& fieldName);

    // The model's column of a field (ignoring case), -1 when it has none.
    int fieldColumn(const QString& fieldName) const;

    // 0-based current row, or -1 for none.
    int currentRow() const { return m_row; }

public Q_SLOTS:
    // Makes `row` current and shows it in every control; -1 or a row the model does not have
    // leaves the controls empty.
    void setCurrentRow(int row);

Q_SIGNALS:
    // The user picked `row` (0-based) in one of the grids.
    void rowPicked(int row);
    void insertRequested();
    void deleteRequested();

private:
    struct Mapping {
        QPointer<QWidget> control;
        QString fieldName;
    };

    void showCurrentRow();
    void showRowIn(const Mapping& mapping);
    void followModel();
    void takeEdit(QWidget* control, const QString& fieldName);

    QPointer<QAbstractItemModel> m_model;
    std::vector<Mapping> m_mappings;
    std::vector<QPointer<DBGrid>> m_grids;
    int m_row = -1;
    QWidget* m_typingIn = nullptr;  // the control whose typing is being passed on
};

}  // namespace controls
