#include "content/connection.h"

#include <filesystem>

#include <QDir>
#include <QFileInfo>

#include "content/failure.h"
#include "jet/database.h"

namespace content {

namespace {

QString toQString(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

std::u16string toU16(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), text.size());
}

[[noreturn]] void fail(const jet::Status& status) {
    throw Failure(toQString(status.message()));
}

}  // namespace

const QString& Connection::connectionString() {
    static const QString text = QStringLiteral(
        "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=kelvora.mdb;"
        "Mode=Share Deny None;Extended Properties=\"\";Persist Security Info=False;"
        "Jet OLEDB:System database=\"\";Jet OLEDB:Registry Path=\"\";"
        "Jet OLEDB:Database Password=\"\";Jet OLEDB:Engine Type=5;"
        "Jet OLEDB:Database Locking Mode=1;Jet OLEDB:Global Partial Bulk Ops=2;"
        "Jet OLEDB:Global Bulk Transactions=1;Jet OLEDB:New Database Password=\"\";"
        "Jet OLEDB:Create System Database=False;Jet OLEDB:Encrypt Database=False;"
        "Jet OLEDB:Don't Copy Locale on Compact=False;"
        "Jet OLEDB:Compact Without Replica Repair=False;Jet OLEDB:SFP=False");
    return text;
}

QString Connection::setting(const QString& connectionString, const QString& name) {
    const QStringList settings = connectionString.split(QLatin1Char(';'));
    for (const QString& entry : settings) {
        const qsizetype equals = entry.indexOf(QLatin1Char('='));
        if (equals < 0) continue;
        if (entry.left(equals).trimmed().compare(name, Qt::CaseInsensitive) != 0) continue;
        QString value = entry.mid(equals + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) &&
            value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        return value;
    }
    return {};
}

Connection::Connection() = default;
Connection::~Connection() = default;

void Connection::open() {
    if (isOpen()) return;
    const QString source = setting(connectionString(), QStringLiteral("Data Source"));
    // Resolved now, against the working directory of this moment, not the program's folder.
    const QString path = QDir::current().absoluteFilePath(source);
    const std::filesystem::path file(path.toStdU16String());

    const QFileInfo info(path);
    const bool writable = !info.exists() || info.isWritable();
    auto opened = jet::Database::open(
        file, writable ? jet::Database::Mode::readWrite : jet::Database::Mode::readOnly);
    if (!opened.ok() && writable && opened.status().code() == jet::StatusCode::ioError) {
        // A file we may not write (a read-only medium, another user's file) still reads.
        opened = jet::Database::open(file, jet::Database::Mode::readOnly);
        m_readOnly = opened.ok();
    } else {
        m_readOnly = !writable;
    }
    if (!opened.ok()) fail(opened.status());
    m_database = std::move(opened).value();
}

void Connection::close() {
    m_database.reset();
}

void Connection::ensureOpen() {
    if (!isOpen()) open();
}

jet::ResultSet Connection::execute(const QString& statement) {
    ensureOpen();
    m_statementLog.append(statement);
    auto result = m_database->execute(toU16(statement));
    if (!result.ok()) fail(result.status());
    return std::move(result).value();
}

jet::ResultSet Connection::openByName(const QString& name) {
    ensureOpen();
    m_statementLog.append(name);
    auto result = m_database->openByName(toU16(name));
    if (!result.ok()) fail(result.status());
    return std::move(result).value();
}

}  // namespace content
