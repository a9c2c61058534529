#include "build/long_value_writer.h"

#include <algorithm>

#include "build/byte_writer.h"

namespace jet::build {

namespace {

LongValueDescriptor descriptor(std::uint32_t lengthAndKind, std::uint32_t pointer) {
    LongValueDescriptor out{};
    ByteWriter writer(out);
    writer.u32(lengthAndKind);
    writer.u32(pointer);
    writer.u32(0);  // chain stamp
    return out;
}

}  // namespace

LongValueDescriptor inlineLongValueDescriptor(std::size_t payloadSize) {
    return descriptor(static_cast<std::uint32_t>(payloadSize) | layout::kLongValueInline, 0);
}

Result<std::uint32_t> LongValueWriter::place(std::span<const std::uint8_t> row) {
    if (m_page && !m_page->fits(row.size())) JET_TRY(finish());
    if (!m_page) {
        auto number = m_file.allocate();
        JET_TRY(number);
        m_page.emplace(*number, layout::kLongValueOwner);
        m_pages.push_back(*number);
        m_tail = *number;
    }
    const std::uint8_t rowNumber = m_page->addRow(row);
    return rowPointer(m_page->pageNumber(), rowNumber);
}

Result<LongValueDescriptor> storeLongValueRows(std::span<const std::uint8_t> payload,
                                               const PlaceLongValueRow& place) {
    const auto length = static_cast<std::uint32_t>(payload.size());
    if (payload.size() <= layout::kLongValueMaxSingleRow) {
        auto pointer = place(payload);
        JET_TRY(pointer);
        return descriptor(length | layout::kLongValueSingleRow, *pointer);
    }
    // Written from the last chunk back, so that each chunk knows where the next one lives.
    const std::size_t chunks =
        (payload.size() + layout::kLongValueChunkData - 1) / layout::kLongValueChunkData;
    std::vector<std::uint8_t> row;
    std::uint32_t next = 0;
    for (std::size_t k = chunks; k-- > 0;) {
        const std::size_t offset = k * layout::kLongValueChunkData;
        const std::size_t size = std::min(layout::kLongValueChunkData, payload.size() - offset);
        row.assign(layout::kLongValueChunkPointer + size, 0);
        ByteWriter out(row);
        out.u32(next);
        out.bytes(payload.subspan(offset, size));
        auto pointer = place(row);
        JET_TRY(pointer);
        next = *pointer;
    }
    return descriptor(length | layout::kLongValueChain, next);
}

Result<LongValueDescriptor> LongValueWriter::store(std::span<const std::uint8_t> payload) {
    return storeLongValueRows(payload,
                              [this](std::span<const std::uint8_t> row) { return place(row); });
}

Status LongValueWriter::finish() {
    if (!m_page) return {};
    Status status = m_file.write(m_page->pageNumber(), m_page->bytes());
    m_page.reset();
    return status;
}

}  // namespace jet::build
