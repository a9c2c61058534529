#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "jet/status.h"
#include "jet/value.h"

namespace jet {

class ResultSetData;

struct ColumnInfo {
    std::u16string name;
    std::uint8_t typeCode = 0;  // see ColumnType
    std::uint16_t length = 0;   // bytes, for text and binary
};

// Where a row lives: the slot that indexes and writers address (not a forwarding target).
struct RowLocation {
    std::uint32_t pageNumber = 0;
    std::uint8_t rowIndex = 0;
    bool operator==(const RowLocation&) const = default;
};

// The rows of one statement, taken when it ran. Short values are decoded into the snapshot;
// memo and OLE values keep only their descriptor and are read on demand, which stays exact
// because the engine never rewrites long-value data in place (a new value gets new rows).
// Copies share the snapshot.
class ResultSet {
public:
    ResultSet();
    explicit ResultSet(std::shared_ptr<const ResultSetData> data);

    const std::vector<ColumnInfo>& columns() const;
    // Index of a column by name ignoring case, or -1.
    int columnIndex(std::u16string_view name) const;
    // The table the rows come from.
    const std::u16string& tableName() const;
    std::size_t rowCount() const;
    RowLocation location(std::size_t rowIndex) const;
    // The row's version when the snapshot was taken: a 64-bit hash of its stored bytes (those
    // of its forwarding target when it had moved). Database::updateRow and deleteRow compare it
    // with the row as it is now. 0 when rowIndex is out of range.
    std::uint64_t rowVersion(std::size_t rowIndex) const;
    // The value of one cell; memo and OLE values are read from the file here, so this can fail
    // with corrupt or ioError. rowIndex and columnIndex are 0-based and must be in range.
    Result<Value> value(std::size_t rowIndex, std::size_t columnIndex) const;

private:
    std::shared_ptr<const ResultSetData> m_data;
};

}  // namespace jet
