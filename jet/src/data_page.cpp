#include "data_page.h"

#include <cstdio>

namespace jet {

std::string hexOffset(std::size_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%zx", value);
    return text;
}

RowSlot RowSlot::fromRaw(std::uint16_t raw) {
    RowSlot slot;
    slot.offset = raw & layout::kRowSlotOffsetMask;
    slot.deleted = (raw & layout::kRowSlotDeleted) == layout::kRowSlotDeleted;
    slot.moved = !slot.deleted && (raw & layout::kRowSlotMoved) != 0;
    slot.hidden = !slot.deleted && (raw & layout::kRowSlotHidden) != 0;
    return slot;
}

Result<DataPage> DataPage::open(const PageBuffer& page, std::uint32_t pageNumber,
                                const std::string& where) {
    if (page[0] != layout::kPageData)
        return corrupt("page " + std::to_string(pageNumber) + " is not a data page (type " +
                       hexOffset(page[0]) + ", " + where + ")");
    const ByteReader in(page);
    std::uint16_t rowCount = 0;
    in.u16At(layout::kDataRowCount, rowCount);
    // A page holds at most 255 rows; more would also run the slot table into the rows.
    if (rowCount > layout::kMaxRowsPerPage)
        return corrupt("data page " + std::to_string(pageNumber) + " claims " +
                       std::to_string(rowCount) + " rows, more than a page can hold (" + where +
                       ")");
    return DataPage(page, pageNumber, rowCount);
}

std::uint32_t DataPage::owner() const {
    std::uint32_t owner = 0;
    ByteReader(*m_page).u32At(layout::kDataOwner, owner);
    return owner;
}

bool DataPage::isLongValuePage() const {
    for (std::size_t i = 0; i < layout::kLongValueOwner.size(); ++i)
        if ((*m_page)[layout::kDataOwner + i] != layout::kLongValueOwner[i]) return false;
    return true;
}

std::uint16_t DataPage::rawSlot(std::uint16_t rowIndex) const {
    std::uint16_t raw = 0;
    ByteReader(*m_page).u16At(layout::kDataRowSlots + 2 * std::size_t{rowIndex}, raw);
    return raw;
}

RowSlot DataPage::slot(std::uint16_t rowIndex) const {
    return RowSlot::fromRaw(rawSlot(rowIndex));
}

Result<std::span<const std::uint8_t>> DataPage::row(std::uint16_t rowIndex,
                                                    const std::string& where) const {
    if (rowIndex >= m_rowCount)
        return corrupt("row " + std::to_string(rowIndex) + " does not exist on page " +
                       std::to_string(m_pageNumber) + " (" + std::to_string(m_rowCount) +
                       " rows, " + where + ")");
    const std::size_t start = rawSlot(rowIndex) & layout::kRowSlotOffsetMask;
    const std::size_t end =
        rowIndex == 0 ? layout::kPageSize : (rawSlot(rowIndex - 1) & layout::kRowSlotOffsetMask);
    const std::size_t rowArea = layout::kDataRowSlots + 2 * std::size_t{m_rowCount};
    if (start < rowArea || end > layout::kPageSize)
        return corrupt("row offset " + hexOffset(start) + " outside the row area (page " +
                       std::to_string(m_pageNumber) + ", row " + std::to_string(rowIndex) + ", " +
                       where + ")");
    if (start > end)
        return corrupt("row offset " + hexOffset(start) + " past the end of the row before it at " +
                       hexOffset(end) + " (page " + std::to_string(m_pageNumber) + ", row " +
                       std::to_string(rowIndex) + ", " + where + ")");
    return std::span<const std::uint8_t>(m_page->data() + start, end - start);
}

Result<std::span<const std::uint8_t>> readPointedRow(const PageSource& source, RowPointer pointer,
                                                     PageBuffer& buffer, const std::string& where) {
    if (pointer.pageNumber == 0 || pointer.pageNumber >= source.pageCount())
        return corrupt("row pointer to page " + std::to_string(pointer.pageNumber) +
                       " outside the file (" + std::to_string(source.pageCount()) + " pages, " +
                       where + ")");
    JET_TRY(source.readPage(pointer.pageNumber, buffer));
    auto page = DataPage::open(buffer, pointer.pageNumber, where);
    JET_TRY(page);
    return page->row(pointer.rowIndex, where);
}

}  // namespace jet
