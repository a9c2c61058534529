#pragma once

#include <memory>
#include <optional>

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace jet {
class ResultSet;
}

namespace content {

class Connection;
class RecordSetModel;

// One statement over one content table, held as statement lines, and a snapshot of its result
// with a current record. Opening fetches the whole result; moves walk the snapshot; a rebuild
// clears the lines (which closes it), adds the new statement and opens it again.
//
// Operations that fail throw Failure with the text the user sees; a move on a closed record
// set is refused with "<name>: Cannot perform this operation on a closed dataset".
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

    // ---- the rebuilds; each returns without sending anything when `text` is empty
    // Returns the record count of the new result, or nothing when nothing was sent.
    std::optional<int> titleFilter(const QString& table, const QString& text);
    void reset(const QString& table);
    void questionSearch(const QString& text);
    void answerSearch(const QString& text);

    // ---- snapshot and current record
    int recordCount() const;  // 0 when closed
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

    // The rows as an item model (one column per field), for grids; owned by the record set.
    RecordSetModel* model() const { return m_model; }

Q_SIGNALS:
    // The current record changed, or the rows were replaced (opened or closed).
    void currentChanged();
    void openChanged(bool open);

private:
    void rebuild(const QString& statementLine);
    void requireOpen() const;
    void setRows(std::unique_ptr<jet::ResultSet> rows);
    void setCurrentRow(int row);

    QString m_name;
    Connection& m_connection;
    QStringList m_lines;
    bool m_open = false;
    std::unique_ptr<jet::ResultSet> m_rows;
    int m_currentRow = -1;
    RecordSetModel* m_model = nullptr;
};

}  // namespace content
