#include "build/file_builder.h"

#include <cmath>
#include <memory>

#include "build/catalogue_builder.h"
#include "build/header_page.h"
#include "build/page_file.h"
#include "build/table_definition_writer.h"
#include "build/table_layout.h"
#include "build/table_writer.h"
#include "build/usage_map_builder.h"
#include "names.h"

namespace jet::build {

namespace {

constexpr std::size_t kMaxNameLength = 64;
constexpr std::u16string_view kForbiddenNameCharacters = u".!`[]";
// Dates Access can show: years 100 to 9999.
constexpr double kEarliestDate = -657434.0;
constexpr double kLatestDate = 2958466.0;

Status invalid(std::string message) {
    return {StatusCode::invalidArgument, std::move(message)};
}

std::string nameText(std::u16string_view name) {
    return "'" + toUtf8(name) + "'";
}

// A table being built: its layout, TDEF pages and, once written, its pages.
struct PendingTable {
    TableLayout layout;
    std::vector<std::uint32_t> tdefPages;
    std::unique_ptr<TableWriter> writer;
    TableDefinitionState pendingState;
};

std::uint8_t columnTypeCode(ColumnType type) {
    return static_cast<std::uint8_t>(type);
}

bool writableType(ColumnType type) {
    switch (type) {
        case ColumnType::boolean:
        case ColumnType::byte:
        case ColumnType::integer:
        case ColumnType::longInteger:
        case ColumnType::currency:
        case ColumnType::single:
        case ColumnType::doubleFloat:
        case ColumnType::dateTime:
        case ColumnType::binary:
        case ColumnType::text:
        case ColumnType::ole:
        case ColumnType::memo:
        case ColumnType::guid:
            return true;
        case ColumnType::decimal:
            return false;
    }
    return false;
}

Result<TableLayout> userTableLayout(const TableSpec& table) {
    const std::string what = "table " + nameText(table.name);
    if (table.columns.empty()) return invalid(what + " has no columns");
    if (table.columns.size() > layout::kMaxColumns)
        return invalid(what + " has " + std::to_string(table.columns.size()) +
                       " columns; Jet allows at most " + std::to_string(layout::kMaxColumns));
    std::vector<ColumnDraft> drafts;
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        const ColumnSpec& column = table.columns[i];
        const std::string columnWhat = "column " + std::to_string(i + 1) + " of " + what;
        JET_TRY(validateObjectName(column.name, columnWhat));
        for (std::size_t j = 0; j < i; ++j)
            if (namesEqual(column.name, table.columns[j].name))
                return invalid(what + " has two columns named " + nameText(column.name));
        if (!writableType(column.type))
            return invalid("column " + nameText(column.name) + " of " + what +
                           ": columns of type " + columnTypeName(columnTypeCode(column.type)) +
                           " cannot be written");
        ColumnDraft draft;
        draft.name = column.name;
        draft.type = columnTypeCode(column.type);
        draft.compressible = column.compressible;
        if (column.type == ColumnType::text) {
            if (column.textLength < 1 || column.textLength > 255)
                return invalid("column " + nameText(column.name) + " of " + what +
                               ": a text length of " + std::to_string(column.textLength) +
                               " characters is outside 1..255");
            draft.length = static_cast<std::uint16_t>(2 * column.textLength);
        } else if (column.type == ColumnType::binary) {
            draft.length = 510;
        }
        drafts.push_back(std::move(draft));
    }
    return makeTableLayout(table.name, drafts, false);
}

Status validateSpec(const DatabaseSpec& spec) {
    if (!std::isfinite(spec.creationDate) || spec.creationDate < kEarliestDate ||
        spec.creationDate > kLatestDate)
        return invalid("the creation date " + std::to_string(spec.creationDate) +
                       " is not a date Jet can store");
    const std::u16string_view systemNames[] = {u"MSysObjects", u"MSysACEs", u"MSysQueries",
                                               u"MSysRelationships"};
    std::vector<std::u16string_view> names;
    auto claim = [&](std::u16string_view name, const std::string& what) -> Status {
        JET_TRY(validateObjectName(name, what));
        for (std::u16string_view reserved : systemNames)
            if (namesEqual(name, reserved))
                return invalid(what + " " + nameText(name) + " is the name of a system table");
        for (std::u16string_view taken : names)
            if (namesEqual(name, taken))
                return invalid(what + " " + nameText(name) +
                               ": a table or query of that name is already in the database");
        names.push_back(name);
        return {};
    };
    for (const TableSpec& table : spec.tables) JET_TRY(claim(table.name, "table"));
    for (const QuerySpec& query : spec.queries) {
        JET_TRY(claim(query.name, "query"));
        JET_TRY(validateObjectName(query.table, "the table of query " + nameText(query.name)));
    }
    return {};
}

Status writeRows(TableWriter& writer, const TableSpec& table) {
    std::uint64_t position = 0;
    if (!table.source) {
        for (const std::vector<Value>& row : table.rows) JET_TRY(writer.addRow(row, ++position));
        return {};
    }
    std::vector<Value> row;
    for (;;) {
        row.clear();
        if (!table.source(row)) break;
        JET_TRY(writer.addRow(row, ++position));
    }
    return {};
}

Result<std::uint32_t> addMap(UsageMapPageWriter& maps, std::vector<std::uint32_t> pages,
                             PageFile& file, const BuildOptions& options) {
    auto row = buildUsageMap(std::move(pages), file, options.maxInlineBitmap);
    JET_TRY(row);
    return maps.add(*row);
}

std::vector<std::uint32_t> tailOnly(std::optional<std::uint32_t> tail) {
    return tail ? std::vector<std::uint32_t>{*tail} : std::vector<std::uint32_t>{};
}

}  // namespace

