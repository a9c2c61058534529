#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "layout.h"

namespace jet::build {

// A column of a table being written, with everything its descriptor and the rows need.
struct ColumnLayout {
    std::u16string name;
    std::uint8_t type = layout::kTypeText;
    std::uint16_t number = 0;         // col_num: the null-mask bit
    std::uint16_t variableIndex = 0;  // variable columns: position among them; fixed: the next one
    std::uint16_t fixedOffset = 0;    // fixed columns: offset in the fixed area
    std::uint16_t length = 0;         // descriptor length in bytes (text: 2 per character)
    std::uint8_t flags = 0;
    std::uint8_t extendedFlags = 0;

    bool fixed() const { return (flags & layout::kColumnFlagFixed) != 0; }
    bool longValue() const { return type == layout::kTypeMemo || type == layout::kTypeOle; }
    bool compressible() const { return (extendedFlags & layout::kColumnExtFlagCompressed) != 0; }
};

// What a caller says about a column; makeTableLayout() derives the rest.
struct ColumnDraft {
    std::u16string name;
    std::uint8_t type = layout::kTypeText;
    std::uint16_t length = 0;   // text and binary: bytes; other types: ignored
    bool compressible = false;  // text and memo only
    std::uint8_t flags = layout::kColumnFlagUpdatable;  // the fixed bit is added by type
};

struct TableLayout {
    std::u16string name;
    bool system = false;
    std::vector<ColumnLayout> columns;  // in col_num order
    std::vector<std::size_t>
        descriptorOrder;  // indexes into `columns`, in the order the TDEF lists them
    std::size_t fixedAreaSize = 0;
    std::size_t variableCount = 0;

    std::size_t longValueCount() const;
};

// Bytes a type takes in the fixed area; 0 for booleans (their value is the null-mask bit) and
// for variable-length types.
std::size_t fixedAreaWidth(std::uint8_t type);
bool isFixedType(std::uint8_t type);

// Numbers the columns in the given order, assigns fixed offsets and variable indexes. System
// tables list their descriptors by name, as Jet does; user tables in col_num order.
TableLayout makeTableLayout(std::u16string name, const std::vector<ColumnDraft>& columns,
                            bool system);

}  // namespace jet::build
