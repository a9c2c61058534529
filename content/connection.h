#pragma once

#include <memory>

#include <QString>
#include <QStringList>

namespace jet {
class Database;
class ResultSet;
}  // namespace jet

namespace content {

// The program's one connection to the collection. The connection string is kept whole, as the
// program has always carried it; of its settings the engine uses the data source (a file name
// resolved against the working directory at the moment of opening), the share mode (other
// programs may read and write the file at the same time) and the empty password (no prompt).
class Connection {
public:
    static const QString& connectionString();
    // One setting of the connection string by name ignoring case, quotes removed; empty when
    // absent.
    static QString setting(const QString& connectionString, const QString& name);

    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool isOpen() const { return m_database != nullptr; }
    // Opens the data source; throws Failure with the engine's message. A file that cannot be
    // opened for writing is opened read-only: reading works and a write says why it cannot.
    void open();
    void close();

    // Runs a statement, or opens a table or saved query by name; opens the connection first
    // when it is closed. Throws Failure.
    jet::ResultSet execute(const QString& statement);
    jet::ResultSet openByName(const QString& name);

    jet::Database* database() { return m_database.get(); }
    bool isReadOnly() const { return m_readOnly; }

    // Every statement text and table name sent, in order (for tests and diagnostics).
    const QStringList& statementLog() const { return m_statementLog; }

private:
    void ensureOpen();

    std::unique_ptr<jet::Database> m_database;
    bool m_readOnly = false;
    QStringList m_statementLog;
};

}  // namespace content
