// The jetsql tool, run as a program: listing, CSV output (quoting, null against empty text,
// Persian text), and its exit statuses.

#include <gtest/gtest.h>

#include "oracles.h"
#include "reader_fixture.h"
#include "test_files.h"

namespace {

using kelvora::test::runCommand;
using kelvora::test::shellQuote;

struct ToolRun {
    std::string out;
    std::string err;
    int status = -1;
};

ToolRun jetsql(const std::vector<std::string>& arguments) {
    std::string command = shellQuote(JETSQL_PATH);
    for (const auto& argument : arguments) command += " " + shellQuote(argument);
    ToolRun run;
    run.out = runCommand(command, &run.status, &run.err);
    return run;
}

class JetsqlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_fixture = std::filesystem::temp_directory_path() /
                    ("kelvora-jetsql-" + std::to_string(::getpid()) + ".mdb");
        s_buildError = kelvora::test::writeReaderFixture(s_fixture);
    }
    static void TearDownTestSuite() { std::filesystem::remove(s_fixture); }
    void SetUp() override { ASSERT_TRUE(s_buildError.empty()) << s_buildError; }

    static std::filesystem::path s_fixture;
    static std::string s_buildError;
};

std::filesystem::path JetsqlTest::s_fixture;
std::string JetsqlTest::s_buildError;

TEST_F(JetsqlTest, PrintsARealFileAsCsv) {
    const std::string file = kelvora::test::testdataFile("delColTestV2000.mdb").string();
    const ToolRun list = jetsql({file});
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out, "table Table1\n");

    const ToolRun table = jetsql({file, "table1"});
    EXPECT_EQ(table.status, 0) << table.err;
    EXPECT_EQ(table.out, "id,id2,data,data2\n0,2,foo,foo2\n3,5,bar,bar2\n");
    EXPECT_EQ(table.err, "");
}

TEST_F(JetsqlTest, QuotesFieldsAndKeepsNullApartFromEmptyText) {
    const ToolRun list = jetsql({s_fixture.string()});
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out, "table Kolliyat\ntable Ёлка\nquery Qkolliyat (select)\n");

    const ToolRun rows =
        jetsql({s_fixture.string(), "SELECT * FROM Kolliyat WHERE shomare > 1", "x"});
    EXPECT_EQ(rows.status, 2) << "three arguments are a usage error";

    const ToolRun some =
        jetsql({s_fixture.string(), "select * from kolliyat where porsesh like '_%' and"});
    EXPECT_EQ(some.status, 1);
    EXPECT_TRUE(some.err.starts_with("jetsql: syntax error at position")) << some.err;

    const ToolRun filtered =
        jetsql({s_fixture.string(), "select * from Qkolliyat where kholase like '%'"});
    ASSERT_EQ(filtered.status, 0) << filtered.err;
    // Row 1's memo is long: check it by its size and ends.
    const std::string longMemo = "ب";
    std::string expectedFirst = "سلام دنیا,";
    for (std::size_t i = 0; i < kelvora::test::kLongMemoRepeat; ++i) expectedFirst += longMemo;
    expectedFirst += "پایان,1\n";
    EXPECT_EQ(filtered.out, "kholase,porsesh,shomare\n" + expectedFirst +
                                "كتاب علي,پرسش,2\n"
                                "\"\",,4\n"
                                "\"Book ONE, \"\"two\"\"\nthree\",memo,5\n");
}

TEST_F(JetsqlTest, ErrorsGoToStderrWithExitStatus) {
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        int status;
        std::string err;
    };
    const std::string password = kelvora::test::testdataFile("V2000_with-password.mdb").string();
    const std::vector<Case> cases = {
        {"no arguments", {}, 2, "usage: jetsql FILE"},
        {"unknown table",
         {s_fixture.string(), "nope"},
         1,
         "jetsql: no table or query named \"nope\"\n"},
        {"missing file",
         {"/nonexistent.mdb"},
         1,
         "jetsql: cannot open \"/nonexistent.mdb\": no such file\n"},
        {"password",
         {password},
         1,
         "jetsql: \"" + password +
             "\" is protected by a database password; password-protected databases cannot be "
             "opened\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolRun run = jetsql(c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(run.err.starts_with(c.err)) << run.err;
    }
}

}  // namespace
