#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "jet/status.h"
#include "jet/value.h"

namespace jet {

// A column of a table to create. Text length is in characters (1..255); the other types
// ignore it.
struct ColumnSpec {
    std::u16string name;
    ColumnType type = ColumnType::text;
    std::uint16_t textLength = 255;
    bool compressible = true;  // Access's "Unicode Compression" for text and memo
};

// Fills `row` (one Value per column, in column order) and returns true, or returns false when
// the table has no more rows. Lets a generator stream millions of rows without holding them.
using RowSource = std::function<bool(std::vector<Value>& row)>;

struct TableSpec {
    std::u16string name;
    std::vector<ColumnSpec> columns;
    std::vector<std::vector<Value>> rows;  // used when `source` is empty
    RowSource source;
};

// A saved query that selects every column of one table: SELECT * FROM <table>. The table need not
// be among the DatabaseSpec tables (Jet keeps a query whose table was deleted; test files use that).
struct QuerySpec {
    std::u16string name;
    std::u16string table;
};

struct DatabaseSpec {
    std::vector<TableSpec> tables;
    std::vector<QuerySpec> queries;
    double creationDate = 46000.0;  // days since 1899-12-30 (see DateTime)
};

// Writes a new Jet 4.0 file at `path` (replacing it through a temporary file, so a failed
// build leaves no half-written database). Rows are written to disk as they come, so a
// RowSource can stream any number of them (up to Jet's 2 GB file limit).
// Values by column type: boolean <- bool (never null); byte, integer, long <- int64 in range;
// currency <- Currency; single <- float; double <- double or float; date/time <- DateTime;
// GUID <- Guid; text and memo <- u16string (text: at most textLength characters); binary
// (at most 510 bytes) and OLE <- vector<uint8_t>; any nullable column <- Null. Decimal columns
// are not written. An empty memo is stored as a zero-length value, distinct from null.
// Errors: invalidArgument for invalid names (1-64 characters, no control characters, none of
// . ! ` [ ], no leading space, unique ignoring case across tables and queries) or values
// (naming the table, 1-based row and column), and for a row over 4060 bytes; ioError.
Status createDatabase(const std::filesystem::path& path, const DatabaseSpec& spec);

}  // namespace jet
