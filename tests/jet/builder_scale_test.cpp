// Large files: rows streamed from a source, read back by mdbtools and the engine's reader.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "build_test_support.h"
#include "jet/builder.h"
#include "jet/database.h"
#include "jet_file_inspector.h"

namespace {

using namespace jet;
using kelvora::test::ScratchFolder;

// Rows as the benchmark generator makes them: a short title, a short question, an answer of a
// few hundred bytes, a footnote on every fourth row.
TableSpec generatedTable(const std::u16string& name, std::size_t rowCount, std::size_t& produced) {
    TableSpec table;
    table.name = name;
    table.columns = {{u"kholase", ColumnType::text, 255, true},
                     {u"porsesh", ColumnType::memo},
                     {u"pasokh", ColumnType::memo},
                     {u"pavaraghi", ColumnType::memo}};
    std::u16string answer;
    for (int i = 0; i < 30; ++i) answer += u"متن پاسخ ";
    table.source = [rowCount, answer, &produced](std::vector<Value>& row) {
        if (produced == rowCount) return false;
        ++produced;
        const std::u16string n = fromUtf8(std::to_string(produced));
        row = {u"عنوان " + n, u"پرسش " + n, answer + n,
               produced % 4 == 0 ? Value(u"پاورقی " + n) : Value(Null{})};
        return true;
    };
    return table;
}

TEST(BuilderScale, HundredThousandRowsAreAllThere) {
    constexpr std::size_t kRows = 100000;
    std::size_t produced = 0;
    DatabaseSpec spec;
    spec.tables = {generatedTable(u"elm", kRows, produced)};
    ScratchFolder folder;
    const auto file = folder.file("large.mdb");
    const Status status = createDatabase(file, spec);
    ASSERT_TRUE(status.ok()) << status.message();
    ASSERT_EQ(produced, kRows);

    ASSERT_EQ(kelvora::test::mdbExportMissing(), "");
    int exitStatus = -1;
    const std::string lines = kelvora::test::runCommand(
        "mdb-export " + kelvora::test::shellQuote(file.string()) + " elm | wc -l", &exitStatus);
    ASSERT_EQ(exitStatus, 0);
    EXPECT_EQ(std::stoul(lines), kRows + 1) << "header and every row";

    const kelvora::test::JetFileInspector inspect(file);
    EXPECT_EQ(inspect.tdef(*inspect.tablePage(u"elm")).rowCount, kRows);
    for (const std::string& problem : inspect.structureProblems()) ADD_FAILURE() << problem;

    auto database = Database::open(file, Database::Mode::readOnly);
    ASSERT_TRUE(database.ok()) << database.status().message();
    auto rows = (*database)->openByName(u"elm");
    ASSERT_TRUE(rows.ok()) << rows.status().message();
    ASSERT_EQ(rows->rowCount(), kRows);
    auto last = rows->value(kRows - 1, 2);
    ASSERT_TRUE(last.ok()) << last.status().message();
    EXPECT_TRUE(toUtf8(std::get<std::u16string>(*last)).ends_with(" 100000"));
}

}  // namespace
