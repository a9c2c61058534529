// The catalogue, header and saved queries of files made by jet::createDatabase, as mdbtools,
// mdb-reader and the engine's reader see them.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "build_oracles.h"
#include "build_test_support.h"
#include "header_mask.h"
#include "jet/builder.h"
#include "jet/database.h"
#include "jet_file_inspector.h"

namespace {

using namespace jet;
using kelvora::test::JetFileInspector;
using kelvora::test::ScratchFolder;

const std::vector<std::string> kTables = {"kolliyat", "ejaz",    "elm",     "payambaran",
                                          "vahy",     "mohamad", "pkelvora"};

// The shape of the program's content file: seven tables of a title and three memos, each with
// its SELECT * query.
DatabaseSpec contentSpec(std::size_t rowsPerTable) {
    DatabaseSpec spec;
    for (const std::string& name : kTables) {
        TableSpec table;
        table.name = fromUtf8(name);
        table.columns = {{u"kholase", ColumnType::text, 255, true},
                         {u"porsesh", ColumnType::memo},
                         {u"pasokh", ColumnType::memo},
                         {u"pavaraghi", ColumnType::memo}};
        for (std::size_t i = 0; i < rowsPerTable; ++i) {
            const std::u16string n = fromUtf8(std::to_string(i + 1));
            table.rows.push_back({u"پرسش " + n, u"متن پرسش " + n, u"پاسخ " + n,
                                  i % 2 == 0 ? Value(Null{}) : Value(u"پاورقی " + n)});
        }
        spec.tables.push_back(std::move(table));
        spec.queries.push_back({fromUtf8("Q" + name), fromUtf8(name)});
    }
    return spec;
}

std::string field(const kelvora::test::OracleTable& table, const kelvora::test::CsvRow& row,
                  const std::string& column) {
    for (std::size_t c = 0; c < table.header.size(); ++c)
        if (table.header[c] == column) return row.at(c);
    ADD_FAILURE() << "no column " << column;
    return {};
}

class BuilderCatalogue : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_folder = new ScratchFolder;
        const Status status = createDatabase(file(), contentSpec(3));
        ASSERT_TRUE(status.ok()) << status.message();
    }
    static void TearDownTestSuite() {
        delete s_folder;
        s_folder = nullptr;
    }
    static std::filesystem::path file() { return s_folder->file("content.mdb"); }
    static ScratchFolder* s_folder;
};
ScratchFolder* BuilderCatalogue::s_folder = nullptr;

TEST_F(BuilderCatalogue, EveryReaderListsTheTablesInOrder) {
    ASSERT_EQ(kelvora::test::mdbExportMissing(), "");  // mdbtools
    EXPECT_EQ(kelvora::test::mdbToolsTableNames(file()), kTables);
    const auto listed = kelvora::test::outputLines(kelvora::test::runCommand(
        "node " + kelvora::test::shellQuote(kelvora::test::mdbReaderScript().string()) + " " +
        kelvora::test::shellQuote(file().string()) + " 2>&1"));
    EXPECT_EQ(listed, kTables) << kelvora::test::mdbReaderMissing();
    auto database = Database::open(file(), Database::Mode::readOnly);
    ASSERT_TRUE(database.ok()) << database.status().message();
    std::vector<std::string> own;
    for (const auto& name : (*database)->tableNames()) own.push_back(toUtf8(name));
    EXPECT_EQ(own, kTables);
}

TEST_F(BuilderCatalogue, SavedQueriesAreListedAndSelectTheirTable) {
    ASSERT_EQ(kelvora::test::mdbExportMissing(), "");  // mdbtools
    std::vector<std::string> expected;
    for (const std::string& table : kTables) expected.push_back("Q" + table);
    EXPECT_EQ(kelvora::test::mdbToolsQueryNames(file()), expected);
    for (const std::string& table : kTables) {
        SCOPED_TRACE(table);
        EXPECT_NE(kelvora::test::mdbToolsQuerySql(file(), "Q" + table).find("FROM [" + table + "]"),
                  std::string::npos);
    }

    auto database = Database::open(file(), Database::Mode::readOnly);
    ASSERT_TRUE(database.ok()) << database.status().message();
    std::vector<std::string> own;
    for (const QueryInfo& query : (*database)->queries()) {
        own.push_back(toUtf8(query.name));
        EXPECT_EQ(query.flags & 0xF0, 0u) << toUtf8(query.name) << " is a select query";
    }
    EXPECT_EQ(own, expected);
    auto viaQuery = (*database)->openByName(u"Qejaz");
    ASSERT_TRUE(viaQuery.ok()) << viaQuery.status().message();
    EXPECT_EQ(viaQuery->rowCount(), 3u);
}

