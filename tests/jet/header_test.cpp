// Opening files that are not Jet 4 databases we can read: each is made by patching page 0 of a
// real file in memory, and each must be refused with a message that names the file and why.

#include <gtest/gtest.h>

#include <functional>

#include "jet/database.h"
#include "layout.h"
#include "test_files.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace layout = jet::layout;

constexpr const char* kOnlyJet4 = "; only Access 2000-2003 (Jet 4) files can be opened";

struct HeaderCase {
    const char* name;
    std::function<void(Bytes&)> patch;
    jet::StatusCode code;
    std::string message;  // exact
};

void writeMagic(Bytes& bytes, const char* magic) {
    for (std::size_t i = 0; i < layout::kHeaderMagicSize; ++i)
        bytes[layout::kHeaderMagic + i] = magic[i];
}

const std::vector<HeaderCase>& headerCases() {
    static const std::vector<HeaderCase> cases = {
        {"jet3_version_byte", [](Bytes& b) { b[layout::kHeaderVersion] = 0; },
         jet::StatusCode::notJet4,
         "\"sample.mdb\" is an Access 97 (Jet 3) database" + std::string(kOnlyJet4)},
        {"ace_2007_version_byte", [](Bytes& b) { b[layout::kHeaderVersion] = 2; },
         jet::StatusCode::notJet4,
         "\"sample.mdb\" is an Access 2007 (ACE) database" + std::string(kOnlyJet4)},
        {"ace_2016_version_byte", [](Bytes& b) { b[layout::kHeaderVersion] = 5; },
         jet::StatusCode::notJet4,
         "\"sample.mdb\" is an Access 2016 (ACE) database" + std::string(kOnlyJet4)},
        {"unknown_future_version", [](Bytes& b) { b[layout::kHeaderVersion] = 0x42; },
         jet::StatusCode::notJet4,
         "\"sample.mdb\" is a newer Access (ACE, version 66) database" + std::string(kOnlyJet4)},
        {"msisam_works_file", [](Bytes& b) { writeMagic(b, "MSISAM Database"); },
         jet::StatusCode::notJet4,
         "\"sample.mdb\" is a Microsoft Works (MSISAM) database" + std::string(kOnlyJet4)},
        {"other_magic", [](Bytes& b) { writeMagic(b, "SQLite format 3"); },
         jet::StatusCode::notJet4,
         "\"sample.mdb\" is not an Access database (no Jet signature on page 0)" +
             std::string(kOnlyJet4)},
        {"page0_not_header_type", [](Bytes& b) { b[0] = layout::kPageData; },
         jet::StatusCode::notJet4,
         "\"sample.mdb\" is not an Access database (no Jet signature on page 0)" +
             std::string(kOnlyJet4)},
        {"empty_file", [](Bytes& b) { b.clear(); }, jet::StatusCode::notJet4,
         "\"sample.mdb\" is empty, not an Access database" + std::string(kOnlyJet4)},
        {"shorter_than_a_page", [](Bytes& b) { b.resize(1000); }, jet::StatusCode::notJet4,
         "\"sample.mdb\" is too short to be an Access database (1000 bytes, less than one page)" +
             std::string(kOnlyJet4)},
        // The masked fields are stored XORed, so flipping a stored bit flips the read value.
        {"database_key_set", [](Bytes& b) { b[layout::kHeaderDatabaseKey] ^= 0x01; },
         jet::StatusCode::unsupported,
         "\"sample.mdb\" is encrypted (database key set); encrypted databases cannot be opened"},
        {"password_set", [](Bytes& b) { b[layout::kHeaderPassword] ^= 'x'; },
         jet::StatusCode::unsupported,
         "\"sample.mdb\" is protected by a database password; password-protected databases cannot "
         "be opened"},
        {"password_only_in_its_last_byte",
         [](Bytes& b) { b[layout::kHeaderPassword + 39] ^= 0x01; }, jet::StatusCode::unsupported,
         "\"sample.mdb\" is protected by a database password; password-protected databases cannot "
         "be opened"},
        {"header_page_only", [](Bytes& b) { b.resize(layout::kPageSize); },
         jet::StatusCode::corrupt,
         "cannot read the catalogue of \"sample.mdb\": table definition page 2 is past the end (1 "
         "pages, "
         "table MSysObjects, TDEF page 2)"},
    };
    return cases;
}

class HeaderTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderTest, RefusesWithReason) {
    Bytes bytes = kelvora::test::readFileBytes(kelvora::test::testdataFile("delTestV2000.mdb"));
    ASSERT_FALSE(bytes.empty());
    GetParam().patch(bytes);
    auto database = jet::Database::openBytes(std::move(bytes), "sample.mdb");
    ASSERT_FALSE(database.ok());
    EXPECT_EQ(database.status().code(), GetParam().code);
    EXPECT_EQ(database.status().message(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Patched, HeaderTest, ::testing::ValuesIn(headerCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HeaderTest, AcceptsEveryUnprotectedRealFileAndAPartialLastPage) {
    for (const auto& file : kelvora::test::realFiles()) {
        if (file.filename() == "V2000_with-password.mdb") continue;
        SCOPED_TRACE(file.string());
        Bytes bytes = kelvora::test::readFileBytes(file);
        const std::size_t tables = jet::Database::openBytes(bytes).value()->tableNames().size();
        // Bytes past the last whole page are ignored.
        bytes.resize(bytes.size() + 100, 0xAB);
        auto database = jet::Database::openBytes(std::move(bytes));
        ASSERT_TRUE(database.ok()) << database.status().message();
        EXPECT_EQ((*database)->tableNames().size(), tables);
    }
}

TEST(HeaderTest, OpenNamesAMissingFileOrAFolder) {
    auto missing = jet::Database::open("/nonexistent/kelvora.mdb", jet::Database::Mode::readOnly);
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.status().code(), jet::StatusCode::notFound);
    EXPECT_EQ(missing.status().message(), "cannot open \"/nonexistent/kelvora.mdb\": no such file");

    const std::string folderName = kelvora::test::testdataDir().string();
    auto folder = jet::Database::open(folderName, jet::Database::Mode::readOnly);
    ASSERT_FALSE(folder.ok());
    EXPECT_EQ(folder.status().code(), jet::StatusCode::ioError);
    EXPECT_NE(folder.status().message().find("\"" + folderName + "\""), std::string::npos)
        << folder.status().message();
}

TEST(HeaderTest, OpensForWritingOnlyWhenTheFileAllowsIt) {
    const auto file = kelvora::test::testdataFile("delTestV2000.mdb");
    const auto copy = std::filesystem::temp_directory_path() / "kelvora-header-test.mdb";
    std::filesystem::copy_file(file, copy, std::filesystem::copy_options::overwrite_existing);
    auto writable = jet::Database::open(copy, jet::Database::Mode::readWrite);
    EXPECT_TRUE(writable.ok()) << writable.status().message();
    std::filesystem::remove(copy);

    // A folder cannot be opened for writing (not even by root, unlike a read-only file).
    const std::string folder = kelvora::test::testdataDir().string();
    auto refused = jet::Database::open(folder, jet::Database::Mode::readWrite);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.status().code(), jet::StatusCode::ioError);
    EXPECT_TRUE(
        refused.status().message().starts_with("cannot open \"" + folder + "\" for writing: "))
        << refused.status().message();
}

}  // namespace
