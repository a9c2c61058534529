// Statements, the catalogue and saved queries on a small database made by our builder
// (reader_fixture.h), with saved-query variants made by patching its MSysObjects and
// MSysQueries rows in memory.

#include <gtest/gtest.h>

#include <functional>

#include "database_impl.h"
#include "jet/database.h"
#include "layout.h"
#include "read_all.h"
#include "reader_fixture.h"
#include "row_codec.h"
#include "table_scan.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace layout = jet::layout;

std::unique_ptr<jet::Database> openFixture(Bytes bytes) {
    auto database = jet::Database::openBytes(std::move(bytes), "fixture.mdb");
    EXPECT_TRUE(database.ok()) << database.status().message();
    return database.ok() ? std::move(*database) : nullptr;
}

std::unique_ptr<jet::Database> openFixture() {
    const Bytes& bytes = kelvora::test::readerFixtureBytes();
    EXPECT_FALSE(bytes.empty()) << "the builder could not write the fixture";
    return openFixture(bytes);
}

// The `shomare` column of each row, in order.
std::vector<std::int64_t> numbers(const jet::ResultSet& rows) {
    std::vector<std::int64_t> out;
    const int column = rows.columnIndex(u"SHOMARE");
    for (std::size_t r = 0; r < rows.rowCount(); ++r) {
        auto value = rows.value(r, static_cast<std::size_t>(column));
        out.push_back(value.ok() ? std::get<std::int64_t>(*value) : -1);
    }
    return out;
}

struct StatementCase {
    const char* name;
    const char16_t* statement;
    std::vector<std::int64_t> rows;  // shomare of the rows expected, when it succeeds
    jet::StatusCode code = jet::StatusCode::ok;
    std::string message;  // exact, when it fails (a prefix for syntax errors)
};

class StatementTest : public ::testing::TestWithParam<StatementCase> {};

TEST_P(StatementTest, GivesTheRowsOrTheError) {
    auto database = openFixture();
    ASSERT_NE(database, nullptr);
    auto rows = database->execute(GetParam().statement);
    if (GetParam().code == jet::StatusCode::ok) {
        ASSERT_TRUE(rows.ok()) << rows.status().message();
        EXPECT_EQ(numbers(*rows), GetParam().rows);
        return;
    }
    ASSERT_FALSE(rows.ok());
    EXPECT_EQ(rows.status().code(), GetParam().code);
    EXPECT_TRUE(rows.status().message().starts_with(GetParam().message)) << rows.status().message();
}

