#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "build/data_page_builder.h"
#include "build/long_value_writer.h"
#include "build/page_file.h"
#include "build/row_image.h"
#include "build/table_layout.h"
#include "jet/status.h"
#include "jet/value.h"

namespace jet::build {

// Writes the rows of one table: checks each value against its column, stores memo and OLE
// payloads (inline up to 64 bytes while the row stays within 4060 bytes, else on the column's
// LVAL pages), lays the row out and appends it to the table's current data page, writing each
// page to the file as it fills.
class TableWriter {
public:
    TableWriter(PageFile& file, const TableLayout& table, std::uint32_t tdefPage);

    // `row` holds one value per column in col_num order; `position` (1-based) names the row in
    // errors. Errors: invalidArgument naming table, row and column (wrong type, text too long,
    // out of range, a null boolean), or the row over 4060 bytes; ioError.
    Status addRow(const std::vector<Value>& row, std::uint64_t position);
    // Writes the pages still open. Call once, after the last row.
    Status finish();

    std::uint32_t rowCount() const { return m_rowCount; }
    const std::vector<std::uint32_t>& dataPages() const { return m_dataPages; }
    std::optional<std::uint32_t> dataTailPage() const;
    // One per memo/OLE column, in col_num order.
    const std::vector<LongValueWriter>& longValueWriters() const { return m_longValues; }

private:
    // One column of the row being written.
    using Cell = EncodedCell;

    Status encodeCell(const ColumnLayout& column, const Value& value, Cell& cell,
                      std::uint64_t position) const;
    Status fail(std::uint64_t position, const ColumnLayout* column, const std::string& what) const;
    Status place(const std::vector<std::uint8_t>& row);

    PageFile& m_file;
    const TableLayout& m_table;
    std::uint32_t m_tdefPage;
    std::uint32_t m_rowCount = 0;
    std::optional<DataPageBuilder> m_page;
    std::vector<std::uint32_t> m_dataPages;
    std::vector<LongValueWriter> m_longValues;
    std::vector<std::size_t> m_longValueRank;  // column index -> index into m_longValues
    std::vector<Cell> m_cells;                 // reused between rows
    std::vector<std::uint8_t> m_row;
};

}  // namespace jet::build
