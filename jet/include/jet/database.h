#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "jet/file_io.h"
#include "jet/result_set.h"
#include "jet/status.h"
#include "jet/value.h"

namespace jet {

class DatabaseImpl;

struct QueryInfo {
    std::u16string name;
    std::uint32_t flags = 0;  // MSysObjects Flags; (flags & 0xF0) is the kind
    std::string kindName;     // "select", "crosstab", "delete", ...
};

// An open Jet 4.0 file. Opening checks the header only; the catalogue is read once at open
// (names, kinds, TDEF pages) and tables are scanned when a statement runs.
class Database {
public:
    enum class Mode { readOnly, readWrite };

    // Errors: notFound / ioError naming the file; notJet4 for Jet 3, ACE or MSISAM files;
    // unsupported for a password or encryption; corrupt for a damaged header or catalogue.
    //
    // Before anything is read, a rollback journal left beside the file ("<file>-journal") by a
    // write that was cut short is applied: the file is put back as it was before that write.
    // Opening read-only does the same through a second, read-write descriptor; when the file
    // cannot be opened for writing, the open fails with ioError saying so (the half-written
    // pages are never shown).
    static Result<std::unique_ptr<Database>> open(const std::filesystem::path& path, Mode mode);
    // The same, with every call on the file and its journal going through `io` (tests pass one
    // that fails or stops at a chosen call).
    static Result<std::unique_ptr<Database>> open(const std::filesystem::path& path, Mode mode,
                                                  std::shared_ptr<FileIo> io);
    // The whole file given as bytes (tests and the fuzzer). `name` appears in messages.
    static Result<std::unique_ptr<Database>> openBytes(std::vector<std::uint8_t> bytes,
                                                       std::string name = "memory");
    ~Database();

    // User tables and saved queries, in catalogue order; system tables are left out.
    std::vector<std::u16string> tableNames() const;
    std::vector<QueryInfo> queries() const;

    // Runs one statement of the SQL subset:
    //   SELECT * FROM <table or saved query> [where <column> like '<pattern>'] [;]
    // Errors: syntaxError with the position; notFound for an unknown table, query or column;
    // missingParameter for a saved query with parameters; unsupported for a query kind the
    // engine cannot run; corrupt / ioError while reading rows.
    Result<ResultSet> execute(std::u16string_view statement);
    // Every row of a table or of a saved select query, found by name ignoring case.
    Result<ResultSet> openByName(std::u16string_view name);

    // ---- Changing records (files opened with Mode::readWrite) ----
    // `table` names a user table, ignoring case. Values and column indexes follow the columns
    // of openByName(table) (0-based). A row is named by ResultSet::location() and its version
    // by ResultSet::rowVersion() from the snapshot the caller read it in: when the row's bytes
    // no longer match that version (another program or Database changed or deleted it), the
    // write is refused with conflict.
    //
    // Each call is all or nothing: the changed pages, usage maps and counters go through a
    // rollback journal beside the file and reach it together; on any error the file is as it
    // was. Each call holds an exclusive lock on the file (shared with our other processes)
    // for its duration. Result sets taken earlier stay valid: old memo values are never
    // overwritten.
    //
    // Errors: readOnly (opened read-only; names the file); notFound (no such table, no record
    // at that location); conflict; invalidArgument (a value the column cannot hold, a record
    // over 4060 bytes, a value for an AutoNumber column); unsupported (inserting into or
    // deleting from a table with indexes, changing an indexed column); corrupt; ioError.

    // Adds a record: one value per column (Null allowed; AutoNumber columns take Null and are
    // numbered here). Memo and OLE values of up to 64 bytes stay in the row, longer ones go to
    // the column's long-value pages (one row up to 3816 bytes, a chain beyond).
    Result<RowLocation> insertRow(std::u16string_view table, const std::vector<Value>& values);
    // Changes some columns of a record, given as (column index, new value). The record is
    // rewritten in place when it still fits its slot, else moved behind a forwarding pointer;
    // its location stays the same either way.
    Status updateRow(std::u16string_view table, RowLocation row, std::uint64_t expectedVersion,
                     const std::vector<std::pair<std::size_t, Value>>& changes);
    // Deletes a record.
    Status deleteRow(std::u16string_view table, RowLocation row, std::uint64_t expectedVersion);
    // The record at `row` as it is now, as a one-row snapshot with every column (its version
    // is the one the next update or delete expects). Errors: notFound when the table has no
    // record there; corrupt; ioError.
    Result<ResultSet> readRow(std::u16string_view table, RowLocation row);

    bool isReadOnly() const;
    const std::string& fileName() const;
    DatabaseImpl& impl() { return *m_impl; }

private:
    explicit Database(std::unique_ptr<DatabaseImpl> impl);
    std::unique_ptr<DatabaseImpl> m_impl;
};

}  // namespace jet
