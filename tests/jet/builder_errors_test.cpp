// What jet::createDatabase refuses, with messages that name the table, row and column, and the
// promise that a failed build leaves whatever was at the target untouched.

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "build_test_support.h"
#include "jet/builder.h"
#include "test_files.h"

namespace {

using namespace jet;
using kelvora::test::ScratchFolder;

DatabaseSpec validSpec() {
    TableSpec table;
    table.name = u"ejaz";
    table.columns = {{u"kholase", ColumnType::text, 10, true},
                     {u"porsesh", ColumnType::memo},
                     {u"shomare", ColumnType::longInteger},
                     {u"taeed", ColumnType::boolean},
                     {u"tarikh", ColumnType::dateTime}};
    table.rows = {
        {std::u16string(u"a"), std::u16string(u"b"), std::int64_t{1}, true, DateTime{45000}},
        {std::u16string(u"c"), Null{}, std::int64_t{2}, false, Null{}}};
    DatabaseSpec spec;
    spec.tables = {table};
    spec.queries = {{u"Qejaz", u"ejaz"}};
    return spec;
}

struct ErrorCase {
    const char* name;
    std::function<void(DatabaseSpec&)> breakIt;
    std::vector<std::string> messageParts;
};

TEST(BuilderErrors, InvalidSpecsAreRefusedWithWhereAndWhy) {
    const std::vector<ErrorCase> cases = {
        {"empty table name",
         [](DatabaseSpec& s) { s.tables[0].name.clear(); },
         {"table", "empty name"}},
        {"65-character name",
         [](DatabaseSpec& s) { s.tables[0].name = std::u16string(65, u'n'); },
         {"64"}},
        {"dot in a name", [](DatabaseSpec& s) { s.tables[0].name = u"a.b"; }, {"'a.b'", "'.'"}},
        {"exclamation mark in a name", [](DatabaseSpec& s) { s.tables[0].name = u"a!b"; }, {"'!'"}},
        {"backquote in a name", [](DatabaseSpec& s) { s.tables[0].name = u"a`b"; }, {"'`'"}},
        {"bracket in a column name",
         [](DatabaseSpec& s) { s.tables[0].columns[1].name = u"p[1]"; },
         {"column 2 of table 'ejaz'", "'['"}},
        {"leading space",
         [](DatabaseSpec& s) { s.tables[0].name = u" ejaz"; },
         {"starts with a space"}},
        {"control character",
         [](DatabaseSpec& s) { s.tables[0].name = u"ej\taz"; },
         {"control character"}},
        {"two tables differing only in case",
         [](DatabaseSpec& s) {
             s.tables.push_back(s.tables[0]);
             s.tables[1].name = u"EJAZ";
         },
         {"'EJAZ'", "already"}},
        {"a query named like a table",
         [](DatabaseSpec& s) { s.queries[0].name = u"Ejaz"; },
         {"query 'Ejaz'", "already"}},
        {"a system table's name",
         [](DatabaseSpec& s) { s.tables[0].name = u"msysobjects"; },
         {"system table"}},
        {"two columns of one name",
         [](DatabaseSpec& s) { s.tables[0].columns[1].name = u"KHOLASE"; },
         {"two columns named 'KHOLASE'"}},
        {"no columns",
         [](DatabaseSpec& s) {
             s.tables[0].columns.clear();
             s.tables[0].rows.clear();
         },
         {"no columns"}},
        {"text length 0",
         [](DatabaseSpec& s) { s.tables[0].columns[0].textLength = 0; },
         {"'kholase'", "1..255"}},
        {"text length 256",
         [](DatabaseSpec& s) { s.tables[0].columns[0].textLength = 256; },
         {"256"}},
        {"decimal columns are not written",
         [](DatabaseSpec& s) { s.tables[0].columns[2].type = ColumnType::decimal; },
         {"'shomare'", "cannot be written"}},
        {"text longer than its column",
         [](DatabaseSpec& s) { s.tables[0].rows[1][0] = std::u16string(11, u'x'); },
         {"table 'ejaz', row 2, column 'kholase'", "11 characters", "10"}},
        {"a number in a text column",
         [](DatabaseSpec& s) { s.tables[0].rows[0][0] = std::int64_t{5}; },
         {"row 1, column 'kholase'", "text", "an integer"}},
        {"text in a long column",
         [](DatabaseSpec& s) { s.tables[0].rows[1][2] = std::u16string(u"2"); },
         {"row 2, column 'shomare'", "long"}},
        {"a long out of range",
         [](DatabaseSpec& s) { s.tables[0].rows[0][2] = std::int64_t{1} << 31; },
         {"column 'shomare'", "2147483648", "outside"}},
        {"a null Yes/No value",
         [](DatabaseSpec& s) { s.tables[0].rows[1][3] = Null{}; },
         {"row 2, column 'taeed'", "cannot be null"}},
        {"a row with a value missing",
         [](DatabaseSpec& s) { s.tables[0].rows[1].pop_back(); },
         {"table 'ejaz', row 2", "4 values for 5 columns"}},
        {"a date that is not a number",
         [](DatabaseSpec& s) { s.tables[0].rows[0][4] = DateTime{std::nan("")}; },
         {"column 'tarikh'", "finite"}},
        {"a creation date that is not a date",
         [](DatabaseSpec& s) { s.creationDate = 1e12; },
         {"creation date"}},
        {"a row over 4060 bytes",
         [](DatabaseSpec& s) {
             TableSpec wide;
             wide.name = u"wide";
             std::vector<Value> row;
             for (int i = 0; i < 9; ++i) {
                 wide.columns.push_back(
                     {fromUtf8("c" + std::to_string(i)), ColumnType::text, 255, false});
                 row.push_back(std::u16string(255, u'ف'));
             }
             wide.rows = {row};
             s.tables.push_back(wide);
         },
         {"table 'wide', row 1", "4060"}},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.name);
        DatabaseSpec spec = validSpec();
        c.breakIt(spec);
        ScratchFolder folder;
        const Status status = createDatabase(folder.file("bad.mdb"), spec);
        ASSERT_FALSE(status.ok());
        EXPECT_EQ(status.code(), StatusCode::invalidArgument);
        for (const std::string& part : c.messageParts)
            EXPECT_NE(status.message().find(part), std::string::npos)
                << status.message() << " lacks " << part;
        EXPECT_TRUE(std::filesystem::is_empty(folder.path())) << "a failed build left files behind";
    }
}