TEST_F(BuilderCatalogue, CatalogueRowsFollowTheEngine) {
    const auto objects = kelvora::test::mdbReaderRows(file(), "MSysObjects");
    ASSERT_TRUE(objects.ok) << objects.error;
    const JetFileInspector inspect(file());
    struct Expected {
        std::string name;
        std::string type;
        std::string parentId;
        std::string flags;
    };
    const std::vector<Expected> engineRows = {
        {"Tables", "3", "251658240", "-2147483648"},
        {"Databases", "3", "251658240", "-2147483648"},
        {"Relationships", "3", "251658240", "-2147483648"},
        {"MSysDb", "2", "251658242", "-2147483648"},
        {"MSysObjects", "1", "251658241", "-2147483648"},
        {"MSysACEs", "1", "251658241", "-2147483648"},
        {"MSysQueries", "1", "251658241", "-2147483648"},
        {"MSysRelationships", "1", "251658241", "-2147483648"},
    };
    ASSERT_EQ(objects.rows.size(), engineRows.size() + 2 * kTables.size());
    for (std::size_t i = 0; i < engineRows.size(); ++i) {
        SCOPED_TRACE(engineRows[i].name);
        EXPECT_EQ(field(objects, objects.rows[i], "Name"), engineRows[i].name);
        EXPECT_EQ(field(objects, objects.rows[i], "Type"), engineRows[i].type);
        EXPECT_EQ(field(objects, objects.rows[i], "ParentId"), engineRows[i].parentId);
        EXPECT_EQ(field(objects, objects.rows[i], "Flags"), engineRows[i].flags);
    }

    // User tables: Id = TDEF page; saved queries: Id with the high bit set; all under Tables.
    std::vector<std::string> queryIds;
    for (std::size_t i = engineRows.size(); i < objects.rows.size(); ++i) {
        const auto& row = objects.rows[i];
        const std::string name = field(objects, row, "Name");
        SCOPED_TRACE(name);
        EXPECT_EQ(field(objects, row, "ParentId"), "251658241");
        EXPECT_EQ(field(objects, row, "Flags"), "0");
        const long long id = std::stoll(field(objects, row, "Id"));
        if (name[0] == 'Q') {
            EXPECT_EQ(field(objects, row, "Type"), "5");
            EXPECT_LT(id, 0) << "high bit set";
            queryIds.push_back(field(objects, row, "Id"));
        } else {
            EXPECT_EQ(field(objects, row, "Type"), "1");
            EXPECT_EQ(static_cast<std::uint32_t>(id), *inspect.tablePage(fromUtf8(name)));
            EXPECT_EQ(inspect.pageType(static_cast<std::uint32_t>(id)), 0x02);
        }
    }
    ASSERT_EQ(queryIds.size(), kTables.size());

    const auto queries = kelvora::test::mdbReaderRows(file(), "MSysQueries");
    ASSERT_TRUE(queries.ok) << queries.error;
    ASSERT_EQ(queries.rows.size(), 5 * kTables.size());
    const std::string null = kelvora::test::kCsvNull;
    for (std::size_t q = 0; q < kTables.size(); ++q) {
        SCOPED_TRACE(kTables[q]);
        const std::vector<std::vector<std::string>> expected = {
            {"0", "0", null, "00000001"},   {"1", "1", null, "00000002"},
            {"3", "1", null, "00000003"},   {"5", "0", kTables[q], "00000004"},
            {"255", "0", null, "00000005"},
        };
        for (std::size_t r = 0; r < expected.size(); ++r) {
            const auto& row = queries.rows[5 * q + r];
            EXPECT_EQ(field(queries, row, "ObjectId"), queryIds[q]);
            EXPECT_EQ((std::vector<std::string>{
                          field(queries, row, "Attribute"), field(queries, row, "Flag"),
                          field(queries, row, "Name1"), field(queries, row, "Order")}),
                      expected[r]);
        }
    }

    // Two access entries for every table and query.
    const auto aces = kelvora::test::mdbReaderRows(file(), "MSysACEs");
    ASSERT_TRUE(aces.ok) << aces.error;
    for (std::size_t i = engineRows.size(); i < objects.rows.size(); ++i) {
        const std::string id = field(objects, objects.rows[i], "Id");
        std::size_t count = 0;
        for (const auto& row : aces.rows) count += field(aces, row, "ObjectId") == id;
        EXPECT_EQ(count, 2u) << field(objects, objects.rows[i], "Name");
    }
}

TEST_F(BuilderCatalogue, SchemaShowsTheColumns) {
    ASSERT_EQ(kelvora::test::mdbExportMissing(), "");  // mdbtools
    int status = -1;
    const std::string schema = kelvora::test::mdbToolsSchema(file(), &status);
    EXPECT_EQ(status, 0) << schema;
    for (const std::string& table : kTables)
        EXPECT_NE(schema.find("CREATE TABLE [" + table + "]"), std::string::npos) << table;
    EXPECT_NE(schema.find("[kholase]\t\t\tText (255)"), std::string::npos) << schema.substr(0, 800);
    EXPECT_NE(schema.find("[pavaraghi]\t\t\tMemo/Hyperlink"), std::string::npos)
        << schema.substr(0, 800);
}

