#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "jet/result_set.h"
#include "jet/status.h"

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
    static Result<std::unique_ptr<Database>> open(const std::filesystem::path& path, Mode mode);
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

    const std::string& fileName() const;
    DatabaseImpl& impl() { return *m_impl; }

private:
    explicit Database(std::unique_ptr<DatabaseImpl> impl);
    std::unique_ptr<DatabaseImpl> m_impl;
};

}  // namespace jet
