#include "content/record_set.h"

#include <algorithm>

#include "content/connection.h"
#include "content/failure.h"
#include "content/record_set_model.h"
#include "content/statements.h"
#include "jet/database.h"
#include "jet/result_set.h"

namespace content {

namespace {

QString toQString(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string toU16(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

// What a field shows, for telling whether an edit changed it: null and empty text alike.
QString shownText(const QVariant& value) {
    return value.isValid() ? value.toString() : QString();
}

// Values as the views show them: text as text, numbers and dates as their display text.
QVariant toVariant(const jet::Value& value) {
    if (jet::isNull(value)) return {};
    if (const auto* text = std::get_if<std::u16string>(&value)) return toQString(*text);
    if (const auto* flag = std::get_if<bool>(&value)) return *flag;
    if (const auto* number = std::get_if<std::int64_t>(&value))
        return QVariant::fromValue<qlonglong>(*number);
    if (const auto* real = std::get_if<double>(&value)) return *real;
    return QString::fromStdString(jet::toDisplayText(value));
}

}  // namespace

RecordSet::RecordSet(const QString& name, Connection& connection, QObject* parent)
    : QObject(parent), m_name(name), m_connection(connection) {
    setObjectName(name);
    m_model = new RecordSetModel(*this);
    m_model->setParent(this);
}

RecordSet::~RecordSet() = default;

QString RecordSet::statement() const {
    return statementText(m_lines);
}

void RecordSet::clearLines() {
    const bool hadLines = !m_lines.isEmpty();
    m_lines.clear();
    if (hadLines) close();
}

void RecordSet::addLine(const QString& line) {
    m_lines.append(line);
}

void RecordSet::setLines(const QStringList& lines) {
    clearLines();
    m_lines = lines;
}

void RecordSet::open() {
    if (m_open) return;
    auto rows = std::make_unique<jet::ResultSet>(m_connection.execute(statement()));
    setRows(std::move(rows));
}

void RecordSet::openByName(const QString& name) {
    if (m_open) return;
    auto rows = std::make_unique<jet::ResultSet>(m_connection.openByName(name));
    setRows(std::move(rows));
}

void RecordSet::close() {
    if (!m_open) return;
    m_model->beginReplace();
    m_open = false;
    m_rows.reset();
    m_currentRow = -1;
    forgetChanges();
    m_model->endReplace();
    Q_EMIT openChanged(false);
    Q_EMIT currentChanged();
}

void RecordSet::setRows(std::unique_ptr<jet::ResultSet> rows) {
    m_model->beginReplace();
    m_rows = std::move(rows);
    m_open = true;
    m_currentRow = m_rows->rowCount() > 0 ? 0 : -1;
    forgetChanges();
    m_nextId = static_cast<int>(m_rows->rowCount());
    m_model->endReplace();
    Q_EMIT openChanged(true);
    Q_EMIT currentChanged();
}

void RecordSet::rebuild(const QString& statementLine) {
    // What the user typed is written before the record set closes; when it cannot be, the
    // rebuild does not happen and the change stays.
    settle();
    clearLines();
    close();
    addLine(statementLine);
    open();
}

std::optional<int> RecordSet::titleFilter(const QString& table, const QString& text) {
    if (text.isEmpty()) return std::nullopt;
    rebuild(titleFilterStatement(table, text));
    return recordCount();
}

void RecordSet::reset(const QString& table) {
    rebuild(resetStatement(table));
}

void RecordSet::questionSearch(const QString& text) {
    if (text.isEmpty()) return;
    rebuild(questionSearchStatement(text));
}

void RecordSet::answerSearch(const QString& text) {
    if (text.isEmpty()) return;
    rebuild(answerSearchStatement(text));
}

int RecordSet::storedRowCount() const {
    if (!m_open) return 0;
    return m_ordered ? static_cast<int>(m_order.size()) : static_cast<int>(m_rows->rowCount());
}

int RecordSet::recordCount() const {
    return storedRowCount() + (isNewRecordPending() ? 1 : 0);
}

void RecordSet::requireOpen() const {
    if (!m_open)
        throw Failure(m_name +
                      QStringLiteral(": Cannot perform this operation on a closed dataset"));
}

void RecordSet::setCurrentRow(int row) {
    if (row == m_currentRow) return;
    m_currentRow = row;
    Q_EMIT currentChanged();
}

void RecordSet::first() {
    requireOpen();
    settle();
    if (recordCount() > 0) setCurrentRow(0);
}

void RecordSet::prior() {
    requireOpen();
    settle();
    if (m_currentRow > 0) setCurrentRow(m_currentRow - 1);
}

void RecordSet::next() {
    requireOpen();
    settle();
    if (m_currentRow >= 0 && m_currentRow + 1 < recordCount()) setCurrentRow(m_currentRow + 1);
}

void RecordSet::last() {
    requireOpen();
    settle();
    if (recordCount() > 0) setCurrentRow(recordCount() - 1);
}

void RecordSet::moveTo(int row) {
    requireOpen();
    if (row == m_currentRow) return;
    // Settling may drop a new record, the last row; rows before it keep their numbers.
    settle();
    if (row >= 0 && row < recordCount()) setCurrentRow(row);
}

int RecordSet::columnIndex(const QString& fieldName) const {
    if (!m_open) return -1;
    return m_rows->columnIndex(fieldName.toStdU16String());
}

int RecordSet::columnCount() const {
    return m_open ? static_cast<int>(m_rows->columns().size()) : 0;
}

QString RecordSet::columnName(int column) const {
    if (column < 0 || column >= columnCount()) return {};
    return toQString(m_rows->columns()[static_cast<std::size_t>(column)].name);
}

QStringList RecordSet::columnNames() const {
    QStringList names;
    if (!m_open) return names;
    for (const auto& column : m_rows->columns()) names.append(toQString(column.name));
    return names;
}

QVariant RecordSet::value(int row, int column) const {
    if (!m_open || row < 0 || row >= recordCount() || column < 0 || column >= columnCount())
        return {};
    if (m_pending.active && row == m_currentRow) {
        const auto typed = m_pending.values.constFind(column);
        if (typed != m_pending.values.constEnd()) return *typed;
        if (m_pending.isNew) return {};
    }
    return storedValue(row, column);
}

QVariant RecordSet::storedValue(int row, int column) const {
    if (row >= storedRowCount()) return {};  // the new record
    const int id = rowId(row);
    const auto written = m_written.constFind(id);
    if (written != m_written.constEnd()) return written->values.value(column);
    auto cell = m_rows->value(static_cast<std::size_t>(id), static_cast<std::size_t>(column));
    if (!cell.ok()) throw Failure(QString::fromStdString(cell.status().message()));
    return toVariant(cell.value());
}

// ---- changes

int RecordSet::rowId(int row) const {
    return m_ordered ? m_order[static_cast<std::size_t>(row)] : row;
}

void RecordSet::materialiseOrder() {
    if (m_ordered) return;
    m_order.resize(m_rows->rowCount());
    for (std::size_t i = 0; i < m_order.size(); ++i) m_order[i] = static_cast<int>(i);
    m_ordered = true;
}

void RecordSet::forgetChanges() {
    m_order.clear();
    m_ordered = false;
    m_written.clear();
    m_pending = {};
}

jet::RowLocation RecordSet::locationOf(int id) const {
    const auto written = m_written.constFind(id);
    if (written != m_written.constEnd()) return {written->pageNumber, written->rowIndex};
    return m_rows->location(static_cast<std::size_t>(id));
}

std::uint64_t RecordSet::versionOf(int id) const {
    const auto written = m_written.constFind(id);
    if (written != m_written.constEnd()) return written->version;
    return m_rows->rowVersion(static_cast<std::size_t>(id));
}

bool RecordSet::setValue(int row, int column, const QVariant& value) {
    if (!m_open || column < 0 || column >= columnCount() || row < 0 || row != m_currentRow)
        return false;
    const QVariant text = value.isValid() ? QVariant(value.toString()) : QVariant();
    const bool starting = !m_pending.active;
    if (starting) m_pending = {true, false, -1, {}};
    m_pending.values.insert(column, text);
    m_model->cellChanged(row, column);
    if (starting) m_model->recordStateChanged(row);
    return true;
}

void RecordSet::append() {
    requireOpen();
    // An untouched new record is already the new record asked for.
    if (isNewRecordPending() && !pendingChangesSomething()) return;
    settle();
    const int row = storedRowCount();
    m_model->beginInsertRecord(row);
    m_pending = {true, true, m_currentRow, {}};
    m_currentRow = row;
    m_model->endInsertRecord();
    Q_EMIT currentChanged();
}

bool RecordSet::pendingChangesSomething() const {
    for (auto typed = m_pending.values.constBegin(); typed != m_pending.values.constEnd();
         ++typed) {
        const QVariant before =
            m_pending.isNew ? QVariant() : storedValue(m_currentRow, typed.key());
        if (shownText(before) != shownText(*typed)) return true;
    }
    return false;
}

void RecordSet::settle() {
    if (!m_pending.active) return;
    if (!pendingChangesSomething()) {
        dropPending();
        return;
    }
    jet::Database* database = m_connection.database();
    if (database == nullptr) throw Failure(m_name + QStringLiteral(": the database is not open"));
    const std::u16string table = m_rows->tableName();

    // Only the fields whose text changed are written: an untouched memo keeps its stored form.
    std::vector<std::pair<std::size_t, jet::Value>> changes;
    for (auto typed = m_pending.values.constBegin(); typed != m_pending.values.constEnd();
         ++typed) {
        const int column = typed.key();
        const QVariant before = m_pending.isNew ? QVariant() : storedValue(m_currentRow, column);
        if (shownText(before) == shownText(*typed)) continue;
        const std::uint8_t type = m_rows->columns()[static_cast<std::size_t>(column)].typeCode;
        if (type != static_cast<std::uint8_t>(jet::ColumnType::text) &&
            type != static_cast<std::uint8_t>(jet::ColumnType::memo))
            throw Failure(QStringLiteral("%1: the field '%2' cannot be changed here")
                              .arg(m_name, columnName(column)));
        const QString text = shownText(*typed);
        jet::Value stored;  // null for an emptied field
        if (!text.isEmpty()) stored = toU16(text);
        changes.emplace_back(static_cast<std::size_t>(column), std::move(stored));
    }

    const int row = m_currentRow;
    // What the row holds once written, until it is read back.
    WrittenRow merged;
    for (int column = 0; column < columnCount(); ++column) merged.values.append(value(row, column));
    if (m_pending.isNew) {
        std::vector<jet::Value> values(static_cast<std::size_t>(columnCount()));
        for (auto& [column, stored] : changes) values[column] = std::move(stored);
        auto inserted = database->insertRow(table, values);
        if (!inserted.ok()) throw Failure(QString::fromStdString(inserted.status().message()));
        materialiseOrder();
        const int id = m_nextId++;
        m_order.push_back(id);
        merged.pageNumber = inserted->pageNumber;
        merged.rowIndex = inserted->rowIndex;
        m_written.insert(id, merged);
        m_pending = {};
        takeWrittenRow(id, *inserted);
    } else {
        const int id = rowId(row);
        const jet::RowLocation location = locationOf(id);
        const jet::Status status = database->updateRow(table, location, versionOf(id), changes);
        if (!status.ok()) throw Failure(QString::fromStdString(status.message()));
        merged.pageNumber = location.pageNumber;
        merged.rowIndex = location.rowIndex;
        m_written.insert(id, merged);
        m_pending = {};
        takeWrittenRow(id, location);
    }
    m_model->rowChanged(row);
    m_model->recordStateChanged(row);
}

void RecordSet::takeWrittenRow(int id, const jet::RowLocation& location) {
    WrittenRow written;
    written.pageNumber = location.pageNumber;
    written.rowIndex = location.rowIndex;
    auto stored = m_connection.database()->readRow(m_rows->tableName(), location);
    // When the write went through but cannot be read back, the row keeps showing what was
    // written, with no version: a later write of it is refused as a conflict rather than
    // guessed at.
    if (!stored.ok() || stored->rowCount() != 1) return;
    for (std::size_t column = 0; column < stored->columns().size(); ++column) {
        auto cell = stored->value(0, column);
        written.values.append(cell.ok() ? toVariant(cell.value()) : QVariant());
    }
    written.version = stored->rowVersion(0);
    m_written.insert(id, written);
}

void RecordSet::dropPending() {
    if (!m_pending.active) return;
    if (!m_pending.isNew) {
        m_pending = {};
        m_model->rowChanged(m_currentRow);
        m_model->recordStateChanged(m_currentRow);
        return;
    }
    const int row = m_currentRow;
    const int back = m_pending.returnRow;
    m_model->beginRemoveRecord(row);
    m_pending = {};
    m_currentRow = back;
    m_model->endRemoveRecord();
    Q_EMIT currentChanged();
}

void RecordSet::cancel() {
    dropPending();
}

void RecordSet::deleteCurrent() {
    requireOpen();
    if (m_currentRow < 0) return;
    if (isNewRecordPending()) {
        dropPending();
        return;
    }
    jet::Database* database = m_connection.database();
    if (database == nullptr) throw Failure(m_name + QStringLiteral(": the database is not open"));
    const int row = m_currentRow;
    const int id = rowId(row);
    const jet::Status status =
        database->deleteRow(m_rows->tableName(), locationOf(id), versionOf(id));
    if (!status.ok()) throw Failure(QString::fromStdString(status.message()));
    m_model->beginRemoveRecord(row);
    materialiseOrder();
    m_order.erase(m_order.begin() + row);
    m_written.remove(id);
    m_pending = {};
    const int count = storedRowCount();
    m_currentRow = count == 0 ? -1 : std::min(row, count - 1);
    m_model->endRemoveRecord();
    Q_EMIT currentChanged();
}

QString RecordSet::field(const QString& fieldName) const {
    if (m_currentRow < 0) return {};
    return value(m_currentRow, columnIndex(fieldName)).toString();
}

}  // namespace content
