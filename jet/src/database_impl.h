#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "catalogue.h"
#include "database_header.h"
#include "jet/database.h"
#include "jet/result_set.h"
#include "page_source.h"
#include "table_definition.h"
#include "write/database_file.h"

namespace jet {

// The engine behind Database: the page source, the header and the catalogue read at open.
class DatabaseImpl {
public:
    struct OpenOptions {
        // Opens a password-protected file anyway. For tests that read such a file's rows; the
        // program never sets it.
        bool ignorePassword = false;
    };

    // Reads and checks the header, then the catalogue. Errors as Database::open.
    static Result<std::unique_ptr<DatabaseImpl>> open(std::shared_ptr<PageSource> source,
                                                      OpenOptions options);

    const PageSource& source() const { return *m_source; }
    std::shared_ptr<const PageSource> sharedSource() const { return m_source; }
    const std::string& fileName() const { return m_source->name(); }
    const DatabaseHeader& header() const { return m_header; }
    const Catalogue& catalogue() const { return m_catalogue; }
    // The file behind a database opened from disk (locks, writes); nullptr for bytes in memory.
    DatabaseFile* file() const { return m_file.get(); }
    void attachFile(std::shared_ptr<DatabaseFile> file) { m_file = std::move(file); }

    Result<TableDefinition> tableDefinition(const CatalogEntry& table) const;
    // Every row and column of a table (user or system).
    Result<ResultSet> readTable(const CatalogEntry& table) const;

private:
    DatabaseImpl(std::shared_ptr<PageSource> source, DatabaseHeader header, Catalogue catalogue)
        : m_source(std::move(source)),
          m_header(std::move(header)),
          m_catalogue(std::move(catalogue)) {}

    std::shared_ptr<PageSource> m_source;
    DatabaseHeader m_header;
    Catalogue m_catalogue;
    std::shared_ptr<DatabaseFile> m_file;
};

}  // namespace jet
