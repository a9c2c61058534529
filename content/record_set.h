#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace jet {
class ResultSet;
struct RowLocation;
}  // namespace jet

namespace content {

class Connection;
class RecordSetModel;

// One statement over one content table, held as statement lines, and a snapshot of its result
// with a current record. Opening fetches the whole result; moves walk the snapshot; a rebuild
// clears the lines (which closes it), adds the new statement and opens it again.
//
// The current record can carry a pending change: edited field values, or a new record (always
// the last row). It is written to the table, one row at a time, when it is settled: before
// every move, before a rebuild closes the record set, and when the program ends. A change that
// changed nothing is dropped then instead. Rows this record set wrote show what was written;
// other programs' changes are not seen until the next open. An update or delete is refused
// when another program changed the record since it was read (optimistic locking).
//
// Operations that fail throw Failure with the text the user sees; a move on a closed record
// set is refused with "<name>: Cannot perform this operation on a closed dataset". When
// settling fails, the operation that needed it does not happen and the change stays pending.
class RecordSet : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RecordSet)

public:
    // `connection` must outlive the record set.
    RecordSet(const QString& name, Connection& connection, QObject* parent = nullptr);
    ~RecordSet() override;

    const QString& name() const { return m_name; }

    // ---- statement lines
    const QStringList& lines() const { return m_lines; }
    // The text the database receives: every line followed by CR LF.
    QString statement() const;
    // Empties the lines; when there were any, the record set closes at once.
    void clearLines();
    void addLine(const QString& line);
    void setLines(const QStringList& lines);

    // ---- open and closed
    bool isOpen() const { return m_open; }
    // Runs the statement; the current record becomes the first row (none when empty).
    void open();
    // Opens a table or saved query by name (the master record sets).
    void openByName(const QString& name);
    void close();

    // ---- the rebuilds; each returns without sending anything when `text` is empty. Each
    // settles the pending change first.
    // Returns the record count of the new result, or nothing when nothing was sent.
    std::optional<int> titleFilter(const QString& table, const QString& text);
    void reset(const QString& table);
    void questionSearch(const QString& text);
    void answerSearch(const QString& text);

    // ---- snapshot and current record
    int recordCount() const;  // 0 when closed; a pending new record counts
    // 0-based row of the current record, or -1 when closed or empty.
    int currentRow() const { return m_currentRow; }
    void first();
    void prior();
    void next();
    void last();
    // Makes `row` (0-based) current; out-of-range rows are ignored.
    void moveTo(int row);

    // A field of the current record by name, null and absent as empty text.
    QString field(const QString& fieldName) const;
    // Any cell of the snapshot; an invalid QVariant for null. Throws Failure when a long
    // value cannot be read.
    QVariant value(int row, int column) const;
    int columnIndex(const QString& fieldName) const;
    int columnCount() const;
    QStringList columnNames() const;
    // The name of one field; empty for a column the record set does not have.
    QString columnName(int column) const;

    // The rows as an item model (one column per field), for grids; owned by the record set.
    RecordSetModel* model() const { return m_model; }

    // ---- changes
    bool hasPendingChange() const { return m_pending.active; }
    bool isNewRecordPending() const { return m_pending.active && m_pending.isNew; }
    // Takes `value` (text; empty text stands for null) as the new value of a field of the
    // current record, which must be `row`; nothing is written yet. Returns false when the
    // record set is closed or `row` is not the current record.
    bool setValue(int row, int column, const QVariant& value);
    // Settles the pending change, then starts a new, empty record as the last row and makes it
    // current.
    void append();
    // Writes the pending change when it changed something and drops it otherwise. A written
    // new record stays where it is, as an ordinary row.
    void settle();
    // Drops the pending change: the record shows its values again; a new record goes away and
    // the record that was current before it is current again.
    void cancel();
    // Deletes the current record from the table at once (a pending edit of it goes with it; a
    // pending new record is only dropped). The next row becomes current, or the last.
    void deleteCurrent();

Q_SIGNALS:
    // The current record changed, or the rows were replaced (opened or closed).
    void currentChanged();
    void openChanged(bool open);

private:
    // A row as this record set last wrote it: every field, where it lives, its version.
    struct WrittenRow {
        QList<QVariant> values;
        std::uint32_t pageNumber = 0;
        std::uint8_t rowIndex = 0;
        std::uint64_t version = 0;
    };
    struct PendingChange {
        bool active = false;
        bool isNew = false;
        int returnRow = -1;           // new record: the row that was current before it
        QHash<int, QVariant> values;  // column -> value typed
    };

    void rebuild(const QString& statementLine);
    void requireOpen() const;
    void setRows(std::unique_ptr<jet::ResultSet> rows);
    void setCurrentRow(int row);
    void forgetChanges();
    int storedRowCount() const;  // rows without a pending new record
    int rowId(int row) const;
    void materialiseOrder();
    QVariant storedValue(int row, int column) const;
    bool pendingChangesSomething() const;
    jet::RowLocation locationOf(int rowId) const;
    std::uint64_t versionOf(int rowId) const;
    void takeWrittenRow(int rowId, const jet::RowLocation& location);
    void dropPending();

    QString m_name;
    Connection& m_connection;
    QStringList m_lines;
    bool m_open = false;
    std::unique_ptr<jet::ResultSet> m_rows;
    int m_currentRow = -1;
    RecordSetModel* m_model = nullptr;
    // Rows by id: ids below the snapshot's row count are its rows, later ids rows inserted
    // here. m_order lists the ids of the rows in order, once a row was inserted or deleted;
    // while empty the rows are the snapshot's, in its order.
    std::vector<int> m_order;
    bool m_ordered = false;
    int m_nextId = 0;
    QHash<int, WrittenRow> m_written;
    PendingChange m_pending;
};

}  // namespace content
