#include "long_value.h"

#include <unordered_set>

#include "byte_reader.h"
#include "data_page.h"
#include "layout.h"

namespace jet {

namespace {

// Reads the LVAL row `raw` names into `buffer` and returns its bytes.
Result<std::span<const std::uint8_t>> readLvalRow(const PageSource& source, std::uint32_t raw,
                                                  PageBuffer& buffer, const std::string& where) {
    const RowPointer pointer = RowPointer::fromRaw(raw);
    if (pointer.pageNumber == 0 || pointer.pageNumber >= source.pageCount())
        return corrupt("long value points at page " + std::to_string(pointer.pageNumber) +
                       " outside the file (" + std::to_string(source.pageCount()) + " pages, " +
                       where + ")");
    JET_TRY(source.readPage(pointer.pageNumber, buffer));
    auto page = DataPage::open(buffer, pointer.pageNumber, where);
    JET_TRY(page);
    if (!page->isLongValuePage())
        return corrupt("long value points at page " + std::to_string(pointer.pageNumber) +
                       ", which is not a long-value page (" + where + ")");
    const RowSlot slot =
        pointer.rowIndex < page->rowCount() ? page->slot(pointer.rowIndex) : RowSlot{};
    if (slot.deleted)
        return corrupt("long value points at deleted row " + std::to_string(pointer.rowIndex) +
                       " of page " + std::to_string(pointer.pageNumber) + " (" + where + ")");
    return page->row(pointer.rowIndex, where);
}

}  // namespace

Result<LongValueDescriptor> LongValueDescriptor::parse(std::span<const std::uint8_t> field,
                                                       const std::string& where) {
    const ByteReader in(field);
    std::uint32_t word = 0;
    LongValueDescriptor descriptor;
    if (!in.u32At(0, word) || !in.u32At(layout::kLongValuePointer, descriptor.firstRow) ||
        field.size() < layout::kLongValueDescriptorSize)
        return corrupt("long value descriptor of " + std::to_string(field.size()) + " bytes (" +
                       where + ")");
    descriptor.length = word & layout::kLongValueLengthMask;
    switch (word & layout::kLongValueKindMask) {
        case layout::kLongValueInline:
            descriptor.kind = Kind::inlineData;
            descriptor.inlineBytes = field.subspan(layout::kLongValueDescriptorSize);
            if (descriptor.length > descriptor.inlineBytes.size())
                return corrupt("inline long value claims " + std::to_string(descriptor.length) +
                               " bytes but holds " + std::to_string(descriptor.inlineBytes.size()) +
                               " (" + where + ")");
            descriptor.inlineBytes = descriptor.inlineBytes.first(descriptor.length);
            break;
        case layout::kLongValueSingleRow:
            descriptor.kind = Kind::singleRow;
            break;
        case layout::kLongValueChain:
            descriptor.kind = Kind::chain;
            break;
        default:
            return corrupt("long value of unknown storage kind " + hexOffset(word >> 24) + " (" +
                           where + ")");
    }
    return descriptor;
}

Result<std::vector<std::uint8_t>> readLongValue(const PageSource& source,
                                                std::span<const std::uint8_t> field,
                                                const std::string& where) {
    auto parsed = LongValueDescriptor::parse(field, where);
    JET_TRY(parsed);
    const LongValueDescriptor& descriptor = *parsed;
    if (descriptor.kind == LongValueDescriptor::Kind::inlineData)
        return std::vector<std::uint8_t>(descriptor.inlineBytes.begin(),
                                         descriptor.inlineBytes.end());
    // No value can hold more bytes than the file: this also keeps a damaged length from
    // asking for a huge allocation.
    if (descriptor.length > source.byteSize())
        return corrupt("long value claims " + std::to_string(descriptor.length) +
                       " bytes, more than the file holds (" + where + ")");
    if (descriptor.length == 0) return std::vector<std::uint8_t>();

    PageBuffer buffer{};
    if (descriptor.kind == LongValueDescriptor::Kind::singleRow) {
        auto row = readLvalRow(source, descriptor.firstRow, buffer, where);
        JET_TRY(row);
        if (row->size() < descriptor.length)
            return corrupt("long value claims " + std::to_string(descriptor.length) +
                           " bytes but its row on page " +
                           std::to_string(descriptor.firstRow >> 8) + " holds " +
                           std::to_string(row->size()) + " (" + where + ")");
        return std::vector<std::uint8_t>(row->begin(), row->begin() + descriptor.length);
    }

    std::vector<std::uint8_t> value;
    value.reserve(descriptor.length);
    std::unordered_set<std::uint32_t> visited;
    std::uint32_t next = descriptor.firstRow;
    while (next != 0) {
        if (value.size() >= descriptor.length)
            return corrupt("long value chain runs on past its length of " +
                           std::to_string(descriptor.length) + " bytes (page " +
                           std::to_string(next >> 8) + ", " + where + ")");
        if (!visited.insert(next).second)
            return corrupt("long value chain loops back to page " + std::to_string(next >> 8) +
                           " row " + std::to_string(next & 0xFF) + " (" + where + ")");
        auto row = readLvalRow(source, next, buffer, where);
        JET_TRY(row);
        const ByteReader in(*row);
        std::uint32_t following = 0;
        if (!in.u32At(0, following))
            return corrupt("long value chain row of " + std::to_string(row->size()) +
                           " bytes on page " + std::to_string(next >> 8) +
                           " has no next pointer (" + where + ")");
        value.insert(value.end(), row->begin() + layout::kRowPointerSize, row->end());
        next = following;
    }
    if (value.size() < descriptor.length)
        return corrupt("long value chain ends after " + std::to_string(value.size()) + " of " +
                       std::to_string(descriptor.length) + " bytes (" + where + ")");
    value.resize(descriptor.length);
    return value;
}

}  // namespace jet
