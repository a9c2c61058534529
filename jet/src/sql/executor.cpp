#include "sql/executor.h"

#include <optional>

#include "catalogue.h"
#include "database_impl.h"
#include "layout.h"
#include "names.h"
#include "sql/like.h"
#include "table_scan.h"

namespace jet::sql {

namespace {

std::string inQuotes(std::u16string_view name) {
    return "\"" + toUtf8(name) + "\"";
}

// A source resolved to the table it reads and the columns it shows.
struct ResolvedSource {
    TableDefinition table;
    SnapshotRequest request;
    std::u16string name;  // as the statement named it, for messages
};

Status cannotRun(const CatalogEntry& query, const std::string& what) {
    return {StatusCode::unsupported,
            "query " + inQuotes(query.name) + " is " + what +
                "; only select queries over one table without parameters, joins, WHERE, "
                "GROUP BY, ORDER BY, DISTINCT or TOP can be run"};
}

// The column a saved query's output expression names, when it is a plain reference: `col`,
// `[col]`, `table.col` or `[table].[col]` with the table's name or alias. Empty otherwise.
std::optional<std::u16string> plainColumn(std::u16string_view expression,
                                          const QueryRow& tableRow) {
    std::vector<std::u16string> parts;
    std::size_t i = 0;
    while (i < expression.size()) {
        std::u16string part;
        if (expression[i] == u'[') {
            const std::size_t close = expression.find(u']', i + 1);
            if (close == std::u16string_view::npos) return std::nullopt;
            part = std::u16string(expression.substr(i + 1, close - i - 1));
            i = close + 1;
        } else {
            while (i < expression.size() && expression[i] != u'.') {
                const char16_t c = expression[i];
                // Anything but a letter, digit or underscore makes it an expression.
                if (c < 0x80 && !((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                                  (c >= u'0' && c <= u'9') || c == u'_'))
                    return std::nullopt;
                part += c;
                ++i;
            }
        }
        if (part.empty()) return std::nullopt;
        parts.push_back(std::move(part));
        if (i < expression.size()) {
            if (expression[i] != u'.') return std::nullopt;
            ++i;
            if (i == expression.size()) return std::nullopt;
        }
    }
    if (parts.size() == 1) return parts[0];
    if (parts.size() == 2 && (namesEqual(parts[0], tableRow.name1) ||
                              (!tableRow.name2.empty() && namesEqual(parts[0], tableRow.name2))))
        return parts[1];
    return std::nullopt;
}

std::string clauseName(std::uint8_t attribute) {
    switch (attribute) {
        case layout::kQueryAttrExternalDb:
            return "a select query on an external database";
        case layout::kQueryAttrJoin:
            return "a select query with a join";
        case layout::kQueryAttrWhere:
            return "a select query with WHERE";
        case layout::kQueryAttrGroupBy:
            return "a select query with GROUP BY";
        case layout::kQueryAttrHaving:
            return "a select query with HAVING";
        case layout::kQueryAttrOrderBy:
            return "a select query with ORDER BY";
        default:
            return "a select query with an unknown part (attribute " + std::to_string(attribute) +
                   ")";
    }
}

Result<ResolvedSource> resolveQuery(DatabaseImpl& database, const CatalogEntry& query) {
    const std::string kind = queryKindName(query.flags);
    if ((query.flags & layout::kQueryKindMask) != layout::kQueryFlagsSelect)
        return cannotRun(query,
                         (kind == "append" || kind == "update" ? "an " : "a ") + kind + " query");

    auto rows = database.catalogue().readQueryRows(database.source(), query);
    JET_TRY(rows);
    const QueryRow* tableRow = nullptr;
    std::int16_t options = 0;
    std::vector<const QueryRow*> outputs;
    for (const QueryRow& row : *rows) {
        if (row.attribute == layout::kQueryAttrParameter)
            return Status(StatusCode::missingParameter,
                          "No value given for one or more required parameters.");
    }
    for (const QueryRow& row : *rows) {
        switch (row.attribute) {
            case layout::kQueryAttrStart:
            case layout::kQueryAttrEnd:
                break;
            case layout::kQueryAttrKind:
                if (row.flag != layout::kQueryKindSelect)
                    return cannotRun(query,
                                     "a select query stored with kind " + std::to_string(row.flag));
                break;
            case layout::kQueryAttrOptions:
                options = row.flag;
                break;
            case layout::kQueryAttrTable:
                if (tableRow != nullptr)
                    return cannotRun(query, "a select query over several tables");
                tableRow = &row;
                break;
            case layout::kQueryAttrColumn:
                outputs.push_back(&row);
                break;
            default:
                return cannotRun(query, clauseName(row.attribute));
        }
    }
    if (tableRow == nullptr) return cannotRun(query, "a select query without a table");
    constexpr std::int16_t kHarmless = layout::kQueryOptionAllFields |
                                       layout::kQueryOptionOwnerAccess |
                                       layout::kQueryOptionDistinctRow;
    if ((options & ~kHarmless) != 0)
        return cannotRun(query, (options & layout::kQueryOptionDistinct)
                                    ? "a select query with DISTINCT"
                                    : "a select query with TOP");

    const CatalogEntry* table = database.catalogue().findUserTable(tableRow->name1);
    if (table == nullptr) {
        if (database.catalogue().findQuery(tableRow->name1) != nullptr)
            return cannotRun(
                query, "a select query over another query (" + inQuotes(tableRow->name1) + ")");
        return Status(StatusCode::notFound, "query " + inQuotes(query.name) + " reads table " +
                                                inQuotes(tableRow->name1) +
                                                ", which does not exist");
    }
    auto definition = database.tableDefinition(*table);
    JET_TRY(definition);

    ResolvedSource resolved{std::move(*definition), {}, query.name};
    if ((options & layout::kQueryOptionAllFields) != 0) {
        if (!outputs.empty()) return cannotRun(query, "a select query of * and further columns");
        resolved.request = allColumns(resolved.table);
        return resolved;
    }
    if (outputs.empty()) return cannotRun(query, "a select query without columns");
    for (const QueryRow* output : outputs) {
        const auto columnName = plainColumn(output->expression, *tableRow);
        if (!columnName)
            return cannotRun(
                query, "a select query with the computed column " + inQuotes(output->expression));
        const ColumnDefinition* column = resolved.table.findColumn(*columnName);
        if (column == nullptr)
            return Status(StatusCode::notFound, "query " + inQuotes(query.name) + " shows column " +
                                                    inQuotes(*columnName) + ", which table " +
                                                    inQuotes(table->name) + " does not have");
        resolved.request.columns.push_back(
            static_cast<std::size_t>(column - resolved.table.columns.data()));
        resolved.request.names.push_back(output->name1.empty() ? column->name : output->name1);
    }
    return resolved;
}

Result<ResolvedSource> resolve(DatabaseImpl& database, std::u16string_view name) {
    if (const CatalogEntry* table = database.catalogue().findUserTable(name)) {
        auto definition = database.tableDefinition(*table);
        JET_TRY(definition);
        ResolvedSource resolved{std::move(*definition), {}, table->name};
        resolved.request = allColumns(resolved.table);
        return resolved;
    }
    if (const CatalogEntry* query = database.catalogue().findQuery(name))
        return resolveQuery(database, *query);
    return Status(StatusCode::notFound, "no table or query named " + inQuotes(name));
}

}  // namespace

Result<ResultSet> execute(DatabaseImpl& database, const SelectStatement& statement) {
    auto resolved = resolve(database, statement.source);
    JET_TRY(resolved);
    SnapshotRequest& request = resolved->request;
    std::optional<LikeMatcher> matcher;
    if (statement.where) {
        const LikeCondition& condition = *statement.where;
        std::optional<std::size_t> position;
        for (std::size_t i = 0; i < request.names.size(); ++i)
            if (namesEqual(request.names[i], condition.column)) {
                position = i;
                break;
            }
        if (!position)
            return Status(StatusCode::notFound, "no column named " + inQuotes(condition.column) +
                                                    " in " + inQuotes(resolved->name));
        const ColumnDefinition& column = resolved->table.columns[request.columns[*position]];
        if (column.type != layout::kTypeText && column.type != layout::kTypeMemo)
            return Status(StatusCode::unsupported, "LIKE needs a text or memo column; " +
                                                       inQuotes(column.name) + " is " +
                                                       columnTypeName(column.type));
        matcher.emplace(condition.pattern);
        request.filterColumn = request.columns[*position];
        request.filter = [&matcher](std::u16string_view text) { return matcher->matches(text); };
    }
    return takeSnapshot(database.sharedSource(), resolved->table, request);
}

Result<ResultSet> execute(DatabaseImpl& database, std::u16string_view text) {
    auto statement = parseSelect(text);
    JET_TRY(statement);
    return execute(database, *statement);
}

Result<ResultSet> openByName(DatabaseImpl& database, std::u16string_view name) {
    return execute(database, SelectStatement{std::u16string(name), std::nullopt});
}

}  // namespace jet::sql
