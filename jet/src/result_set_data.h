#pragma once

#include <memory>
#include <string>
#include <vector>

#include "jet/result_set.h"
#include "jet/value.h"
#include "page_source.h"

namespace jet {

// The snapshot behind a ResultSet. Cells are row-major. A memo or OLE cell that is not null
// holds the field's raw bytes (descriptor plus inline data) as std::vector<std::uint8_t>;
// ResultSet::value() reads the value through `source` when asked.
class ResultSetData {
public:
    std::vector<ColumnInfo> columns;
    std::vector<RowLocation> locations;
    std::vector<std::uint64_t> versions;  // one per row: fingerprint64 of its stored bytes
    std::vector<Value> cells;
    std::shared_ptr<const PageSource> source;
    std::u16string sourceName;  // the table, for messages

    bool isLongValueColumn(std::size_t columnIndex) const;
};

}  // namespace jet
