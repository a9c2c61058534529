#include "catalogue.h"

#include <algorithm>

#include "data_page.h"
#include "jet/value.h"
#include "layout.h"
#include "long_value.h"
#include "names.h"
#include "row_codec.h"
#include "table_definition.h"
#include "table_scan.h"
#include "text_codec.h"

namespace jet {

namespace {

Result<const ColumnDefinition*> needColumn(const TableDefinition& table, std::u16string_view name,
                                           std::uint8_t type) {
    const ColumnDefinition* column = table.findColumn(name);
    if (column == nullptr || column->type != type)
        return corrupt(toUtf8(table.name) + " has no " + columnTypeName(type) + " column " +
                       toUtf8(std::u16string(name)) + " (TDEF page " +
                       std::to_string(table.tdefPage) + ")");
    return column;
}

// Reads one column of a row as a value, or null when absent.
Result<Value> readField(const RowView& row, const ColumnDefinition& column, const RowWhere& where) {
    auto field = row.field(column, where);
    JET_TRY(field);
    return decodeField(column, *field, where);
}

std::int64_t asInteger(const Value& value) {
    const auto* number = std::get_if<std::int64_t>(&value);
    return number ? *number : 0;
}

std::u16string asText(const Value& value) {
    const auto* text = std::get_if<std::u16string>(&value);
    return text ? *text : std::u16string();
}

const CatalogEntry* findIn(const std::vector<CatalogEntry>& entries, std::u16string_view name) {
    for (const CatalogEntry& entry : entries)
        if (namesEqual(entry.name, name)) return &entry;
    return nullptr;
}

}  // namespace

std::uint32_t CatalogEntry::tdefPage() const {
    return static_cast<std::uint32_t>(id) & layout::kObjectIdPageMask;
}

bool CatalogEntry::isSystem() const {
    return (flags & layout::kObjectFlagsSystem) != 0;
}

Result<Catalogue> Catalogue::read(const PageSource& source) {
    auto objects = TableDefinition::read(source, layout::kMSysObjectsTdefPage, u"MSysObjects");
    JET_TRY(objects);
    auto idColumn = needColumn(*objects, u"Id", layout::kTypeLong);
    auto parentColumn = needColumn(*objects, u"ParentId", layout::kTypeLong);
    auto nameColumn = needColumn(*objects, u"Name", layout::kTypeText);
    auto typeColumn = needColumn(*objects, u"Type", layout::kTypeInteger);
    auto flagsColumn = needColumn(*objects, u"Flags", layout::kTypeLong);
    JET_TRY(idColumn);
    JET_TRY(parentColumn);
    JET_TRY(nameColumn);
    JET_TRY(typeColumn);
    JET_TRY(flagsColumn);

    Catalogue catalogue;
    const Status status =
        scanRows(source, *objects, [&](RowLocation location, std::span<const std::uint8_t> bytes) {
            const RowWhere where{&objects->name, location.pageNumber, location.rowIndex};
            auto row = RowView::open(bytes, *objects, where);
            JET_TRY(row);
            auto id = readField(*row, **idColumn, where);
            auto parent = readField(*row, **parentColumn, where);
            auto name = readField(*row, **nameColumn, where);
            auto type = readField(*row, **typeColumn, where);
            auto flags = readField(*row, **flagsColumn, where);
            JET_TRY(id);
            JET_TRY(parent);
            JET_TRY(name);
            JET_TRY(type);
            JET_TRY(flags);
            CatalogEntry entry;
            entry.id = static_cast<std::int32_t>(asInteger(*id));
            entry.parentId = static_cast<std::int32_t>(asInteger(*parent));
            entry.name = asText(*name);
            entry.type = static_cast<std::int16_t>(asInteger(*type));
            entry.flags = static_cast<std::uint32_t>(asInteger(*flags));
            if (entry.parentId != layout::kTablesContainerId) return Status();
            if (entry.type == layout::kObjectTypeTable)
                (entry.isSystem() ? catalogue.m_systemTables : catalogue.m_userTables)
                    .push_back(std::move(entry));
            else if (entry.type == layout::kObjectTypeQuery && !entry.isSystem())
                catalogue.m_queries.push_back(std::move(entry));
            return Status();
        });
    JET_TRY(status);
    return catalogue;
}

const CatalogEntry* Catalogue::findUserTable(std::u16string_view name) const {
    return findIn(m_userTables, name);
}

const CatalogEntry* Catalogue::findSystemTable(std::u16string_view name) const {
    return findIn(m_systemTables, name);
}

const CatalogEntry* Catalogue::findQuery(std::u16string_view name) const {
    return findIn(m_queries, name);
}

Result<std::vector<QueryRow>> Catalogue::readQueryRows(const PageSource& source,
                                                       const CatalogEntry& query) const {
    const CatalogEntry* entry = findSystemTable(u"MSysQueries");
    if (entry == nullptr)
        return corrupt("the catalogue has no MSysQueries table for query " + toUtf8(query.name));
    auto table = TableDefinition::read(source, entry->tdefPage(), entry->name);
    JET_TRY(table);
    auto objectColumn = needColumn(*table, u"ObjectId", layout::kTypeLong);
    auto attributeColumn = needColumn(*table, u"Attribute", layout::kTypeByte);
    auto flagColumn = needColumn(*table, u"Flag", layout::kTypeInteger);
    JET_TRY(objectColumn);
    JET_TRY(attributeColumn);
    JET_TRY(flagColumn);
    const ColumnDefinition* name1Column = table->findColumn(u"Name1");
    const ColumnDefinition* name2Column = table->findColumn(u"Name2");
    const ColumnDefinition* expressionColumn = table->findColumn(u"Expression");
    const ColumnDefinition* orderColumn = table->findColumn(u"Order");

    std::vector<QueryRow> rows;
    const Status status =
        scanRows(source, *table, [&](RowLocation location, std::span<const std::uint8_t> bytes) {
            const RowWhere where{&table->name, location.pageNumber, location.rowIndex};
            auto row = RowView::open(bytes, *table, where);
            JET_TRY(row);
            auto object = readField(*row, **objectColumn, where);
            JET_TRY(object);
            if (asInteger(*object) != query.id) return Status();
            QueryRow queryRow;
            auto attribute = readField(*row, **attributeColumn, where);
            auto flag = readField(*row, **flagColumn, where);
            JET_TRY(attribute);
            JET_TRY(flag);
            queryRow.attribute = static_cast<std::uint8_t>(asInteger(*attribute));
            queryRow.flag = static_cast<std::int16_t>(asInteger(*flag));
            for (auto [column, target] :
                 {std::pair{name1Column, &queryRow.name1}, std::pair{name2Column, &queryRow.name2},
                  std::pair{expressionColumn, &queryRow.expression}}) {
                if (column == nullptr) continue;
                auto value = readField(*row, *column, where);
                JET_TRY(value);
                if (column->isLongValue()) {
                    if (isNull(*value)) continue;
                    auto bytes =
                        readLongValue(source, std::get<std::vector<std::uint8_t>>(*value),
                                      "column " + toUtf8(column->name) + ", " + where.text());
                    JET_TRY(bytes);
                    *target = decodeText(*bytes);
                } else {
                    *target = asText(*value);
                }
            }
            if (orderColumn != nullptr) {
                auto order = readField(*row, *orderColumn, where);
                JET_TRY(order);
                // A 4-byte big-endian sequence number.
                if (const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&*order))
                    for (std::uint8_t byte : *bytes) queryRow.order = (queryRow.order << 8) | byte;
            }
            rows.push_back(std::move(queryRow));
            return Status();
        });
    JET_TRY(status);
    std::stable_sort(rows.begin(), rows.end(), [](const QueryRow& a, const QueryRow& b) {
        return a.attribute != b.attribute ? a.attribute < b.attribute : a.order < b.order;
    });
    return rows;
}

std::string queryKindName(std::uint32_t flags) {
    switch (flags & layout::kQueryKindMask) {
        case layout::kQueryFlagsSelect:
            return "select";
        case layout::kQueryFlagsCrosstab:
            return "crosstab";
        case layout::kQueryFlagsDelete:
            return "delete";
        case layout::kQueryFlagsUpdate:
            return "update";
        case layout::kQueryFlagsAppend:
            return "append";
        case layout::kQueryFlagsMakeTable:
            return "make-table";
        case layout::kQueryFlagsDataDefinition:
            return "data definition";
        case layout::kQueryFlagsPassThrough:
            return "pass-through";
        case layout::kQueryFlagsUnion:
            return "union";
        default:
            return "kind " + hexOffset(flags & layout::kQueryKindMask);
    }
}

}  // namespace jet
