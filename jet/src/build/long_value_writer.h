#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "build/data_page_builder.h"
#include "build/page_file.h"
#include "jet/status.h"
#include "layout.h"

namespace jet::build {

using LongValueDescriptor = std::array<std::uint8_t, layout::kLongValueDescriptorSize>;

// The LVAL pages of one memo or OLE column. Values up to 3816 bytes become one LVAL row (several
// share a page); longer ones a chain of rows of at most 4072 data bytes, each behind the 4-byte
// pointer to the next (0 on the last). The chain stamp is 0 in the descriptor and on the pages.
class LongValueWriter {
public:
    explicit LongValueWriter(PageFile& file) : m_file(file) {}

    // Stores `payload` (1 byte or more) and returns the descriptor the row carries.
    Result<LongValueDescriptor> store(std::span<const std::uint8_t> payload);
    // Writes the page still open.
    Status finish();

    // Every LVAL page of the column, in allocation order.
    const std::vector<std::uint32_t>& pages() const { return m_pages; }
    // The page new values would go to (the free-space map lists it), if any.
    std::optional<std::uint32_t> tailPage() const { return m_tail; }

private:
    Result<std::uint32_t> place(std::span<const std::uint8_t> row);

    PageFile& m_file;
    std::optional<DataPageBuilder> m_page;
    std::vector<std::uint32_t> m_pages;
    std::optional<std::uint32_t> m_tail;
};

// The descriptor of a value kept inside the row (the payload follows it there).
LongValueDescriptor inlineLongValueDescriptor(std::size_t payloadSize);

// Puts one LVAL row somewhere and returns its raw row pointer (row in byte 0, page above).
using PlaceLongValueRow = std::function<Result<std::uint32_t>(std::span<const std::uint8_t> row)>;

// Stores a payload that does not stay in its row: one LVAL row up to 3816 bytes, else a chain
// placed from the last chunk back so that each chunk knows where the next lives. Returns the
// descriptor the row carries. Used by the builder and by writes into an existing file alike.
Result<LongValueDescriptor> storeLongValueRows(std::span<const std::uint8_t> payload,
                                               const PlaceLongValueRow& place);

}  // namespace jet::build