TEST(BuilderErrors, MemosMoveOutOfAFullRowInsteadOfFailing) {
    // Eight 255-character Persian titles leave no room for a 60-byte inline memo.
    TableSpec table;
    table.name = u"full";
    std::vector<Value> row;
    for (int i = 0; i < 7; ++i) {
        table.columns.push_back({fromUtf8("t" + std::to_string(i)), ColumnType::text, 255, false});
        row.push_back(std::u16string(255, u'ق'));
    }
    table.columns.push_back({u"t7", ColumnType::text, 255, false});
    row.push_back(std::u16string(200, u'ق'));
    table.columns.push_back({u"note", ColumnType::memo});
    row.push_back(std::u16string(30, u'ن'));
    table.rows = {row};
    DatabaseSpec spec;
    spec.tables = {table};
    ScratchFolder folder;
    const Status status = createDatabase(folder.file("full.mdb"), spec);
    ASSERT_TRUE(status.ok()) << status.message();
    std::vector<std::string> columns;
    for (const ColumnSpec& column : table.columns) columns.push_back(toUtf8(column.name));
    kelvora::test::expectTableEverywhere(folder.file("full.mdb"), "full", columns, table.rows);
}

TEST(BuilderErrors, AFailedBuildLeavesTheOldFileInPlace) {
    ScratchFolder folder;
    const auto target = folder.file("content.mdb");
    ASSERT_TRUE(createDatabase(target, validSpec()).ok());
    const auto before = kelvora::test::readFileBytes(target);

    DatabaseSpec failing = validSpec();
    std::size_t produced = 0;
    failing.tables[0].rows.clear();
    // Thousands of good rows are written before the bad one: the build fails late.
    failing.tables[0].source = [&](std::vector<Value>& row) {
        ++produced;
        row = {std::u16string(u"t"), std::u16string(200, u'x'), std::int64_t(produced), true,
               Null{}};
        if (produced == 5000) row[2] = std::u16string(u"not a number");
        return true;
    };
    const Status status = createDatabase(target, failing);
    ASSERT_FALSE(status.ok());
    EXPECT_NE(status.message().find("row 5000, column 'shomare'"), std::string::npos)
        << status.message();
    EXPECT_EQ(kelvora::test::readFileBytes(target), before);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path()))
        ++entries;
    EXPECT_EQ(entries, 1u) << "the temporary file was removed";

    // A folder that does not exist: an I/O error, nothing created.
    const Status missing = createDatabase(folder.file("no/such/folder/x.mdb"), validSpec());
    EXPECT_EQ(missing.code(), StatusCode::ioError);
    EXPECT_NE(missing.message().find("no/such/folder"), std::string::npos) << missing.message();
}

}  // namespace
