#include "table_scan.h"

#include <algorithm>

#include "data_page.h"
#include "fingerprint.h"
#include "layout.h"
#include "long_value.h"
#include "result_set_data.h"
#include "row_codec.h"
#include "text_codec.h"
#include "usage_map.h"

namespace jet {

namespace {

std::string tableWhere(const TableDefinition& table) {
    return "table " + toUtf8(table.name);
}

}  // namespace

Result<MovedRowTarget> followMovedRow(const PageSource& source, const TableDefinition& table,
                                      const DataPage& page, const PageBuffer& pageBuffer,
                                      PageBuffer& targetBuffer, std::uint16_t rowIndex,
                                      std::span<const std::uint8_t> pointerRow,
                                      const std::string& where) {
    const std::uint32_t pageNumber = page.pageNumber();
    std::uint32_t raw = 0;
    if (!ByteReader(pointerRow).u32At(0, raw))
        return corrupt("moved row of " + std::to_string(pointerRow.size()) +
                       " bytes has no pointer (page " + std::to_string(pageNumber) + ", row " +
                       std::to_string(rowIndex) + ", " + where + ")");
    const RowPointer target = RowPointer::fromRaw(raw);
    const std::string movedWhere = "moved row at page " + std::to_string(pageNumber) + " row " +
                                   std::to_string(rowIndex) + ", " + where;
    if (target.pageNumber == 0 || target.pageNumber >= source.pageCount())
        return corrupt("moved row points at page " + std::to_string(target.pageNumber) +
                       " outside the file (" + std::to_string(source.pageCount()) + " pages, " +
                       movedWhere + ")");
    const PageBuffer* targetPage = &pageBuffer;
    if (target.pageNumber != pageNumber) {
        JET_TRY(source.readPage(target.pageNumber, targetBuffer));
        targetPage = &targetBuffer;
    }
    auto holder = DataPage::open(*targetPage, target.pageNumber, movedWhere);
    JET_TRY(holder);
    if (holder->owner() != table.tdefPage)
        return corrupt("moved row points at page " + std::to_string(target.pageNumber) +
                       ", which belongs to another table (" + movedWhere + ")");
    if (target.rowIndex >= holder->rowCount())
        return corrupt("moved row points at row " + std::to_string(target.rowIndex) + " of page " +
                       std::to_string(target.pageNumber) + ", which has " +
                       std::to_string(holder->rowCount()) + " rows (" + movedWhere + ")");
    const RowSlot targetSlot = holder->slot(target.rowIndex);
    // One hop only: a target that is deleted or itself moved is damage, not a chain.
    if (targetSlot.deleted || targetSlot.moved)
        return corrupt(std::string("moved row points at a ") +
                       (targetSlot.deleted ? "deleted" : "moved") + " row (page " +
                       std::to_string(target.pageNumber) + " row " +
                       std::to_string(target.rowIndex) + ", " + movedWhere + ")");
    auto targetRow = holder->row(target.rowIndex, movedWhere);
    JET_TRY(targetRow);
    return MovedRowTarget{target, *targetRow};
}

namespace {

// Visits the live row in slot `rowIndex` of `page` (read into `buffer`): deleted slots and
// hidden targets are skipped (`visited` false), a moved row is read at its target.
Status visitSlot(const PageSource& source, const TableDefinition& table, const DataPage& page,
                 const PageBuffer& buffer, PageBuffer& targetBuffer, std::uint16_t rowIndex,
                 const std::string& where, const RowVisitor& visit, bool& visited) {
    visited = false;
    const RowSlot slot = page.slot(rowIndex);
    if (slot.deleted || slot.hidden) return {};
    auto row = page.row(rowIndex, where);
    JET_TRY(row);
    const RowLocation location{page.pageNumber(), static_cast<std::uint8_t>(rowIndex)};
    visited = true;
    if (!slot.moved) return visit(location, *row);
    auto target = followMovedRow(source, table, page, buffer, targetBuffer, rowIndex, *row, where);
    JET_TRY(target);
    return visit(location, target->bytes);
}

}  // namespace

Status scanRows(const PageSource& source, const TableDefinition& table, const RowVisitor& visit) {
    const std::string where = tableWhere(table);
    auto pages = UsageMap::readPages(source, table.ownedPages, where);
    JET_TRY(pages);

    PageBuffer buffer{};
    PageBuffer targetBuffer{};
    for (const std::uint32_t pageNumber : *pages) {
        JET_TRY(source.readPage(pageNumber, buffer));
        // The map is the authority on which pages belong to the table, but a page it names
        // may since have been given to another use; only data pages stamped with this table
        // hold its rows.
        if (buffer[0] != layout::kPageData) continue;
        auto page = DataPage::open(buffer, pageNumber, where);
        JET_TRY(page);
        if (page->owner() != table.tdefPage) continue;

        for (std::uint16_t rowIndex = 0; rowIndex < page->rowCount(); ++rowIndex) {
            bool visited = false;
            JET_TRY(visitSlot(source, table, *page, buffer, targetBuffer, rowIndex, where, visit,
                              visited));
        }
    }
    return {};
}

Status visitRowAt(const PageSource& source, const TableDefinition& table, RowLocation location,
                  const RowVisitor& visit) {
    const std::string where = tableWhere(table);
    const std::string place = "page " + std::to_string(location.pageNumber) + " row " +
                              std::to_string(location.rowIndex) + ", " + where;
    const Status gone(StatusCode::notFound, "the record at " + place + " no longer exists");
    if (location.pageNumber == 0 || location.pageNumber >= source.pageCount()) return gone;
    PageBuffer buffer{};
    PageBuffer targetBuffer{};
    JET_TRY(source.readPage(location.pageNumber, buffer));
    if (buffer[0] != layout::kPageData) return gone;
    auto page = DataPage::open(buffer, location.pageNumber, where);
    JET_TRY(page);
    if (page->owner() != table.tdefPage || location.rowIndex >= page->rowCount()) return gone;
    bool visited = false;
    JET_TRY(visitSlot(source, table, *page, buffer, targetBuffer, location.rowIndex, where, visit,
                      visited));
    return visited ? Status() : gone;
}

SnapshotRequest allColumns(const TableDefinition& table) {
    SnapshotRequest request;
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        request.columns.push_back(i);
        request.names.push_back(table.columns[i].name);
    }
    return request;
}

