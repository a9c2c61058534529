#include "build/table_writer.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "build/byte_writer.h"
#include "text_codec.h"

namespace jet::build {

TableWriter::TableWriter(PageFile& file, const TableLayout& table, std::uint32_t tdefPage)
    : m_file(file), m_table(table), m_tdefPage(tdefPage), m_cells(table.columns.size()) {
    m_longValueRank.assign(table.columns.size(), 0);
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        if (!table.columns[i].longValue()) continue;
        m_longValueRank[i] = m_longValues.size();
        m_longValues.emplace_back(file);
    }
}

Status TableWriter::fail(std::uint64_t position, const ColumnLayout* column,
                         const std::string& what) const {
    std::string where = "table '" + toUtf8(m_table.name) + "', row " + std::to_string(position);
    if (column != nullptr) where += ", column '" + toUtf8(column->name) + "'";
    return {StatusCode::invalidArgument, where + ": " + what};
}

Status TableWriter::encodeCell(const ColumnLayout& column, const Value& value, Cell& cell,
                               std::uint64_t position) const {
    if (auto problem = encodeColumnValue(column, value, cell))
        return fail(position, &column, *problem);
    return {};
}

Status TableWriter::addRow(const std::vector<Value>& row, std::uint64_t position) {
    const auto& columns = m_table.columns;
    if (row.size() != columns.size())
        return fail(position, nullptr,
                    "has " + std::to_string(row.size()) + " values for " +
                        std::to_string(columns.size()) + " columns");
    for (std::size_t i = 0; i < columns.size(); ++i)
        JET_TRY(encodeCell(columns[i], row[i], m_cells[i], position));

    const RowShape shape{columns.size(), m_table.variableCount, m_table.fixedAreaSize};
    const std::size_t size = placeLongValues(columns, m_cells, shape);
    if (size > layout::kMaxRowSize)
        return fail(position, nullptr,
                    "needs " + std::to_string(size) + " bytes; a Jet row holds at most " +
                        std::to_string(layout::kMaxRowSize));

    for (std::size_t i = 0; i < columns.size(); ++i) {
        Cell& cell = m_cells[i];
        if (!cell.present || !columns[i].longValue()) continue;
        if (cell.inlineLongValue) {
            cell.descriptor = inlineLongValueDescriptor(cell.bytes.size());
        } else {
            auto stored = m_longValues[m_longValueRank[i]].store(cell.bytes);
            JET_TRY(stored);
            cell.descriptor = *stored;
        }
    }

    if (!encodeRowImage(columns, m_cells, shape, m_row) || m_row.size() != size)
        return fail(position, nullptr,
                    "row encoding did not match its computed size of " + std::to_string(size));

    JET_TRY(place(m_row));
    ++m_rowCount;
    return {};
}

Status TableWriter::place(const std::vector<std::uint8_t>& row) {
    if (m_page && !m_page->fits(row.size())) {
        JET_TRY(m_file.write(m_page->pageNumber(), m_page->bytes()));
        m_page.reset();
    }
    if (!m_page) {
        auto number = m_file.allocate();
        JET_TRY(number);
        m_page.emplace(*number, DataPageBuilder::ownerTable(m_tdefPage));
        m_dataPages.push_back(*number);
    }
    m_page->addRow(row);
    return {};
}

Status TableWriter::finish() {
    if (m_page) {
        JET_TRY(m_file.write(m_page->pageNumber(), m_page->bytes()));
        m_page.reset();
    }
    for (LongValueWriter& writer : m_longValues) JET_TRY(writer.finish());
    return {};
}

std::optional<std::uint32_t> TableWriter::dataTailPage() const {
    if (m_dataPages.empty()) return std::nullopt;
    return m_dataPages.back();
}

}  // namespace jet::build
