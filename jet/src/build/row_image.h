#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "build/long_value_writer.h"
#include "build/table_layout.h"
#include "jet/value.h"

namespace jet::build {

// One column of a row being written.
struct EncodedCell {
    bool present = false;             // the null-mask bit (a boolean's value)
    std::vector<std::uint8_t> bytes;  // fixed value, variable value, or long-value payload
    bool inlineLongValue = false;     // long values: kept in the row behind the descriptor
    LongValueDescriptor descriptor{};
    // `bytes` are the field exactly as a row stores it (a value kept from the old row when
    // another column of it changes): written as they are, descriptor and all.
    bool asStored = false;
};

// Converts `value` to the bytes `column` stores (text and memo: UTF-16LE, compressed when the
// column allows it and it saves space; a memo too long for one LVAL row is never compressed).
// Returns why the value does not fit the column, or nullopt. Decimal columns are not handled.
std::optional<std::string> encodeColumnValue(const ColumnLayout& column, const Value& value,
                                             EncodedCell& cell);

// What a table's rows look like beyond their columns.
struct RowShape {
    std::size_t columnCount = 0;    // ncols: max_cols, counting deleted columns
    std::size_t variableCount = 0;  // nvar: variable-column slots, counting deleted ones
    std::size_t fixedAreaSize = 0;  // bytes from the end of ncols to the variable data
};

// Bytes the row takes: long values count their descriptor, plus their data when inline.
std::size_t rowImageSize(const std::vector<ColumnLayout>& columns,
                         const std::vector<EncodedCell>& cells, const RowShape& shape);

// Decides where the new long values of a row go (present long-value cells not `asStored`):
// each stays inline when it may (up to kLongValueMaxInline bytes); then, while the row is
// longer than a page row may be, the largest inline ones move out, one by one. Returns the
// row's size, which is still over kMaxRowSize when nothing more can move.
std::size_t placeLongValues(const std::vector<ColumnLayout>& columns,
                            std::vector<EncodedCell>& cells, const RowShape& shape);

// Lays out a row: ncols, the fixed area, variable data in variable-index order, then the end
// of data, the offsets (reversed), nvar and the null mask. With `padTo` larger than the row,
// zero bytes follow the variable data (before the null mask when the table has no variable
// columns) so that the row fills a slot of that size. `columns` and `cells` run in parallel.
// Returns false when a cell does not fit where its column says (a layout fault).
bool encodeRowImage(const std::vector<ColumnLayout>& columns, const std::vector<EncodedCell>& cells,
                    const RowShape& shape, std::vector<std::uint8_t>& out, std::size_t padTo = 0);

}  // namespace jet::build
