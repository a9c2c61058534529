#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "build/page_file.h"
#include "layout.h"

namespace jet::build {

// One data page (type 0x01) being filled: table rows, long-value rows or usage-map rows. Rows
// are packed downwards from the end of the page in slot order and the free-space counter is
// kept exact (4096 - 14 - every slot's 2 bytes and row bytes).
class DataPageBuilder {
public:
    // `owner`: the table's TDEF page, "LVAL", or zero for a page of usage-map rows.
    DataPageBuilder(std::uint32_t pageNumber, std::array<std::uint8_t, 4> owner);

    static std::array<std::uint8_t, 4> ownerTable(std::uint32_t tdefPage);

    // True when a row of `rowSize` bytes and its slot still fit, and the page has fewer than
    // 255 rows.
    bool fits(std::size_t rowSize) const;
    // Appends a row that fits() and returns its row number (0-based).
    std::uint8_t addRow(std::span<const std::uint8_t> row);

    std::uint32_t pageNumber() const { return m_pageNumber; }
    std::size_t rowCount() const { return m_rowCount; }
    std::size_t freeSpace() const { return m_freeSpace; }
    const Page& bytes() const { return m_page; }

private:
    std::uint32_t m_pageNumber;
    Page m_page{};
    std::size_t m_rowCount = 0;
    std::size_t m_freeSpace = layout::kDataInitialFreeSpace;
    std::size_t m_rowsStart = layout::kPageSize;  // where the lowest row begins
};

// A row pointer as stored in descriptors and TDEFs: (page << 8) | row.
inline std::uint32_t rowPointer(std::uint32_t pageNumber, std::uint8_t row) {
    return (pageNumber << 8) | row;
}

}  // namespace jet::build
