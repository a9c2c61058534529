#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data_page.h"
#include "jet/result_set.h"
#include "jet/status.h"
#include "page_source.h"
#include "table_definition.h"

namespace jet {

// Called once per live row: its location (the original slot) and its bytes, which are valid
// during the call only. A failed Status stops the scan and is returned.
using RowVisitor = std::function<Status(RowLocation location, std::span<const std::uint8_t> row)>;

// Where the bytes of a moved row live.
struct MovedRowTarget {
    RowPointer pointer;
    std::span<const std::uint8_t> bytes;  // in `pageBuffer` or `targetBuffer`
};

// Follows the forwarding pointer in `pointerRow`, the bytes of slot `rowIndex` of `page` (held
// in `pageBuffer`), one hop. The target page is read into `targetBuffer` unless it is `page`
// itself. Errors: corrupt when the pointer leads outside the file, to another table's page, to
// a missing slot, or to a deleted or moved row. `where` ends messages, e.g. "table ejaz".
Result<MovedRowTarget> followMovedRow(const PageSource& source, const TableDefinition& table,
                                      const DataPage& page, const PageBuffer& pageBuffer,
                                      PageBuffer& targetBuffer, std::uint16_t rowIndex,
                                      std::span<const std::uint8_t> pointerRow,
                                      const std::string& where);

// Walks the table's rows in page order: every page of its owned-pages map that is a data page
// owned by this table, each slot once; deleted slots and hidden targets are skipped, a moved
// row is read at its target (one hop). A damaged page or row fails the whole scan with corrupt
// naming the page, row and table: a partial result would look complete to the user.
Status scanRows(const PageSource& source, const TableDefinition& table, const RowVisitor& visit);

// Visits the one record at `location` as scanRows would. Errors: notFound when the slot is
// deleted, out of range or not one of the table's, corrupt as scanRows.
Status visitRowAt(const PageSource& source, const TableDefinition& table, RowLocation location,
                  const RowVisitor& visit);

// What a snapshot holds and which rows it keeps.
struct SnapshotRequest {
    std::vector<std::size_t> columns;   // indices into TableDefinition::columns, in output order
    std::vector<std::u16string> names;  // output column names, one per entry of `columns`
    std::optional<std::size_t> filterColumn;  // index into TableDefinition::columns (text or memo)
    // Keeps the rows whose filter column value passes; a null value never passes.
    std::function<bool(std::u16string_view)> filter;
    // Only the record at this location (notFound when it is gone), not the whole table.
    std::optional<RowLocation> only;
};

// Scans the table into a ResultSet. Memo and OLE values keep their descriptor only (a memo
// filter column is read to be tested, then dropped).
Result<ResultSet> takeSnapshot(std::shared_ptr<const PageSource> source,
                               const TableDefinition& table, const SnapshotRequest& request);

// Every column of the table, in col_num order, no filter.
SnapshotRequest allColumns(const TableDefinition& table);

}  // namespace jet
