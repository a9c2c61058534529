#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data_page.h"
#include "jet/status.h"
#include "page_source.h"

namespace jet {

// One column descriptor of a table definition.
struct ColumnDefinition {
    std::u16string name;
    std::uint8_t type = 0;            // ColumnType code; unknown codes are kept
    std::uint16_t number = 0;         // col_num: the null-mask bit; counts deleted columns
    std::uint16_t variableIndex = 0;  // position among the variable columns
    std::uint16_t fixedOffset = 0;    // into the fixed area (fixed columns only)
    std::uint16_t length = 0;         // bytes; 0 for memo, OLE and boolean
    std::uint8_t flags = 0;
    std::uint8_t extendedFlags = 0;
    std::uint8_t precision = 0;  // decimal only
    std::uint8_t scale = 0;      // decimal only
    bool indexed = false;        // part of at least one physical index

    bool isFixed() const;
    bool isLongValue() const;
    // Bytes the value takes in the fixed area.
    std::size_t fixedSize() const;
};

// The owned-pages and free-space maps of one memo or OLE column.
struct LongValueColumnMaps {
    std::uint16_t columnNumber = 0;
    RowPointer ownedPages;
    RowPointer freeSpace;
};

// A physical index: the columns it orders by.
struct IndexDefinition {
    std::vector<std::uint16_t> columnNumbers;
    std::uint8_t flags = 0;
};

// A table definition (TDEF), assembled from its page chain.
struct TableDefinition {
    std::u16string name;
    std::uint32_t tdefPage = 0;
    std::uint32_t rowCount = 0;  // as stored; may be stale, scans count for themselves
    std::uint8_t tableType = 0;
    std::uint16_t maxColumns = 0;
    std::uint16_t variableColumnCount = 0;
    RowPointer ownedPages;
    RowPointer freeSpace;
    std::vector<ColumnDefinition> columns;  // sorted by col_num: the order of SELECT *
    std::vector<IndexDefinition> indexes;
    std::vector<LongValueColumnMaps> longValueColumns;

    // Reads the TDEF chain starting at `tdefPage`. Errors (corrupt, naming table and page): not
    // a TDEF page, a cycle in the chain, counts that run past the definition, two columns with
    // one number.
    static Result<TableDefinition> read(const PageSource& source, std::uint32_t tdefPage,
                                        std::u16string name);
    // Parses an assembled definition (the first page whole, then bytes 8.. of each next page).
    static Result<TableDefinition> parse(std::span<const std::uint8_t> definition,
                                         std::uint32_t tdefPage, std::u16string name);

    // By name, ignoring case; nullptr when there is none.
    const ColumnDefinition* findColumn(std::u16string_view columnName) const;
};

}  // namespace jet
