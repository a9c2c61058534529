#include "content/record_set.h"

#include "content/connection.h"
#include "content/failure.h"
#include "content/record_set_model.h"
#include "content/statements.h"
#include "jet/result_set.h"

namespace content {

namespace {

QString toQString(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
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

QString RecordSet::statement() const { return statementText(m_lines); }

void RecordSet::clearLines() {
    const bool hadLines = !m_lines.isEmpty();
    m_lines.clear();
    if (hadLines) close();
}

void RecordSet::addLine(const QString& line) { m_lines.append(line); }

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
    m_model->endReplace();
    Q_EMIT openChanged(false);
    Q_EMIT currentChanged();
}

void RecordSet::setRows(std::unique_ptr<jet::ResultSet> rows) {
    m_model->beginReplace();
    m_rows = std::move(rows);
    m_open = true;
    m_currentRow = m_rows->rowCount() > 0 ? 0 : -1;
    m_model->endReplace();
    Q_EMIT openChanged(true);
    Q_EMIT currentChanged();
}

void RecordSet::rebuild(const QString& statementLine) {
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

void RecordSet::reset(const QString& table) { rebuild(resetStatement(table)); }

void RecordSet::questionSearch(const QString& text) {
    if (text.isEmpty()) return;
    rebuild(questionSearchStatement(text));
}

void RecordSet::answerSearch(const QString& text) {
    if (text.isEmpty()) return;
    rebuild(answerSearchStatement(text));
}

int RecordSet::recordCount() const {
    return m_open ? static_cast<int>(m_rows->rowCount()) : 0;
}

void RecordSet::requireOpen() const {
    if (!m_open)
        throw Failure(m_name + QStringLiteral(": Cannot perform this operation on a closed dataset"));
}

void RecordSet::setCurrentRow(int row) {
    if (row == m_currentRow) return;
    m_currentRow = row;
    Q_EMIT currentChanged();
}

void RecordSet::first() {
    requireOpen();
    if (recordCount() > 0) setCurrentRow(0);
}

void RecordSet::prior() {
    requireOpen();
    if (m_currentRow > 0) setCurrentRow(m_currentRow - 1);
}

void RecordSet::next() {
    requireOpen();
    if (m_currentRow >= 0 && m_currentRow + 1 < recordCount()) setCurrentRow(m_currentRow + 1);
}

void RecordSet::last() {
    requireOpen();
    if (recordCount() > 0) setCurrentRow(recordCount() - 1);
}

void RecordSet::moveTo(int row) {
    requireOpen();
    if (row >= 0 && row < recordCount()) setCurrentRow(row);
}

int RecordSet::columnIndex(const QString& fieldName) const {
    if (!m_open) return -1;
    return m_rows->columnIndex(fieldName.toStdU16String());
}

int RecordSet::columnCount() const {
    return m_open ? static_cast<int>(m_rows->columns().size()) : 0;
}

QStringList RecordSet::columnNames() const {
    QStringList names;
    if (!m_open) return names;
    for (const auto& column : m_rows->columns()) names.append(toQString(column.name));
    return names;
}

QVariant RecordSet::value(int row, int column) const {
    if (!m_open || row < 0 || row >= recordCount() || column < 0 ||
        column >= static_cast<int>(m_rows->columns().size()))
        return {};
    auto cell = m_rows->value(static_cast<std::size_t>(row), static_cast<std::size_t>(column));
    if (!cell.ok()) throw Failure(QString::fromStdString(cell.status().message()));
    return toVariant(cell.value());
}

QString RecordSet::field(const QString& fieldName) const {
    if (m_currentRow < 0) return {};
    return value(m_currentRow, columnIndex(fieldName)).toString();
}

}  // namespace content
