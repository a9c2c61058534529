#include "table_definition.h"

#include <algorithm>
#include <unordered_set>

#include "byte_reader.h"
#include "jet/value.h"
#include "layout.h"
#include "names.h"
#include "text_codec.h"

namespace jet {

namespace {

std::string describe(const std::u16string& name, std::uint32_t tdefPage) {
    return "table " + toUtf8(name) + ", TDEF page " + std::to_string(tdefPage);
}

Status runsPast(const char* what, const std::u16string& name, std::uint32_t tdefPage) {
    return corrupt(std::string("table definition ends inside its ") + what + " (" +
                   describe(name, tdefPage) + ")");
}

// Reads `count` records of `size` bytes from `in`, refusing counts the remaining bytes cannot
// hold before anything is allocated.
bool canHold(const ByteReader& in, std::uint64_t count, std::size_t size) {
    return count <= in.remaining() / size;
}

}  // namespace

bool ColumnDefinition::isFixed() const {
    return (flags & layout::kColumnFlagFixed) != 0;
}

bool ColumnDefinition::isLongValue() const {
    return type == layout::kTypeMemo || type == layout::kTypeOle;
}

std::size_t ColumnDefinition::fixedSize() const {
    switch (type) {
        case layout::kTypeBoolean:
            return 0;
        case layout::kTypeByte:
            return 1;
        case layout::kTypeInteger:
            return 2;
        case layout::kTypeLong:
            return 4;
        case layout::kTypeCurrency:
            return 8;
        case layout::kTypeSingle:
            return 4;
        case layout::kTypeDouble:
            return 8;
        case layout::kTypeDateTime:
            return 8;
        case layout::kTypeGuid:
            return layout::kGuidSize;
        case layout::kTypeDecimal:
            return layout::kDecimalSize;
        default:
            return length;
    }
}

Result<TableDefinition> TableDefinition::read(const PageSource& source, std::uint32_t tdefPage,
                                              std::u16string name) {
    std::vector<std::uint8_t> definition;
    std::unordered_set<std::uint32_t> visited;
    PageBuffer page{};
    std::uint32_t pageNumber = tdefPage;
    while (pageNumber != 0) {
        // A chain that comes back to a page it has seen would never end.
        if (!visited.insert(pageNumber).second)
            return corrupt("table definition chain loops back to page " +
                           std::to_string(pageNumber) + " (" + describe(name, tdefPage) + ")");
        if (pageNumber >= source.pageCount())
            return corrupt(std::string(pageNumber == tdefPage
                                           ? "table definition page "
                                           : "table definition continues on page ") +
                           std::to_string(pageNumber) + (pageNumber == tdefPage ? " is" : "") +
                           " past the end (" + std::to_string(source.pageCount()) + " pages, " +
                           describe(name, tdefPage) + ")");
        JET_TRY(source.readPage(pageNumber, page));
        if (page[0] != layout::kPageTableDefinition)
            return corrupt("page " + std::to_string(pageNumber) +
                           " is not a table definition page (type " + hexOffset(page[0]) + ", " +
                           describe(name, tdefPage) + ")");
        const std::size_t from = definition.empty() ? 0 : layout::kTdefPageHeaderSize;
        definition.insert(definition.end(), page.begin() + static_cast<std::ptrdiff_t>(from),
                          page.end());
        std::uint32_t next = 0;
        ByteReader(page).u32At(layout::kTdefNextPage, next);
        pageNumber = next;
    }
    return parse(definition, tdefPage, std::move(name));
}

Result<TableDefinition> TableDefinition::parse(std::span<const std::uint8_t> definition,
                                               std::uint32_t tdefPage, std::u16string name) {
    TableDefinition table;
    table.name = std::move(name);
    table.tdefPage = tdefPage;
    ByteReader in(definition);

    std::uint16_t columnCount = 0;
    std::uint32_t logicalIndexCount = 0;
    std::uint32_t realIndexCount = 0;
    std::uint32_t ownedPages = 0;
    std::uint32_t freeSpace = 0;
    if (!in.u32At(layout::kTdefRowCount, table.rowCount) ||
        !in.u8At(layout::kTdefTableType, table.tableType) ||
        !in.u16At(layout::kTdefMaxColumns, table.maxColumns) ||
        !in.u16At(layout::kTdefVariableColumns, table.variableColumnCount) ||
        !in.u16At(layout::kTdefColumnCount, columnCount) ||
        !in.u32At(layout::kTdefLogicalIndexCount, logicalIndexCount) ||
        !in.u32At(layout::kTdefRealIndexCount, realIndexCount) ||
        !in.u32At(layout::kTdefOwnedPagesMap, ownedPages) ||
        !in.u32At(layout::kTdefFreeSpaceMap, freeSpace) || !in.seek(layout::kTdefBody))
        return runsPast("header", table.name, tdefPage);
    table.ownedPages = RowPointer::fromRaw(ownedPages);
    table.freeSpace = RowPointer::fromRaw(freeSpace);

    if (!canHold(in, realIndexCount, layout::kRealIndexStatsSize) ||
        !in.skip(realIndexCount * layout::kRealIndexStatsSize))
        return runsPast("index statistics", table.name, tdefPage);

    if (!canHold(in, columnCount, layout::kColumnDescriptorSize))
        return runsPast("column descriptors", table.name, tdefPage);
    table.columns.resize(columnCount);
    for (ColumnDefinition& column : table.columns) {
        std::span<const std::uint8_t> raw;
        in.readBytes(layout::kColumnDescriptorSize, raw);
        const ByteReader d(raw);
        d.u8At(layout::kColumnType, column.type);
        d.u16At(layout::kColumnNumber, column.number);
        d.u16At(layout::kColumnVariableIndex, column.variableIndex);
        d.u8At(layout::kColumnPrecision, column.precision);
        d.u8At(layout::kColumnScale, column.scale);
        d.u8At(layout::kColumnFlags, column.flags);
        d.u8At(layout::kColumnExtendedFlags, column.extendedFlags);
        d.u16At(layout::kColumnFixedOffset, column.fixedOffset);
        d.u16At(layout::kColumnLength, column.length);
    }
    for (ColumnDefinition& column : table.columns) {
        std::uint16_t length = 0;
        std::span<const std::uint8_t> bytes;
        if (!in.readU16(length) || !in.readBytes(length, bytes))
            return runsPast("column names", table.name, tdefPage);
        column.name = decodeText(bytes);
    }

    if (!canHold(in, realIndexCount, layout::kRealIndexDescriptorSize))
        return runsPast("index descriptors", table.name, tdefPage);
    table.indexes.resize(realIndexCount);
    for (IndexDefinition& index : table.indexes) {
        std::span<const std::uint8_t> raw;
        in.readBytes(layout::kRealIndexDescriptorSize, raw);
        const ByteReader d(raw);
        for (std::size_t k = 0; k < layout::kRealIndexColumnSlots; ++k) {
            std::uint16_t number = 0;
            d.u16At(layout::kRealIndexColumns + 3 * k, number);
            if (number != layout::kRealIndexUnusedColumn) index.columnNumbers.push_back(number);
        }
        d.u8At(layout::kRealIndexFlags, index.flags);
    }

    if (!canHold(in, logicalIndexCount, layout::kLogicalIndexDescriptorSize) ||
        !in.skip(logicalIndexCount * layout::kLogicalIndexDescriptorSize))
        return runsPast("logical index descriptors", table.name, tdefPage);
    for (std::uint32_t i = 0; i < logicalIndexCount; ++i) {
        std::uint16_t length = 0;
        if (!in.readU16(length) || !in.skip(length))
            return runsPast("index names", table.name, tdefPage);
    }
    // The long-value column list ends with FF FF. Reading needs none of it (each descriptor
    // in a row points at its own data), so a list cut short is taken as it is.
    for (;;) {
        std::uint16_t number = 0;
        std::uint32_t owned = 0;
        std::uint32_t free = 0;
        if (!in.readU16(number) || number == layout::kLongValueColumnListEnd) break;
        if (!in.readU32(owned) || !in.readU32(free)) break;
        table.longValueColumns.push_back(
            {number, RowPointer::fromRaw(owned), RowPointer::fromRaw(free)});
    }

    std::stable_sort(
        table.columns.begin(), table.columns.end(),
        [](const ColumnDefinition& a, const ColumnDefinition& b) { return a.number < b.number; });
    for (std::size_t i = 1; i < table.columns.size(); ++i)
        if (table.columns[i].number == table.columns[i - 1].number)
            return corrupt("two columns numbered " + std::to_string(table.columns[i].number) +
                           " (" + describe(table.name, tdefPage) + ")");
    for (const IndexDefinition& index : table.indexes)
        for (std::uint16_t number : index.columnNumbers)
            for (ColumnDefinition& column : table.columns)
                if (column.number == number) column.indexed = true;
    return table;
}

const ColumnDefinition* TableDefinition::findColumn(std::u16string_view columnName) const {
    for (const ColumnDefinition& column : columns)
        if (namesEqual(column.name, columnName)) return &column;
    return nullptr;
}

}  // namespace jet
