#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "byte_reader.h"
#include "jet/status.h"
#include "jet/value.h"
#include "layout.h"
#include "table_definition.h"

namespace jet {

// Where a row is, for messages: "page 812, row 3, table ejaz".
struct RowWhere {
    const std::u16string* table = nullptr;
    std::uint32_t pageNumber = 0;
    std::uint16_t rowIndex = 0;
    std::string text() const;
};

// The stored bytes of one column of one row.
struct FieldBytes {
    bool null = true;
    bool boolValue = false;               // booleans: the null-mask bit
    std::span<const std::uint8_t> bytes;  // into the row
};

// A row's layout: column count and null mask at the ends, the variable-column offsets (stored
// reversed before the null mask) checked once when the row is opened. Field spans point into
// the row bytes, valid while they are.
class RowView {
public:
    // Errors (corrupt, with `where`): a row shorter than its header or trailer, variable offsets
    // out of order or outside the row.
    static Result<RowView> open(std::span<const std::uint8_t> row, const TableDefinition& table,
                                const RowWhere& where);

    // The bytes of `column`: null when its null-mask bit is clear, when the row has fewer
    // columns than the column's number (a column added later), or, for a variable column,
    // fewer variable columns than its index. Errors: a fixed value past the fixed area.
    Result<FieldBytes> field(const ColumnDefinition& column, const RowWhere& where) const;

    std::uint16_t columnCount() const { return m_columnCount; }

private:
    // Where the offset of variable column `k` is stored (k == count: the end of the data).
    std::size_t variableOffsetPosition(std::size_t k) const {
        return m_maskStart - layout::kRowTrailerField * (k + 2);
    }

    ByteReader m_row{{}};
    std::uint16_t m_columnCount = 0;
    std::size_t m_maskStart = 0;
    std::uint16_t m_variableCount = 0;
    std::size_t m_fixedEnd = 0;  // fixed values must end here (start of the trailer)
};

// Decodes a field into a value of the column's type. Memo and OLE fields come back as their raw
// bytes (the 12-byte descriptor plus any inline data) for readLongValue(); a zero-length memo
// or OLE field is null. Unknown types come back as their bytes. Errors: a value whose size does
// not fit its type.
Result<Value> decodeField(const ColumnDefinition& column, const FieldBytes& field,
                          const RowWhere& where);

}  // namespace jet
