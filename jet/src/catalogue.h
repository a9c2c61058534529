#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "jet/status.h"
#include "page_source.h"

namespace jet {

// One MSysObjects row that the engine cares about.
struct CatalogEntry {
    std::u16string name;
    std::int32_t id = 0;
    std::int32_t parentId = 0;
    std::int16_t type = 0;
    std::uint32_t flags = 0;

    std::uint32_t tdefPage() const;  // tables only
    bool isSystem() const;           // a system object (MSys..., Access's own tables)
};

// One MSysQueries row of a saved query.
struct QueryRow {
    std::uint8_t attribute = 0;
    std::int16_t flag = 0;
    std::u16string name1;
    std::u16string name2;
    std::u16string expression;
    std::uint32_t order = 0;  // sequence number within the attribute
};

// The objects of a database, read from MSysObjects once at open.
class Catalogue {
public:
    // Errors: corrupt when MSysObjects cannot be read or lacks a column the engine needs.
    static Result<Catalogue> read(const PageSource& source);

    // Local tables that are not system tables, in catalogue order.
    const std::vector<CatalogEntry>& userTables() const { return m_userTables; }
    // Local tables with the system flag (MSysObjects, MSysQueries, ...).
    const std::vector<CatalogEntry>& systemTables() const { return m_systemTables; }
    // Saved queries, in catalogue order.
    const std::vector<CatalogEntry>& queries() const { return m_queries; }

    // Lookups by name, ignoring case; nullptr when there is none.
    const CatalogEntry* findUserTable(std::u16string_view name) const;
    const CatalogEntry* findSystemTable(std::u16string_view name) const;
    const CatalogEntry* findQuery(std::u16string_view name) const;

    // The MSysQueries rows of `query`, ordered by attribute then sequence number. Errors:
    // corrupt when MSysQueries is missing or damaged.
    Result<std::vector<QueryRow>> readQueryRows(const PageSource& source,
                                                const CatalogEntry& query) const;

private:
    std::vector<CatalogEntry> m_userTables;
    std::vector<CatalogEntry> m_systemTables;
    std::vector<CatalogEntry> m_queries;
};

// "select", "crosstab", "delete", "update", "append", "make-table", "data definition",
// "pass-through", "union", or "kind 0x.." from a query's MSysObjects flags.
std::string queryKindName(std::uint32_t flags);

}  // namespace jet
