#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "byte_reader.h"
#include "jet/status.h"
#include "layout.h"
#include "page_source.h"

namespace jet {

// A 4-byte row pointer: byte 0 the row index, bytes 1..3 the page number.
struct RowPointer {
    std::uint32_t pageNumber = 0;
    std::uint8_t rowIndex = 0;

    static RowPointer fromRaw(std::uint32_t raw) {
        return {raw >> 8, static_cast<std::uint8_t>(raw & 0xFF)};
    }
    bool operator==(const RowPointer&) const = default;
};

// One entry of a data page's row offset table.
struct RowSlot {
    std::uint16_t offset = 0;  // start of the row in the page
    bool deleted = false;      // both flag bits
    bool moved = false;        // the row holds a pointer to where it now lives
    bool hidden = false;       // the real bytes of a moved row, reached through its pointer

    static RowSlot fromRaw(std::uint16_t raw);
};

// A data page (type 0x01: table rows, long values, usage-map rows) in a buffer the caller
// owns. Row spans point into that buffer and are valid until it is overwritten.
class DataPage {
public:
    // Checks the page type and that the slot table fits. `where` ends messages, e.g.
    // "table ejaz". Errors: corrupt.
    static Result<DataPage> open(const PageBuffer& page, std::uint32_t pageNumber,
                                 const std::string& where);

    std::uint32_t pageNumber() const { return m_pageNumber; }
    std::uint32_t owner() const;
    bool isLongValuePage() const;
    std::uint16_t rowCount() const { return m_rowCount; }
    RowSlot slot(std::uint16_t rowIndex) const;
    // The bytes of row `rowIndex` (< rowCount()): from its offset to the start of the row before
    // it (or the page end). Errors: corrupt when the offsets are out of order or outside the row
    // area.
    Result<std::span<const std::uint8_t>> row(std::uint16_t rowIndex,
                                              const std::string& where) const;

private:
    DataPage(const PageBuffer& page, std::uint32_t pageNumber, std::uint16_t rowCount)
        : m_page(&page), m_pageNumber(pageNumber), m_rowCount(rowCount) {}
    std::uint16_t rawSlot(std::uint16_t rowIndex) const;

    const PageBuffer* m_page;
    std::uint32_t m_pageNumber;
    std::uint16_t m_rowCount;
};

// Reads the page named by `pointer` into `buffer` and returns the row's bytes. The page must be
// a data page; `rowIndex` must be a slot of it. Used for usage-map rows and long values.
Result<std::span<const std::uint8_t>> readPointedRow(const PageSource& source, RowPointer pointer,
                                                     PageBuffer& buffer, const std::string& where);

// "0x1a2b".
std::string hexOffset(std::size_t value);

}  // namespace jet
