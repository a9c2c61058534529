#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "build/row_image.h"
#include "build/table_layout.h"
#include "jet/result_set.h"
#include "jet/status.h"
#include "jet/value.h"
#include "table_definition.h"
#include "write/transaction.h"

namespace jet {

// Inserts, updates and deletes the rows of one table inside a Transaction: row images, memo
// and OLE values on the column's own LVAL pages, data pages found through the free-space map or
// appended, usage maps, the row count and AutoNumber counter in the table definition. Nothing
// reaches the file before the Transaction commits, so every check fails with the file as it
// was. Column indexes are positions in TableDefinition::columns (col_num order, the order of a
// result set that selects the whole table).
class RowWriter {
public:
    // Reads the table definition at `tdefPage` through the transaction.
    static Result<RowWriter> open(Transaction& transaction, std::uint32_t tdefPage,
                                  std::u16string tableName);

    // Errors: unsupported (the table has indexes), invalidArgument (a wrong count or type of
    // values, an AutoNumber given a value, a row over 4060 bytes), corrupt, ioError.
    Result<RowLocation> insert(const std::vector<Value>& values);
    // Errors: unsupported (an indexed column among `changes`), invalidArgument, notFound (no
    // row of this table at `row`), conflict (the row's bytes no longer hash to
    // `expectedVersion`, or it was deleted), corrupt, ioError.
    Status update(RowLocation row, std::uint64_t expectedVersion,
                  const std::vector<std::pair<std::size_t, Value>>& changes);
    // Errors: unsupported (the table has indexes), notFound, conflict, corrupt, ioError.
    Status remove(RowLocation row, std::uint64_t expectedVersion);

    const TableDefinition& definition() const { return m_table; }

private:
    // Where a row's bytes are: its own slot, or the target its slot points at.
    struct StoredRow {
        RowPointer holder;
        bool moved = false;
        std::vector<std::uint8_t> bytes;
    };

    RowWriter(Transaction& transaction, TableDefinition table);
    std::string where() const;
    Status refuseIndexed(const std::string& what) const;
    Result<StoredRow> locate(RowLocation row) const;
    Status checkVersion(const StoredRow& stored, RowLocation row, std::uint64_t expected) const;
    Status encodeChange(std::size_t columnIndex, const Value& value,
                        build::EncodedCell& cell) const;
    // Decides which long values stay inline, stores the others, and returns the row's size.
    Result<std::size_t> storeLongValues(std::vector<build::EncodedCell>& cells);
    Result<build::LongValueDescriptor> storeLongValue(const ColumnDefinition& column,
                                                      std::span<const std::uint8_t> payload);
    // Puts `row` on a page of the table (or, with `longValues`, of that column's LVAL pages)
    // that has room, or on a new page, and returns where it went.
    Result<RowPointer> placeRow(std::span<const std::uint8_t> row, std::uint16_t slotFlags,
                                const LongValueColumnMaps* longValues);
    // Sets both flag bits on a slot (the bytes stay, as Jet leaves them).
    Status markDeleted(RowPointer slot);
    Status adjustTableDefinition(int rowCountChange, const std::vector<std::uint32_t>* autoNumbers);

    Transaction* m_transaction;
    TableDefinition m_table;
    std::vector<build::ColumnLayout> m_columns;  // parallel to m_table.columns
    build::RowShape m_shape;
};

}  // namespace jet
