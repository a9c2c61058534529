#include "build/table_writer.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "build/byte_writer.h"
#include "text_codec.h"

namespace jet::build {

namespace {

constexpr std::size_t kColumnCountSize = 2;
constexpr std::size_t kOffsetSize = 2;

std::size_t nullMaskSize(std::size_t columns) {
    return (columns + 7) / 8;
}

}  // namespace

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
    if (auto problem = encodeColumnValue(column, value, cell)) return fail(position, &column, *problem);
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

    // Size of the row with every long value that may stay inline kept inline.
    const std::size_t trailer =
        (m_table.variableCount > 0 ? kOffsetSize * (m_table.variableCount + 2) : 0) +
        nullMaskSize(columns.size());
    std::size_t size = kColumnCountSize + m_table.fixedAreaSize + trailer;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        Cell& cell = m_cells[i];
        if (!cell.present || columns[i].fixed()) continue;
        if (columns[i].longValue()) {
            cell.inlineLongValue = cell.bytes.size() <= layout::kLongValueMaxInline;
            size +=
                layout::kLongValueDescriptorSize + (cell.inlineLongValue ? cell.bytes.size() : 0);
        } else {
            size += cell.bytes.size();
        }
    }
    // Too long: move inline long values out of the row, largest first, until it fits. An empty
    // value stays inline: it takes no more than its descriptor either way.
    while (size > layout::kMaxRowSize) {
        Cell* largest = nullptr;
        for (Cell& cell : m_cells)
            if (cell.inlineLongValue && !cell.bytes.empty() &&
                (largest == nullptr || cell.bytes.size() > largest->bytes.size()))
                largest = &cell;
        if (largest == nullptr) break;
        largest->inlineLongValue = false;
        size -= largest->bytes.size();
    }
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

    const RowShape shape{columns.size(), m_table.variableCount, m_table.fixedAreaSize};
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
