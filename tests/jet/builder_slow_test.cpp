// Slow checks, labelled "slow" in ctest: mdb-reader reads a long memo chain in time that grows
// with the square of its length (about half a minute for 6 MB).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "build_test_support.h"
#include "jet/builder.h"

namespace {

using namespace jet;

TEST(BuilderSlow, SeveralMegabyteMemoReadsBackWhole) {
    std::u16string memo;
    for (std::size_t i = 0; memo.size() < 2'500'000; ++i)
        memo += u"بند " + fromUtf8(std::to_string(i)) + u" ";
    TableSpec table;
    table.name = u"long";
    table.columns = {{u"n", ColumnType::longInteger}, {u"pasokh", ColumnType::memo}};
    table.rows = {{std::int64_t{1}, memo}, {std::int64_t{2}, std::u16string(u"کوتاه")}};
    DatabaseSpec spec;
    spec.tables = {table};
    kelvora::test::ScratchFolder folder;
    const auto file = folder.file("long.mdb");
    const Status status = createDatabase(file, spec);
    ASSERT_TRUE(status.ok()) << status.message();
    kelvora::test::expectTableEverywhere(file, "long", {"n", "pasokh"}, table.rows);
}

}  // namespace