Status validateObjectName(std::u16string_view name, const std::string& what) {
    if (name.empty()) return invalid(what + " has an empty name");
    if (name.size() > kMaxNameLength)
        return invalid(what + " " + nameText(name) + ": the name has " +
                       std::to_string(name.size()) + " characters; Jet allows at most " +
                       std::to_string(kMaxNameLength));
    if (name.front() == u' ')
        return invalid(what + " " + nameText(name) + ": the name starts with a space");
    for (char16_t c : name) {
        if (c < 0x20)
            return invalid(what + " " + nameText(name) +
                           ": the name contains the control character U+" +
                           std::to_string(static_cast<unsigned>(c)));
        if (kForbiddenNameCharacters.find(c) != std::u16string_view::npos)
            return invalid(what + " " + nameText(name) + ": the name contains '" +
                           static_cast<char>(c) + "', which Jet does not allow in names");
    }
    return {};
}

Status createDatabase(const std::filesystem::path& path, const DatabaseSpec& spec,
                      const BuildOptions& options) {
    JET_TRY(validateSpec(spec));

    std::vector<PendingTable> tables;
    tables.push_back({msysObjectsLayout(), {layout::kMSysObjectsTdefPage}, nullptr, {}});
    tables.push_back({msysAcesLayout(), {layout::kMSysAcesTdefPage}, nullptr, {}});
    tables.push_back({msysQueriesLayout(), {layout::kMSysQueriesTdefPage}, nullptr, {}});
    tables.push_back(
        {msysRelationshipsLayout(), {layout::kMSysRelationshipsTdefPage}, nullptr, {}});
    const std::size_t systemTables = tables.size();
    for (const TableSpec& table : spec.tables) {
        auto layout = userTableLayout(table);
        JET_TRY(layout);
        tables.push_back({std::move(*layout), {}, nullptr, {}});
    }

    auto created = PageFile::create(path);
    JET_TRY(created);
    PageFile& file = **created;
    // Page 0 header, page 1 global map, pages 2-5 the system tables' definitions, then the user
    // tables' definitions, so that every table's id is known before any row is written.
    for (std::uint32_t page = 0; page <= layout::kMSysRelationshipsTdefPage; ++page)
        JET_TRY(file.allocate());
    for (std::size_t t = systemTables; t < tables.size(); ++t) {
        for (std::size_t i = 0; i < tableDefinitionPageCount(tables[t].layout); ++i) {
            auto page = file.allocate();
            JET_TRY(page);
            tables[t].tdefPages.push_back(*page);
        }
    }

    std::vector<CatalogueObject> objects;
    std::vector<CatalogueQuery> queries;
    for (std::size_t t = systemTables; t < tables.size(); ++t)
        objects.push_back({tables[t].layout.name, tables[t].tdefPages.front(), false});
    for (std::size_t q = 0; q < spec.queries.size(); ++q) {
        const std::uint32_t id = layout::kObjectIdNoTdefBase + static_cast<std::uint32_t>(q);
        objects.push_back({spec.queries[q].name, id, true});
        queries.push_back({id, spec.queries[q].table});
    }

    const std::vector<std::vector<Value>> systemRows[] = {
        msysObjectsRows(objects, spec.creationDate),
        msysAcesRows(objects),
        msysQueriesRows(queries),
        {}};
    for (std::size_t t = 0; t < tables.size(); ++t) {
        PendingTable& table = tables[t];
        table.writer = std::make_unique<TableWriter>(file, table.layout, table.tdefPages.front());
        if (t < systemTables) {
            std::uint64_t position = 0;
            for (const std::vector<Value>& row : systemRows[t])
                JET_TRY(table.writer->addRow(row, ++position));
        } else {
            JET_TRY(writeRows(*table.writer, spec.tables[t - systemTables]));
        }
        JET_TRY(table.writer->finish());
    }

    // Usage maps, in the order Jet keeps them: per table its owned and free-space maps, then
    // the pair of each memo/OLE column.
    UsageMapPageWriter maps(file);
    for (PendingTable& table : tables) {
        const TableWriter& writer = *table.writer;
        TableDefinitionState state;
        state.rowCount = writer.rowCount();
        auto owned = addMap(maps, writer.dataPages(), file, options);
        JET_TRY(owned);
        state.ownedMap = *owned;
        auto freeSpace = addMap(maps, tailOnly(writer.dataTailPage()), file, options);
        JET_TRY(freeSpace);
        state.freeSpaceMap = *freeSpace;
        for (const LongValueWriter& longValues : writer.longValueWriters()) {
            LongValueMaps pair;
            auto lvOwned = addMap(maps, longValues.pages(), file, options);
            JET_TRY(lvOwned);
            pair.owned = *lvOwned;
            auto lvFree = addMap(maps, tailOnly(longValues.tailPage()), file, options);
            JET_TRY(lvFree);
            pair.freeSpace = *lvFree;
            state.longValueMaps.push_back(pair);
        }
        table.pendingState = std::move(state);
    }
    JET_TRY(maps.finish());
    for (PendingTable& table : tables)
        JET_TRY(writeTableDefinition(file, table.tdefPages, table.layout, table.pendingState));

    JET_TRY(writeGlobalUsageMap(file, options.maxInlineBitmap));
    JET_TRY(file.write(0, headerPage(spec.creationDate)));
    return file.commit();
}

}  // namespace jet::build

namespace jet {

Status createDatabase(const std::filesystem::path& path, const DatabaseSpec& spec) {
    return build::createDatabase(path, spec, build::BuildOptions{});
}

}  // namespace jet
