#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "build/table_layout.h"
#include "jet/value.h"

namespace jet::build {

// The engine's own tables, as the Jet 4 engine lays them out: MSysObjects (TDEF page 2),
// MSysACEs (3), MSysQueries (4) and MSysRelationships (5). Written without indexes.
TableLayout msysObjectsLayout();
TableLayout msysAcesLayout();
TableLayout msysQueriesLayout();
TableLayout msysRelationshipsLayout();

// A user object to list in the catalogue.
struct CatalogueObject {
    std::u16string name;
    std::uint32_t id = 0;  // tables: the TDEF page; saved queries: kObjectIdNoTdefBase + n
    bool query = false;
};

// A saved query SELECT * FROM <table>.
struct CatalogueQuery {
    std::uint32_t id = 0;
    std::u16string table;
};

// Rows in col_num order of each table's layout above.
std::vector<std::vector<Value>> msysObjectsRows(const std::vector<CatalogueObject>& objects,
                                                double creationDate);
std::vector<std::vector<Value>> msysAcesRows(const std::vector<CatalogueObject>& objects);
std::vector<std::vector<Value>> msysQueriesRows(const std::vector<CatalogueQuery>& queries);

}  // namespace jet::build
