#include "build/data_page_builder.h"

#include <cstring>

#include "build/byte_writer.h"

namespace jet::build {

namespace {

constexpr std::size_t kSlotSize = 2;

}  // namespace

DataPageBuilder::DataPageBuilder(std::uint32_t pageNumber, std::array<std::uint8_t, 4> owner)
    : m_pageNumber(pageNumber) {
    ByteWriter out(m_page);
    out.u8At(0, layout::kPageData);
    out.u8At(1, layout::kPageMarker);
    out.u16At(layout::kDataFreeSpace, static_cast<std::uint16_t>(m_freeSpace));
    out.bytesAt(layout::kDataOwner, owner);
    out.u32At(layout::kDataChainStamp, 0);
    out.u16At(layout::kDataRowCount, 0);
}

std::array<std::uint8_t, 4> DataPageBuilder::ownerTable(std::uint32_t tdefPage) {
    return {static_cast<std::uint8_t>(tdefPage), static_cast<std::uint8_t>(tdefPage >> 8),
            static_cast<std::uint8_t>(tdefPage >> 16), static_cast<std::uint8_t>(tdefPage >> 24)};
}

bool DataPageBuilder::fits(std::size_t rowSize) const {
    return m_rowCount < layout::kMaxRowsPerPage && rowSize <= m_freeSpace &&
           kSlotSize <= m_freeSpace - rowSize;
}

std::uint8_t DataPageBuilder::addRow(std::span<const std::uint8_t> row) {
    const std::size_t start = m_rowsStart - row.size();
    ByteWriter out(m_page);
    out.bytesAt(start, row);
    out.u16At(layout::kDataRowSlots + kSlotSize * m_rowCount, static_cast<std::uint16_t>(start));
    m_rowsStart = start;
    m_freeSpace -= row.size() + kSlotSize;
    const auto rowNumber = static_cast<std::uint8_t>(m_rowCount);
    ++m_rowCount;
    out.u16At(layout::kDataRowCount, static_cast<std::uint16_t>(m_rowCount));
    out.u16At(layout::kDataFreeSpace, static_cast<std::uint16_t>(m_freeSpace));
    return rowNumber;
}

}  // namespace jet::build