TEST_F(BuilderCatalogue, HeaderAndGlobalMapHoldTheEngineDefaults) {
    const JetFileInspector inspect(file());
    std::vector<std::uint8_t> header = inspect.bytes(0, JetFileInspector::kPage);
    jet::applyHeaderMask(header.data());
    using kelvora::test::getU16;
    using kelvora::test::getU32;
    EXPECT_EQ(header[0x00], 0x00);
    EXPECT_EQ(std::string(header.begin() + 4, header.begin() + 19), "Standard Jet DB");
    EXPECT_EQ(header[0x14], 0x01) << "Jet 4";
    EXPECT_EQ(getU32(header, 0x20), 2u);
    EXPECT_EQ(getU32(header, 0x2C), 5u);
    EXPECT_EQ(getU16(header, 0x3C), 1252) << "code page";
    EXPECT_EQ(getU32(header, 0x3E), 0u) << "not encrypted";
    EXPECT_EQ(getU16(header, 0x6E), 1033) << "General sort order";
    EXPECT_EQ(header[0x71], 0) << "sort-order version";
    double created = 0;
    std::memcpy(&created, header.data() + 0x72, sizeof created);
    EXPECT_EQ(created, DatabaseSpec{}.creationDate);
    const auto days = static_cast<std::uint32_t>(static_cast<std::int32_t>(std::trunc(created)));
    for (std::size_t i = 0; i < 40; i += 4)
        EXPECT_EQ(getU32(header, 0x42 + i) ^ days, 0u) << "empty password at byte " << i;
    EXPECT_EQ(getU32(header, 0x98), 0x654u);
    EXPECT_EQ(std::string(header.begin() + 0x9C, header.begin() + 0x9F), "4.0");
    for (std::size_t slot = 0; slot < 256; ++slot) {
        ASSERT_EQ(header[0xE00 + 2 * slot], 0x00) << "commit slot " << slot;
        ASSERT_EQ(header[0xE01 + 2 * slot], 0x01) << "commit slot " << slot;
    }

    // Page 1, row 0: set bits are free pages; every page the file has is in use.
    const auto global = inspect.rowAt(1u << 8);
    const auto freePages = inspect.mapPages(1u << 8);
    ASSERT_FALSE(freePages.empty());
    EXPECT_EQ(freePages.front(), inspect.pageCount());
    EXPECT_EQ(freePages.size(), (global.size - 5) * 8 - inspect.pageCount());
    EXPECT_EQ(inspect.rowAt((1u << 8) | 1).size, 69u);

    auto database = Database::open(file(), Database::Mode::readOnly);
    EXPECT_TRUE(database.ok()) << "own reader accepts the header: " << database.status().message();
}

TEST(BuilderCatalogueFixtures, SmallVariantsReadEverywhere) {
    ASSERT_EQ(kelvora::test::mdbExportMissing(), "");  // mdbtools
    struct Variant {
        const char* name;
        DatabaseSpec spec;
        std::vector<std::string> tables;
        std::vector<std::string> queries;
    };
    DatabaseSpec missingTable = contentSpec(1);
    missingTable.tables.erase(missingTable.tables.begin() + 2);  // elm
    DatabaseSpec missingQuery = contentSpec(1);
    missingQuery.queries.pop_back();
    DatabaseSpec extraColumn = contentSpec(1);
    extraColumn.tables[0].columns.push_back({u"tarikh", ColumnType::dateTime});
    extraColumn.tables[0].rows[0].push_back(DateTime{45000});
    const Variant variants[] = {
        {"nothing but the catalogue", DatabaseSpec{}, {}, {}},
        {"a table missing; its query kept, pointing at nothing",
         missingTable,
         {"kolliyat", "ejaz", "payambaran", "vahy", "mohamad", "pkelvora"},
         {"Qkolliyat", "Qejaz", "Qelm", "Qpayambaran", "Qvahy", "Qmohamad", "Qpkelvora"}},
        {"a query missing",
         missingQuery,
         kTables,
         {"Qkolliyat", "Qejaz", "Qelm", "Qpayambaran", "Qvahy", "Qmohamad"}},
        {"an extra column",
         extraColumn,
         kTables,
         {"Qkolliyat", "Qejaz", "Qelm", "Qpayambaran", "Qvahy", "Qmohamad", "Qpkelvora"}},
    };
    for (const Variant& variant : variants) {
        SCOPED_TRACE(variant.name);
        ScratchFolder folder;
        const auto file = folder.file("variant.mdb");
        const Status status = createDatabase(file, variant.spec);
        ASSERT_TRUE(status.ok()) << status.message();
        EXPECT_EQ(kelvora::test::mdbToolsTableNames(file), variant.tables);
        EXPECT_EQ(kelvora::test::mdbToolsQueryNames(file), variant.queries);
        // The first table carries the variations; one is enough to read back in full.
        for (const TableSpec& table : variant.spec.tables) {
            if (&table != &variant.spec.tables.front()) break;
            std::vector<std::string> columns;
            for (const ColumnSpec& column : table.columns) columns.push_back(toUtf8(column.name));
            kelvora::test::expectTableEverywhere(file, toUtf8(table.name), columns, table.rows);
        }
        for (const std::string& problem : JetFileInspector(file).structureProblems())
            ADD_FAILURE() << problem;
    }
}

}  // namespace