Result<ResultSet> takeSnapshot(std::shared_ptr<const PageSource> source,
                               const TableDefinition& table, const SnapshotRequest& request) {
    auto data = std::make_shared<ResultSetData>();
    data->source = source;
    data->sourceName = table.name;
    for (std::size_t i = 0; i < request.columns.size(); ++i) {
        const ColumnDefinition& column = table.columns.at(request.columns[i]);
        data->columns.push_back({request.names.at(i), column.type, column.length});
    }
    const ColumnDefinition* filterColumn =
        request.filterColumn ? &table.columns.at(*request.filterColumn) : nullptr;
    std::u16string text;  // the filter column's value, reused across rows
    if (filterColumn == nullptr && !request.only) {
        // The stored row count is a hint only (it may be stale or damaged): reserve for it, but
        // never more than a bounded amount.
        constexpr std::size_t kReserveLimit = 100000;
        const std::size_t expected = std::min<std::size_t>(table.rowCount, kReserveLimit);
        data->cells.reserve(expected * request.columns.size());
        data->locations.reserve(expected);
        data->versions.reserve(expected);
    }

    const RowVisitor keep = [&](RowLocation location, std::span<const std::uint8_t> bytes) {
        const RowWhere where{&table.name, location.pageNumber, location.rowIndex};
        auto row = RowView::open(bytes, table, where);
        JET_TRY(row);
        if (filterColumn != nullptr) {
            auto field = row->field(*filterColumn, where);
            JET_TRY(field);
            if (field->null) return Status();
            text.clear();
            if (filterColumn->type == layout::kTypeMemo) {
                if (field->bytes.empty()) return Status();  // a memo with no descriptor is null
                auto value =
                    readLongValue(*source, field->bytes,
                                  "column " + toUtf8(filterColumn->name) + ", " + where.text());
                JET_TRY(value);
                decodeTextInto(*value, text);
            } else {
                decodeTextInto(field->bytes, text);
            }
            if (!request.filter(text)) return Status();
        }
        for (const std::size_t index : request.columns) {
            const ColumnDefinition& column = table.columns[index];
            auto field = row->field(column, where);
            JET_TRY(field);
            auto value = decodeField(column, *field, where);
            JET_TRY(value);
            data->cells.push_back(std::move(*value));
        }
        data->locations.push_back(location);
        data->versions.push_back(fingerprint64(bytes));
        return Status();
    };
    JET_TRY(request.only ? visitRowAt(*source, table, *request.only, keep)
                         : scanRows(*source, table, keep));
    return ResultSet(std::move(data));
}

}  // namespace jet