INSTANTIATE_TEST_SUITE_P(
    Fixture, StatementTest,
    ::testing::Values(
        StatementCase{"whole_table_in_stored_order", u"SELECT * FROM Kolliyat", {1, 2, 3, 4, 5}},
        StatementCase{
            "persian_substring", u"select * from kolliyat where kholase like '%دنیا%'", {1}},
        StatementCase{"arabic_kaf_and_yeh_match_persian_pattern",
                      u"select * from kolliyat where kholase like 'کتاب علی'",
                      {2}},
        StatementCase{
            "latin_case_ignored", u"select * from kolliyat where KHOLASE like 'book%'", {5}},
        StatementCase{"percent_matches_empty_text_but_never_null",
                      u"select * from kolliyat where kholase like '%'",
                      {1, 2, 4, 5}},
        StatementCase{"empty_pattern_matches_only_empty_text",
                      u"select * from kolliyat where kholase like ''",
                      {4}},
        StatementCase{"memo_filter_reads_the_long_value",
                      u"select * from kolliyat where porsesh like '%پایان'",
                      {1}},
        StatementCase{"null_memo_never_matches",
                      u"select * from kolliyat where porsesh like '%'",
                      {1, 2, 3, 5}},
        StatementCase{"brackets_and_semicolon",
                      u"SELECT * FROM [Kolliyat] WHERE [kholase] LIKE '%ONE,%';",
                      {5}},
        StatementCase{
            "saved_query_as_source", u"select * from QKOLLIYAT where kholase like 'سلام%'", {1}},
        StatementCase{"unknown_source",
                      u"select * from nope",
                      {},
                      jet::StatusCode::notFound,
                      "no table or query named \"nope\""},
        StatementCase{"unknown_column",
                      u"select * from kolliyat where nope like 'a'",
                      {},
                      jet::StatusCode::notFound,
                      "no column named \"nope\" in \"Kolliyat\""},
        StatementCase{"like_on_a_number_column",
                      u"select * from kolliyat where shomare like '1'",
                      {},
                      jet::StatusCode::unsupported,
                      "LIKE needs a text or memo column; \"shomare\" is long"},
        StatementCase{"syntax_error",
                      u"select kholase from kolliyat",
                      {},
                      jet::StatusCode::syntaxError,
                      "syntax error at position 8"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SnapshotTest, MemoIsReadWholeOnDemandAndCellsAreBoundsChecked) {
    auto database = openFixture();
    ASSERT_NE(database, nullptr);
    auto rows = database->openByName(u"kolliyat");
    ASSERT_TRUE(rows.ok()) << rows.status().message();
    ASSERT_EQ(rows->columns().size(), 3u);
    EXPECT_EQ(rows->columns()[1].name, u"porsesh");
    EXPECT_EQ(rows->columns()[1].typeCode, layout::kTypeMemo);
    auto memo = rows->value(0, 1);
    ASSERT_TRUE(memo.ok()) << memo.status().message();
    EXPECT_EQ(std::get<std::u16string>(*memo),
              std::u16string(kelvora::test::kLongMemoRepeat, u'ب') + u"پایان");
    EXPECT_EQ(std::get<std::u16string>(rows->value(3, 0).value()), u"")
        << "empty text stays apart from null";
    EXPECT_TRUE(jet::isNull(rows->value(2, 0).value()));
    EXPECT_TRUE(jet::isNull(rows->value(3, 1).value()));

    // A copy shares the snapshot; rows keep their original slots.
    const jet::ResultSet copy = *rows;
    EXPECT_EQ(copy.rowCount(), 5u);
    EXPECT_EQ(copy.location(4), rows->location(4));
    EXPECT_NE(rows->location(0), rows->location(1));

    EXPECT_EQ(rows->value(5, 0).status().code(), jet::StatusCode::notFound);
    EXPECT_EQ(rows->value(0, 3).status().code(), jet::StatusCode::notFound);
}

TEST(TableDefinitionTest, DefinitionSpanningSeveralPagesIsReadWhole) {
    // 120 columns need about 5 KB of descriptors and names: more than one TDEF page.
    jet::DatabaseSpec spec;
    jet::TableSpec wide;
    wide.name = u"wide";
    std::vector<jet::Value> row;
    for (int i = 0; i < 120; ++i) {
        wide.columns.push_back(
            {u"column_number_" + jet::fromUtf8(std::to_string(i)), jet::ColumnType::text, 10});
        row.push_back(jet::Value(jet::fromUtf8("v" + std::to_string(i))));
    }
    wide.rows = {row};
    spec.tables = {wide};
    const auto path = std::filesystem::temp_directory_path() /
                      ("kelvora-wide-" + std::to_string(::getpid()) + ".mdb");
    const jet::Status built = jet::createDatabase(path, spec);
    ASSERT_TRUE(built.ok()) << built.message();
    const Bytes bytes = kelvora::test::readFileBytes(path);
    std::filesystem::remove(path);

    auto database = openFixture(bytes);
    ASSERT_NE(database, nullptr);
    const jet::CatalogEntry* entry = database->impl().catalogue().findUserTable(u"wide");
    ASSERT_NE(entry, nullptr);
    const std::size_t next = entry->tdefPage() * layout::kPageSize + layout::kTdefNextPage;
    ASSERT_NE(kelvora::test::getU32(bytes, next), 0u) << "the fixture's definition fits one page";

    auto rows = database->openByName(u"wide");
    ASSERT_TRUE(rows.ok()) << rows.status().message();
    ASSERT_EQ(rows->columns().size(), 120u);
    EXPECT_EQ(rows->columns()[119].name, u"column_number_119");
    ASSERT_EQ(rows->rowCount(), 1u);
    EXPECT_EQ(std::get<std::u16string>(rows->value(0, 119).value()), u"v119");
}

TEST(CatalogueTest, ListsUserTablesAndQueriesAndFindsThemIgnoringCase) {
    auto database = openFixture();
    ASSERT_NE(database, nullptr);
    EXPECT_EQ(database->tableNames(), (std::vector<std::u16string>{u"Kolliyat", u"Ёлка"}));
    ASSERT_EQ(database->queries().size(), 1u);
    EXPECT_EQ(database->queries()[0].name, u"Qkolliyat");
    EXPECT_EQ(database->queries()[0].kindName, "select");

    struct Lookup {
        const char16_t* name;
        std::size_t rows;
    };
    for (const Lookup& lookup :
         {Lookup{u"KOLLIYAT", 5}, Lookup{u"ёЛКА", 1}, Lookup{u"qKOLLIYAT", 5}}) {
        SCOPED_TRACE(jet::toUtf8(lookup.name));
        auto rows = database->openByName(lookup.name);
        ASSERT_TRUE(rows.ok()) << rows.status().message();
        EXPECT_EQ(rows->rowCount(), lookup.rows);
    }
    // Column names too: Latin-1 and Cyrillic letters fold.
    auto rows = database->execute(u"select * from ёлка where äSTHETIK like 'ЕЛЬ'");
    ASSERT_TRUE(rows.ok()) << rows.status().message();
    EXPECT_EQ(rows->rowCount(), 1u);

    // System tables exist but are not offered.
    EXPECT_NE(database->impl().catalogue().findSystemTable(u"msysobjects"), nullptr);
    auto system = database->openByName(u"MSysObjects");
    EXPECT_EQ(system.status().code(), jet::StatusCode::notFound);
}

// The file offset of a fixed-width field: column `column` of the first row of system table
// `table` for which `pick` returns true.
std::size_t fieldOffset(
    const Bytes& bytes, std::u16string_view table, std::u16string_view column,
    const std::function<bool(const jet::RowView&, const jet::TableDefinition&)>& pick) {
    auto database = kelvora::test::openBytesIgnoringPassword(bytes);
    const jet::CatalogEntry* entry = (*database)->catalogue().findSystemTable(table);
    auto definition = (*database)->tableDefinition(*entry);
    const jet::ColumnDefinition* target = definition->findColumn(column);
    std::size_t found = 0;
    jet::scanRows(
        (*database)->source(), *definition,
        [&](jet::RowLocation location, std::span<const std::uint8_t> row) {
            const jet::RowWhere where{&definition->name, location.pageNumber, location.rowIndex};
            auto view = jet::RowView::open(row, *definition, where);
            if (found != 0 || !pick(*view, *definition)) return jet::Status();
            const std::size_t slot = location.pageNumber * layout::kPageSize +
                                     layout::kDataRowSlots + 2 * location.rowIndex;
            const std::size_t rowStart =
                location.pageNumber * layout::kPageSize +
                (kelvora::test::getU16(bytes, slot) & layout::kRowSlotOffsetMask);
            found = rowStart + static_cast<std::size_t>(view->field(*target, where)->bytes.data() -
                                                        row.data());
            return jet::Status();
        });
    EXPECT_NE(found, 0u);
    return found;
}

jet::Value fieldValue(const jet::RowView& row, const jet::TableDefinition& table,
                      std::u16string_view column) {
    const jet::ColumnDefinition* definition = table.findColumn(column);
    return jet::decodeField(*definition, *row.field(*definition, {}), {}).value();
}

// The Flags field of the query's MSysObjects row.
std::size_t queryFlags(const Bytes& bytes) {
    return fieldOffset(bytes, u"MSysObjects", u"Flags",
                       [](const jet::RowView& row, const jet::TableDefinition& table) {
                           return fieldValue(row, table, u"Name") ==
                                  jet::Value(std::u16string(u"Qkolliyat"));
                       });
}

// A field of the query's MSysQueries row with attribute `attribute`.
std::size_t queryRowField(const Bytes& bytes, std::uint8_t attribute, std::u16string_view column) {
    return fieldOffset(bytes, u"MSysQueries", column,
                       [&](const jet::RowView& row, const jet::TableDefinition& table) {
                           return fieldValue(row, table, u"Attribute") ==
                                  jet::Value(std::int64_t{attribute});
                       });
}

struct QueryCase {
    const char* name;
    std::function<void(Bytes&)> patch;
    jet::StatusCode code;
    std::string message;
    std::string kind = "select";
};

const std::string kOnly =
    "; only select queries over one table without parameters, joins, WHERE, GROUP BY, ORDER BY, "
    "DISTINCT or TOP can be "
    "run";

void setAttribute(Bytes& bytes, std::uint8_t from, std::uint8_t to) {
    bytes.at(queryRowField(bytes, from, u"Attribute")) = to;
}

void setQueryKind(Bytes& bytes, std::uint32_t kind) {
    kelvora::test::putU32(bytes, queryFlags(bytes), kind);
}

const std::vector<QueryCase>& queryCases() {
    static const std::vector<QueryCase> cases = {
        {"parameter",
         [](Bytes& b) { setAttribute(b, layout::kQueryAttrOptions, layout::kQueryAttrParameter); },
         jet::StatusCode::missingParameter, "No value given for one or more required parameters."},
        {"where_clause",
         [](Bytes& b) { setAttribute(b, layout::kQueryAttrOptions, layout::kQueryAttrWhere); },
         jet::StatusCode::unsupported, "query \"Qkolliyat\" is a select query with WHERE" + kOnly},
        {"order_by",
         [](Bytes& b) { setAttribute(b, layout::kQueryAttrOptions, layout::kQueryAttrOrderBy); },
         jet::StatusCode::unsupported,
         "query \"Qkolliyat\" is a select query with ORDER BY" + kOnly},
        {"join",
         [](Bytes& b) { setAttribute(b, layout::kQueryAttrOptions, layout::kQueryAttrJoin); },
         jet::StatusCode::unsupported, "query \"Qkolliyat\" is a select query with a join" + kOnly},
        {"no_table",
         [](Bytes& b) { setAttribute(b, layout::kQueryAttrTable, layout::kQueryAttrStart); },
         jet::StatusCode::unsupported,
         "query \"Qkolliyat\" is a select query without a table" + kOnly},
        {"distinct",
         [](Bytes& b) {
             kelvora::test::putU16(b, queryRowField(b, layout::kQueryAttrOptions, u"Flag"),
                                   layout::kQueryOptionAllFields | layout::kQueryOptionDistinct);
         },
         jet::StatusCode::unsupported,
         "query \"Qkolliyat\" is a select query with DISTINCT" + kOnly},
        {"top",
         [](Bytes& b) {
             kelvora::test::putU16(b, queryRowField(b, layout::kQueryAttrOptions, u"Flag"),
                                   layout::kQueryOptionAllFields | layout::kQueryOptionTop);
         },
         jet::StatusCode::unsupported, "query \"Qkolliyat\" is a select query with TOP" + kOnly},
        {"crosstab", [](Bytes& b) { setQueryKind(b, layout::kQueryFlagsCrosstab); },
         jet::StatusCode::unsupported, "query \"Qkolliyat\" is a crosstab query" + kOnly,
         "crosstab"},
        {"update", [](Bytes& b) { setQueryKind(b, layout::kQueryFlagsUpdate); },
         jet::StatusCode::unsupported, "query \"Qkolliyat\" is an update query" + kOnly, "update"},
        {"append", [](Bytes& b) { setQueryKind(b, layout::kQueryFlagsAppend); },
         jet::StatusCode::unsupported, "query \"Qkolliyat\" is an append query" + kOnly, "append"},
        {"union", [](Bytes& b) { setQueryKind(b, layout::kQueryFlagsUnion); },
         jet::StatusCode::unsupported, "query \"Qkolliyat\" is a union query" + kOnly, "union"},
        {"data_definition", [](Bytes& b) { setQueryKind(b, layout::kQueryFlagsDataDefinition); },
         jet::StatusCode::unsupported, "query \"Qkolliyat\" is a data definition query" + kOnly,
         "data definition"},
    };
    return cases;
}

class SavedQueryTest : public ::testing::TestWithParam<QueryCase> {};

TEST_P(SavedQueryTest, RefusesWhatItCannotRunNamingTheQuery) {
    Bytes bytes = kelvora::test::readerFixtureBytes();
    ASSERT_FALSE(bytes.empty());
    GetParam().patch(bytes);
    auto database = openFixture(std::move(bytes));
    ASSERT_NE(database, nullptr);
    ASSERT_EQ(database->queries().size(), 1u);
    EXPECT_EQ(database->queries()[0].kindName, GetParam().kind);
    for (const char16_t* statement :
         {u"select * from qkolliyat", u"select * from qkolliyat where kholase like '%'"}) {
        auto rows = database->execute(statement);
        ASSERT_FALSE(rows.ok());
        EXPECT_EQ(rows.status().code(), GetParam().code);
        EXPECT_EQ(rows.status().message(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(PatchedFixture, SavedQueryTest, ::testing::ValuesIn(queryCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
