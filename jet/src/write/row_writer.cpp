#include "write/row_writer.h"

#include <algorithm>
#include <cstring>
#include <random>

#include "build/byte_writer.h"
#include "build/long_value_writer.h"
#include "byte_reader.h"
#include "data_page.h"
#include "fingerprint.h"
#include "layout.h"
#include "row_codec.h"
#include "table_scan.h"
#include "text_codec.h"
#include "usage_map.h"
#include "write/usage_map_editor.h"

namespace jet {

namespace {

constexpr std::size_t kSlotSize = 2;
constexpr std::size_t kRowPointerSize = 4;

std::string quote(std::u16string_view name) {
    return "\"" + toUtf8(name) + "\"";
}

std::array<std::uint8_t, 4> ownerStamp(std::uint32_t tdefPage) {
    return {static_cast<std::uint8_t>(tdefPage), static_cast<std::uint8_t>(tdefPage >> 8),
            static_cast<std::uint8_t>(tdefPage >> 16), static_cast<std::uint8_t>(tdefPage >> 24)};
}

std::uint32_t rawPointer(RowPointer pointer) {
    return (pointer.pageNumber << 8) | pointer.rowIndex;
}

// True when `page` is a data page stamped `owner` that can take one more row of `size` bytes:
// fewer than 255 rows, a free-space counter that allows it, and room between the slot table
// and the lowest row (the counter is not trusted alone). Long-value pages must also carry no
// chain stamp, so that a chain started there never disagrees with its descriptor's zero.
bool pageTakes(const PageBuffer& page, const std::array<std::uint8_t, 4>& owner, bool longValues,
               std::size_t size) {
    if (page[0] != layout::kPageData) return false;
    if (!std::equal(owner.begin(), owner.end(), page.begin() + layout::kDataOwner)) return false;
    const ByteReader in(page);
    std::uint32_t stamp = 0;
    in.u32At(layout::kDataChainStamp, stamp);
    if (longValues && stamp != 0) return false;
    std::uint16_t count = 0;
    std::uint16_t free = 0;
    in.u16At(layout::kDataRowCount, count);
    in.u16At(layout::kDataFreeSpace, free);
    if (count >= layout::kMaxRowsPerPage) return false;
    if (free < size + kSlotSize) return false;
    std::size_t lowest = layout::kPageSize;
    for (std::uint16_t i = 0; i < count; ++i) {
        std::uint16_t raw = 0;
        in.u16At(layout::kDataRowSlots + kSlotSize * i, raw);
        lowest = std::min<std::size_t>(lowest, raw & layout::kRowSlotOffsetMask);
    }
    const std::size_t slotsEnd = layout::kDataRowSlots + kSlotSize * (std::size_t{count} + 1);
    return lowest >= slotsEnd && size <= lowest - slotsEnd;
}

// Appends a row to a page that pageTakes() accepted; returns its row number.
std::uint8_t appendRow(PageBuffer& page, std::span<const std::uint8_t> row, std::uint16_t flags) {
    const ByteReader in(page);
    std::uint16_t count = 0;
    std::uint16_t free = 0;
    in.u16At(layout::kDataRowCount, count);
    in.u16At(layout::kDataFreeSpace, free);
    std::size_t lowest = layout::kPageSize;
    for (std::uint16_t i = 0; i < count; ++i) {
        std::uint16_t raw = 0;
        in.u16At(layout::kDataRowSlots + kSlotSize * i, raw);
        lowest = std::min<std::size_t>(lowest, raw & layout::kRowSlotOffsetMask);
    }
    const std::size_t start = lowest - row.size();
    build::ByteWriter out(page);
    out.bytesAt(start, row);
    out.u16At(layout::kDataRowSlots + kSlotSize * count, static_cast<std::uint16_t>(start | flags));
    out.u16At(layout::kDataRowCount, static_cast<std::uint16_t>(count + 1));
    out.u16At(layout::kDataFreeSpace, static_cast<std::uint16_t>(free - row.size() - kSlotSize));
    return static_cast<std::uint8_t>(count);
}

void initialiseDataPage(PageBuffer& page, const std::array<std::uint8_t, 4>& owner) {
    page.fill(0);
    build::ByteWriter out(page);
    out.u8At(0, layout::kPageData);
    out.u8At(1, layout::kPageMarker);
    out.u16At(layout::kDataFreeSpace, static_cast<std::uint16_t>(layout::kDataInitialFreeSpace));
    out.bytesAt(layout::kDataOwner, owner);
}

Guid randomGuid() {
    static std::mt19937_64 generator{std::random_device{}()};
    Guid guid;
    for (std::size_t i = 0; i < guid.bytes.size(); i += 8) {
        const std::uint64_t bits = generator();
        for (std::size_t k = 0; k < 8; ++k)
            guid.bytes[i + k] = static_cast<std::uint8_t>(bits >> (8 * k));
    }
    guid.bytes[7] = static_cast<std::uint8_t>((guid.bytes[7] & 0x0F) | 0x40);  // version 4
    guid.bytes[8] = static_cast<std::uint8_t>((guid.bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
    return guid;
}

bool isAutoNumber(const ColumnDefinition& column) {
    return column.type == layout::kTypeLong && (column.flags & layout::kColumnFlagAutoNumber) != 0;
}

}  // namespace

RowWriter::RowWriter(Transaction& transaction, TableDefinition table)
    : m_transaction(&transaction), m_table(std::move(table)) {}

Result<RowWriter> RowWriter::open(Transaction& transaction, std::uint32_t tdefPage,
                                  std::u16string tableName) {
    auto table = TableDefinition::read(transaction, tdefPage, std::move(tableName));
    JET_TRY(table);
    RowWriter writer(transaction, std::move(*table));
    const TableDefinition& t = writer.m_table;
    std::size_t columnCount = t.maxColumns;
    std::size_t variableCount = t.variableColumnCount;
    std::size_t fixedArea = 0;
    for (const ColumnDefinition& column : t.columns) {
        build::ColumnLayout layout;
        layout.name = column.name;
        layout.type = column.type;
        layout.number = column.number;
        layout.variableIndex = column.variableIndex;
        layout.fixedOffset = column.fixedOffset;
        layout.length = column.length;
        layout.flags = column.flags;
        layout.extendedFlags = column.extendedFlags;
        writer.m_columns.push_back(layout);
        columnCount = std::max<std::size_t>(columnCount, std::size_t{column.number} + 1);
        if (!column.isFixed())
            variableCount =
                std::max<std::size_t>(variableCount, std::size_t{column.variableIndex} + 1);
        else if (column.type != layout::kTypeBoolean)
            fixedArea = std::max<std::size_t>(fixedArea,
                                              std::size_t{column.fixedOffset} + column.fixedSize());
    }
    // Rows this table's definition asks for could never fit a page.
    if (columnCount > layout::kMaxColumns + 1 || variableCount > layout::kMaxColumns + 1 ||
        fixedArea > layout::kMaxRowSize)
        return corrupt("table definition of " + quote(t.name) +
                       " describes rows that cannot fit a page (" + std::to_string(columnCount) +
                       " columns, " + std::to_string(variableCount) + " variable, fixed area " +
                       std::to_string(fixedArea) + " bytes; TDEF page " + std::to_string(tdefPage) +
                       ")");
    writer.m_shape = {columnCount, variableCount, fixedArea};
    return writer;
}

std::string RowWriter::where() const {
    return "table " + quote(m_table.name);
}

Status RowWriter::refuseIndexed(const std::string& what) const {
    if (m_table.indexes.empty()) return {};
    return {StatusCode::unsupported,
            "table " + quote(m_table.name) +
                " has indexes; this program cannot keep them up to date, so it cannot " + what +
                " (nothing was changed)"};
}

Result<RowWriter::StoredRow> RowWriter::locate(RowLocation row) const {
    const std::string place = "page " + std::to_string(row.pageNumber) + " row " +
                              std::to_string(row.rowIndex) + ", " + where();
    const Status none{StatusCode::notFound, "there is no record at " + place};
    if (row.pageNumber == 0 || row.pageNumber >= m_transaction->pageCount()) return none;
    PageBuffer buffer{};
    JET_TRY(m_transaction->readPage(row.pageNumber, buffer));
    if (buffer[0] != layout::kPageData) return none;
    auto page = DataPage::open(buffer, row.pageNumber, where());
    JET_TRY(page);
    if (page->owner() != m_table.tdefPage || row.rowIndex >= page->rowCount()) return none;
    const RowSlot slot = page->slot(row.rowIndex);
    if (slot.deleted)
        return Status(
            StatusCode::conflict,
            "the record was deleted by another program since it was read; nothing was changed (" +
                place + ")");
    if (slot.hidden) return none;
    auto bytes = page->row(row.rowIndex, where());
    JET_TRY(bytes);
    StoredRow stored;
    stored.holder = {row.pageNumber, row.rowIndex};
    if (!slot.moved) {
        stored.bytes.assign(bytes->begin(), bytes->end());
        return stored;
    }
    PageBuffer targetBuffer{};
    auto target = followMovedRow(*m_transaction, m_table, *page, buffer, targetBuffer, row.rowIndex,
                                 *bytes, where());
    JET_TRY(target);
    stored.holder = target->pointer;
    stored.moved = true;
    stored.bytes.assign(target->bytes.begin(), target->bytes.end());
    return stored;
}

Status RowWriter::checkVersion(const StoredRow& stored, RowLocation row,
                               std::uint64_t expected) const {
    if (fingerprint64(stored.bytes) == expected) return {};
    return {StatusCode::conflict,
            "the record was changed by another program since it was read; read it again and repeat "
            "the change (nothing was changed; page " +
                std::to_string(row.pageNumber) + " row " + std::to_string(row.rowIndex) + ", " +
                where() + ")"};
}

Status RowWriter::encodeChange(std::size_t columnIndex, const Value& value,
                               build::EncodedCell& cell) const {
    const ColumnDefinition& column = m_table.columns[columnIndex];
    const build::ColumnLayout& layout = m_columns[columnIndex];
    const auto fail = [&](const std::string& problem) -> Status {
        return {StatusCode::invalidArgument,
                where() + ", column " + quote(column.name) + ": " + problem};
    };
    if (column.type == layout::kTypeDecimal) {
        cell = {};
        if (isNull(value)) return {};
        const auto* decimal = std::get_if<Decimal>(&value);
        if (decimal == nullptr) return fail("expected a decimal value");
        if (decimal->scale != column.scale)
            return fail("a decimal of scale " + std::to_string(decimal->scale) +
                        " for a column of scale " + std::to_string(column.scale));
        cell.present = true;
        cell.bytes.push_back(decimal->negative ? 0x80 : 0x00);
        for (std::size_t word = 4; word-- > 0;)
            for (std::size_t k = 0; k < 4; ++k)
                cell.bytes.push_back(
                    static_cast<std::uint8_t>(decimal->magnitude[word] >> (8 * k)));
        return {};
    }
    if (auto problem = build::encodeColumnValue(layout, value, cell)) return fail(*problem);
    if (!column.isFixed() || !cell.present || column.type == layout::kTypeBoolean) return {};
    // Fixed-length text and binary fill their whole width: text plain and padded with
    // spaces, binary with zeros.
    const std::size_t width = column.fixedSize();
    if (column.type == layout::kTypeText) {
        std::u16string text = std::get<std::u16string>(value);
        if (text.size() * 2 > width) return fail("the text is longer than the column");
        text.resize(width / 2, u' ');
        cell.bytes = encodeText(text, false);
    }
    if (cell.bytes.size() > width) return fail("the value is longer than the column");
    cell.bytes.resize(width, 0);
    return {};
}

Result<build::LongValueDescriptor> RowWriter::storeLongValue(
    const ColumnDefinition& column, std::span<const std::uint8_t> payload) {
    const LongValueColumnMaps* maps = nullptr;
    for (const LongValueColumnMaps& entry : m_table.longValueColumns)
        if (entry.columnNumber == column.number) maps = &entry;
    if (maps == nullptr)
        return corrupt("column " + quote(column.name) + " of " + where() +
                       " has no long-value pages listed in the table definition");
    return build::storeLongValueRows(
        payload, [&](std::span<const std::uint8_t> row) -> Result<std::uint32_t> {
            auto pointer = placeRow(row, 0, maps);
            JET_TRY(pointer);
            return rawPointer(*pointer);
        });
}

Result<std::size_t> RowWriter::storeLongValues(std::vector<build::EncodedCell>& cells) {
    const std::size_t size = build::placeLongValues(m_columns, cells, m_shape);
    if (size > layout::kMaxRowSize)
        return Status(StatusCode::invalidArgument, "the record needs " + std::to_string(size) +
                                                       " bytes; a Jet row holds at most " +
                                                       std::to_string(layout::kMaxRowSize) + " (" +
                                                       where() + ")");
    for (std::size_t i = 0; i < cells.size(); ++i) {
        build::EncodedCell& cell = cells[i];
        if (!m_columns[i].longValue() || !cell.present || cell.asStored) continue;
        if (cell.inlineLongValue) {
            cell.descriptor = build::inlineLongValueDescriptor(cell.bytes.size());
            continue;
        }
        auto descriptor = storeLongValue(m_table.columns[i], cell.bytes);
        JET_TRY(descriptor);
        cell.descriptor = *descriptor;
    }
    return size;
}

Result<RowPointer> RowWriter::placeRow(std::span<const std::uint8_t> row, std::uint16_t slotFlags,
                                       const LongValueColumnMaps* longValues) {
    const bool forLongValues = longValues != nullptr;
    const RowPointer freeMap = forLongValues ? longValues->freeSpace : m_table.freeSpace;
    const RowPointer ownedMap = forLongValues ? longValues->ownedPages : m_table.ownedPages;
    const std::array<std::uint8_t, 4> owner =
        forLongValues ? layout::kLongValueOwner : ownerStamp(m_table.tdefPage);
    std::string mapWhere = where();
    if (forLongValues)
        for (const ColumnDefinition& column : m_table.columns)
            if (column.number == longValues->columnNumber)
                mapWhere = "long values of column " + quote(column.name) + ", " + where();

    Transaction& transaction = *m_transaction;
    auto freePages = UsageMap::readPages(transaction, freeMap, mapWhere);
    JET_TRY(freePages);
    if (!freePages->empty()) {
        // As Jet does: only the last page with free space is tried; one that cannot take the
        // row leaves the free-space map.
        const std::uint32_t candidate = freePages->back();
        PageBuffer buffer{};
        JET_TRY(transaction.readPage(candidate, buffer));
        if (pageTakes(buffer, owner, forLongValues, row.size())) {
            auto page = transaction.page(candidate);
            JET_TRY(page);
            const std::uint8_t rowIndex = appendRow(**page, row, slotFlags);
            return RowPointer{candidate, rowIndex};
        }
        JET_TRY(
            setUsageMapBit(transaction, freeMap, candidate, false, MapSense::members, mapWhere));
    }
    auto pageNumber = allocatePage(transaction);
    JET_TRY(pageNumber);
    JET_TRY(setUsageMapBit(transaction, ownedMap, *pageNumber, true, MapSense::members, mapWhere));
    JET_TRY(setUsageMapBit(transaction, freeMap, *pageNumber, true, MapSense::members, mapWhere));
    auto page = transaction.page(*pageNumber);
    JET_TRY(page);
    initialiseDataPage(**page, owner);
    const std::uint8_t rowIndex = appendRow(**page, row, slotFlags);
    return RowPointer{*pageNumber, rowIndex};
}

Status RowWriter::adjustTableDefinition(int rowCountChange,
                                        const std::vector<std::uint32_t>* autoNumbers) {
    auto page = m_transaction->page(m_table.tdefPage);
    JET_TRY(page);
    const ByteReader in(**page);
    build::ByteWriter out(**page);
    std::uint32_t rows = 0;
    in.u32At(layout::kTdefRowCount, rows);
    // A count already at zero is stale (Jet leaves such counts after a crash): keep it there.
    if (rowCountChange > 0) ++rows;
    if (rowCountChange < 0 && rows > 0) --rows;
    out.u32At(layout::kTdefRowCount, rows);
    if (autoNumbers != nullptr && !autoNumbers->empty())
        out.u32At(layout::kTdefAutoNumber, autoNumbers->back());
    return {};
}

Result<RowLocation> RowWriter::insert(const std::vector<Value>& values) {
    JET_TRY(refuseIndexed("add records to it"));
    const std::size_t count = m_table.columns.size();
    if (values.size() != count)
        return Status(StatusCode::invalidArgument, where() + " has " + std::to_string(count) +
                                                       " columns; the new record has " +
                                                       std::to_string(values.size()) + " values");
    PageBuffer tdef{};
    JET_TRY(m_transaction->readPage(m_table.tdefPage, tdef));
    std::uint32_t lastAutoNumber = 0;
    std::uint32_t increment = 0;
    ByteReader(tdef).u32At(layout::kTdefAutoNumber, lastAutoNumber);
    ByteReader(tdef).u32At(layout::kTdefAutoNumberIncrement, increment);
    if (increment == 0) increment = 1;  // Jackcess-made files store a lone 1 byte, others 0

    std::vector<std::uint32_t> autoNumbers;
    std::vector<build::EncodedCell> cells(count);
    for (std::size_t i = 0; i < count; ++i) {
        const ColumnDefinition& column = m_table.columns[i];
        Value value = values[i];
        if (isAutoNumber(column)) {
            if (!isNull(value))
                return Status(
                    StatusCode::invalidArgument,
                    where() + ", column " + quote(column.name) +
                        ": an AutoNumber column is numbered by the database; give it Null");
            lastAutoNumber += increment;
            autoNumbers.push_back(lastAutoNumber);
            value = std::int64_t{static_cast<std::int32_t>(lastAutoNumber)};
        } else if (column.type == layout::kTypeGuid &&
                   (column.flags & layout::kColumnFlagAutoGuid) != 0 && isNull(value)) {
            value = randomGuid();
        }
        JET_TRY(encodeChange(i, value, cells[i]));
    }
    auto size = storeLongValues(cells);
    JET_TRY(size);
    std::vector<std::uint8_t> image;
    if (!build::encodeRowImage(m_columns, cells, m_shape, image) || image.size() != *size)
        return corrupt("cannot lay out a record of " + where() + " from its table definition");
    auto placed = placeRow(image, 0, nullptr);
    JET_TRY(placed);
    JET_TRY(adjustTableDefinition(+1, &autoNumbers));
    return RowLocation{placed->pageNumber, placed->rowIndex};
}

Status RowWriter::update(RowLocation row, std::uint64_t expectedVersion,
                         const std::vector<std::pair<std::size_t, Value>>& changes) {
    for (const auto& [index, value] : changes) {
        if (index >= m_table.columns.size())
            return {StatusCode::invalidArgument,
                    "column " + std::to_string(index) + " does not exist (" + where() + " has " +
                        std::to_string(m_table.columns.size()) + " columns)"};
        const ColumnDefinition& column = m_table.columns[index];
        if (column.indexed)
            return {StatusCode::unsupported, "table " + quote(m_table.name) +
                                                 " has indexes and column " + quote(column.name) +
                                                 " is in one; this program cannot keep indexes up "
                                                 "to date, so it cannot change that "
                                                 "column (nothing was changed)"};
        if (isAutoNumber(column))
            return {StatusCode::invalidArgument, where() + ", column " + quote(column.name) +
                                                     ": an AutoNumber column cannot be changed"};
    }
    auto stored = locate(row);
    JET_TRY(stored);
    JET_TRY(checkVersion(*stored, row, expectedVersion));

    const RowWhere rowWhere{&m_table.name, stored->holder.pageNumber, stored->holder.rowIndex};
    auto view = RowView::open(stored->bytes, m_table, rowWhere);
    JET_TRY(view);
    std::vector<build::EncodedCell> cells(m_table.columns.size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
        auto field = view->field(m_table.columns[i], rowWhere);
        JET_TRY(field);
        build::EncodedCell& cell = cells[i];
        cell.asStored = true;
        cell.present =
            m_table.columns[i].type == layout::kTypeBoolean ? field->boolValue : !field->null;
        if (cell.present) cell.bytes.assign(field->bytes.begin(), field->bytes.end());
    }
    for (const auto& [index, value] : changes) JET_TRY(encodeChange(index, value, cells[index]));
    auto size = storeLongValues(cells);
    JET_TRY(size);

    std::vector<std::uint8_t> image;
    const std::size_t slotLength = stored->bytes.size();
    if (*size <= slotLength) {
        // Fits where the bytes are now: rewrite them there, padded to the slot's length.
        if (!build::encodeRowImage(m_columns, cells, m_shape, image, slotLength) ||
            image.size() != slotLength)
            return corrupt("cannot lay out a record of " + where() + " from its table definition");
        auto page = m_transaction->page(stored->holder.pageNumber);
        JET_TRY(page);
        auto holder = DataPage::open(**page, stored->holder.pageNumber, where());
        JET_TRY(holder);
        auto bytes = holder->row(stored->holder.rowIndex, where());
        JET_TRY(bytes);
        const std::size_t start = static_cast<std::size_t>(bytes->data() - (*page)->data());
        std::memcpy((*page)->data() + start, image.data(), image.size());
        return {};
    }

    // Too long for its slot: the bytes move to a hidden slot and the record's own slot (the one
    // indexes and result sets name) points at them. A record that had moved before points at
    // the newest place, and its earlier target is marked deleted: mdbtools and mdb-reader read
    // hidden slots as rows of their own, so a stale one left hidden would show up there twice.
    if (!build::encodeRowImage(m_columns, cells, m_shape, image) || image.size() != *size)
        return corrupt("cannot lay out a record of " + where() + " from its table definition");
    auto target = placeRow(image, layout::kRowSlotHidden, nullptr);
    JET_TRY(target);
    if (stored->moved) JET_TRY(markDeleted(stored->holder));
    auto page = m_transaction->page(row.pageNumber);
    JET_TRY(page);
    auto original = DataPage::open(**page, row.pageNumber, where());
    JET_TRY(original);
    auto bytes = original->row(row.rowIndex, where());
    JET_TRY(bytes);
    if (bytes->size() < kRowPointerSize)
        return {StatusCode::unsupported,
                "the record at page " + std::to_string(row.pageNumber) + " row " +
                    std::to_string(row.rowIndex) + " of " + where() +
                    " is too short to point at its new place (nothing was changed)"};
    const std::size_t start = static_cast<std::size_t>(bytes->data() - (*page)->data());
    build::ByteWriter out(**page);
    std::memset((*page)->data() + start, 0, bytes->size());
    out.u32At(start, rawPointer(*target));
    const std::size_t slotOffset = layout::kDataRowSlots + kSlotSize * row.rowIndex;
    std::uint16_t raw = 0;
    ByteReader(**page).u16At(slotOffset, raw);
    raw = static_cast<std::uint16_t>((raw & layout::kRowSlotOffsetMask) | layout::kRowSlotMoved);
    out.u16At(slotOffset, raw);
    return {};
}

Status RowWriter::remove(RowLocation row, std::uint64_t expectedVersion) {
    JET_TRY(refuseIndexed("delete records from it"));
    auto stored = locate(row);
    JET_TRY(stored);
    JET_TRY(checkVersion(*stored, row, expectedVersion));
    // The record's own slot, and the hidden bytes of a moved record, which other readers would
    // otherwise still list.
    JET_TRY(markDeleted({row.pageNumber, row.rowIndex}));
    if (stored->moved) JET_TRY(markDeleted(stored->holder));
    return adjustTableDefinition(-1, nullptr);
}

Status RowWriter::markDeleted(RowPointer slot) {
    auto page = m_transaction->page(slot.pageNumber);
    JET_TRY(page);
    const std::size_t slotOffset = layout::kDataRowSlots + kSlotSize * slot.rowIndex;
    std::uint16_t raw = 0;
    ByteReader(**page).u16At(slotOffset, raw);
    build::ByteWriter(**page).u16At(slotOffset,
                                    static_cast<std::uint16_t>(raw | layout::kRowSlotDeleted));
    return {};
}

}  // namespace jet
