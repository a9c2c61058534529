#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "build/page_file.h"
#include "build/table_layout.h"
#include "jet/status.h"

namespace jet::build {

// Row pointers of one long-value column's usage maps.
struct LongValueMaps {
    std::uint32_t owned = 0;
    std::uint32_t freeSpace = 0;
};

// What a table definition records beyond its columns, known once the rows are written.
struct TableDefinitionState {
    std::uint32_t rowCount = 0;
    std::uint32_t ownedMap = 0;  // row pointers
    std::uint32_t freeSpaceMap = 0;
    std::vector<LongValueMaps> longValueMaps;  // one per memo/OLE column, in col_num order
};

// Length in bytes of the table's definition (the same whatever the state).
std::size_t tableDefinitionLength(const TableLayout& table);
// TDEF pages the definition needs: the first page holds 4096 bytes of it, each further page
// 4088 after its own 8-byte header.
std::size_t tableDefinitionPageCount(const TableLayout& table);

// Encodes the definition and writes it on `pages` (tableDefinitionPageCount() of them, chained
// in the given order).
Status writeTableDefinition(PageFile& file, std::span<const std::uint32_t> pages,
                            const TableLayout& table, const TableDefinitionState& state);

}  // namespace jet::build
