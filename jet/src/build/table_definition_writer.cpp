#include "build/table_definition_writer.h"

#include <algorithm>

#include "build/byte_writer.h"

namespace jet::build {

namespace {

constexpr std::size_t kContinuationCapacity = layout::kPageSize - layout::kTdefPageHeaderSize;

std::size_t nameSize(const std::u16string& name) {
    return 2 + 2 * name.size();
}

void writeName(ByteWriter& out, const std::u16string& name) {
    out.u16(static_cast<std::uint16_t>(2 * name.size()));
    for (char16_t c : name) out.u16(c);
}

void writeColumnDescriptor(ByteWriter& out, const ColumnLayout& column) {
    const std::size_t start = out.position();
    out.zeros(layout::kColumnDescriptorSize);
    out.u8At(start + layout::kColumnType, column.type);
    out.u32At(start + layout::kColumnMagic, layout::kTdefMagic);
    out.u16At(start + layout::kColumnNumber, column.number);
    out.u16At(start + layout::kColumnVariableIndex, column.variableIndex);
    out.u16At(start + layout::kColumnNumberAgain, column.number);
    // Jet writes the sort order into every descriptor, text or not.
    out.u16At(start + layout::kColumnSortOrder, layout::kSortOrderGeneral);
    out.u8At(start + layout::kColumnSortOrderVersion, layout::kSortOrderVersionLegacy);
    out.u8At(start + layout::kColumnFlags, column.flags);
    out.u8At(start + layout::kColumnExtendedFlags, column.extendedFlags);
    out.u16At(start + layout::kColumnFixedOffset, column.fixedOffset);
    out.u16At(start + layout::kColumnLength, column.length);
}

}  // namespace

std::size_t tableDefinitionLength(const TableLayout& table) {
    std::size_t length = layout::kTdefBody;
    for (const ColumnLayout& column : table.columns)
        length += layout::kColumnDescriptorSize + nameSize(column.name);
    length += layout::kLongValueColumnEntrySize * table.longValueCount();
    return length + 2;  // the FF FF that ends the long-value list
}

std::size_t tableDefinitionPageCount(const TableLayout& table) {
    const std::size_t length = tableDefinitionLength(table);
    if (length <= layout::kPageSize) return 1;
    return 1 + (length - layout::kPageSize + kContinuationCapacity - 1) / kContinuationCapacity;
}

Status writeTableDefinition(PageFile& file, std::span<const std::uint32_t> pages,
                            const TableLayout& table, const TableDefinitionState& state) {
    const std::size_t length = tableDefinitionLength(table);
    if (pages.size() != tableDefinitionPageCount(table) ||
        state.longValueMaps.size() != table.longValueCount())
        return {StatusCode::invalidArgument,
                "table definition of " + std::to_string(length) +
                    " bytes does not match its pages or long-value maps"};

    std::vector<std::uint8_t> definition(length, 0);
    ByteWriter out(definition);
    out.u8At(0, layout::kPageTableDefinition);
    out.u8At(1, layout::kPageMarker);
    out.u32At(layout::kTdefLength, static_cast<std::uint32_t>(length));
    out.u32At(layout::kTdefConstant, layout::kTdefMagic);
    out.u32At(layout::kTdefRowCount, state.rowCount);
    out.u32At(layout::kTdefAutoNumber, 0);
    out.u32At(layout::kTdefAutoNumberIncrement, 1);
    out.u8At(layout::kTdefTableType,
             table.system ? layout::kTableTypeSystem : layout::kTableTypeUser);
    out.u16At(layout::kTdefMaxColumns, static_cast<std::uint16_t>(table.columns.size()));
    out.u16At(layout::kTdefVariableColumns, static_cast<std::uint16_t>(table.variableCount));
    out.u16At(layout::kTdefColumnCount, static_cast<std::uint16_t>(table.columns.size()));
    out.u32At(layout::kTdefLogicalIndexCount, 0);
    out.u32At(layout::kTdefRealIndexCount, 0);
    out.u32At(layout::kTdefOwnedPagesMap, state.ownedMap);
    out.u32At(layout::kTdefFreeSpaceMap, state.freeSpaceMap);

    out.seek(layout::kTdefBody);
    for (std::size_t index : table.descriptorOrder)
        writeColumnDescriptor(out, table.columns[index]);
    for (std::size_t index : table.descriptorOrder) writeName(out, table.columns[index].name);

    // The long-value list follows the descriptor order; its maps were numbered in col_num order.
    std::vector<std::size_t> longValueRank(table.columns.size(), 0);
    std::size_t rank = 0;
    for (std::size_t i = 0; i < table.columns.size(); ++i)
        if (table.columns[i].longValue()) longValueRank[i] = rank++;
    for (std::size_t index : table.descriptorOrder) {
        const ColumnLayout& column = table.columns[index];
        if (!column.longValue()) continue;
        out.u16(column.number);
        out.u32(state.longValueMaps[longValueRank[index]].owned);
        out.u32(state.longValueMaps[longValueRank[index]].freeSpace);
    }
    out.u16(layout::kLongValueColumnListEnd);
    if (!out.ok() || out.position() != length)
        return {StatusCode::invalidArgument,
                "table definition encoding overflowed its computed length"};

    // Split over the pages: the first takes bytes 0..4095, each further page its 8-byte header
    // and the next 4088 bytes.
    std::size_t offset = 0;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        Page page{};
        std::size_t used = 0;
        if (i == 0) {
            used = std::min(length, layout::kPageSize);
            std::copy_n(definition.begin(), used, page.begin());
            offset = used;
        } else {
            page[0] = layout::kPageTableDefinition;
            page[1] = layout::kPageMarker;
            const std::size_t chunk = std::min(length - offset, kContinuationCapacity);
            std::copy_n(definition.begin() + static_cast<std::ptrdiff_t>(offset), chunk,
                        page.begin() + layout::kTdefPageHeaderSize);
            offset += chunk;
            used = layout::kTdefPageHeaderSize + chunk;
        }
        ByteWriter header(page);
        // A full page would give a negative figure; it records no free space then.
        const std::size_t freeSpace = used + layout::kTdefFreeSpaceSlack <= layout::kPageSize
                                          ? layout::kPageSize - used - layout::kTdefFreeSpaceSlack
                                          : 0;
        header.u16At(layout::kTdefFreeSpace, static_cast<std::uint16_t>(freeSpace));
        header.u32At(layout::kTdefNextPage, i + 1 < pages.size() ? pages[i + 1] : 0);
        JET_TRY(file.write(pages[i], page));
    }
    return {};
}

}  // namespace jet::build
