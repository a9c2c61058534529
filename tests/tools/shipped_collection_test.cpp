// The kelvora.mdb the build makes: our reader and both independent readers see exactly the
// records of the collection's text files, in topic order, and every saved query opens.
#include <gtest/gtest.h>

#include <algorithm>

#include "collection_text.h"
#include "jet/database.h"
#include "jet/value.h"
#include "oracles.h"

namespace {

namespace test = kelvora::test;

const std::filesystem::path kShipped = KELVORA_MDB_PATH;
const std::filesystem::path kCollection = std::filesystem::path(KELVORA_SOURCE_DIR) / "collection";

std::vector<collection::Record> recordsOf(const std::u16string& table) {
    std::vector<collection::Record> all;
    for (const auto& topic : collection::topicTables()) {
        if (table != collection::kSearchTable && topic != table) continue;
        auto records = collection::readTopicFile(kCollection / (jet::toUtf8(topic) + ".txt"));
        EXPECT_TRUE(records.ok()) << records.status().message();
        if (records.ok()) all.insert(all.end(), records->begin(), records->end());
    }
    return all;
}

std::vector<std::u16string> allTables() {
    auto tables = collection::topicTables();
    tables.push_back(collection::kSearchTable);
    return tables;
}

// A record as the oracles print it: four CSV fields, null as kCsvNull.
test::CsvRow asCsv(const collection::Record& record) {
    return {jet::toUtf8(record.title), jet::toUtf8(record.question), jet::toUtf8(record.answer),
            record.footnotes ? jet::toUtf8(*record.footnotes) : test::kCsvNull};
}

TEST(ShippedCollectionTest, OurReaderSeesEveryRecordInOrder) {
    auto database = jet::Database::open(kShipped, jet::Database::Mode::readOnly);
    ASSERT_TRUE(database.ok()) << database.status().message();
    for (const auto& table : allTables()) {
        SCOPED_TRACE(jet::toUtf8(table));
        const auto expected = recordsOf(table);
        auto rows = (*database)->execute(u"SELECT *\r\nFROM " + table + u";\r\n");
        ASSERT_TRUE(rows.ok()) << rows.status().message();
        ASSERT_EQ(rows->rowCount(), expected.size());
        const char16_t* fields[] = {u"kholase", u"porsesh", u"pasokh", u"pavaraghi"};
        for (std::size_t row = 0; row < expected.size(); ++row) {
            const test::CsvRow want = asCsv(expected[row]);
            for (int field = 0; field < 4; ++field) {
                const int column = rows->columnIndex(fields[field]);
                ASSERT_GE(column, 0);
                auto value = rows->value(row, static_cast<std::size_t>(column));
                ASSERT_TRUE(value.ok()) << value.status().message();
                const std::string got = jet::isNull(*value) ? test::kCsvNull : jet::toDisplayText(*value);
                EXPECT_EQ(got, want[static_cast<std::size_t>(field)]) << "row " << row;
            }
        }
        // The saved query over the table opens by its name alone and holds the same rows.
        auto query = (*database)->openByName(collection::savedQueryName(table));
        ASSERT_TRUE(query.ok()) << query.status().message();
        EXPECT_EQ(query->rowCount(), expected.size());
    }
}

TEST(ShippedCollectionTest, IndependentReadersSeeTheSameRecords) {
    for (const auto& table : allTables()) {
        const std::string name = jet::toUtf8(table);
        SCOPED_TRACE(name);
        std::vector<test::CsvRow> expected;
        for (const auto& record : recordsOf(table)) expected.push_back(asCsv(record));
        std::sort(expected.begin(), expected.end());
        for (const auto& oracle : {test::mdbExportRows(kShipped, name), test::mdbReaderRows(kShipped, name)}) {
            ASSERT_TRUE(oracle.ok) << oracle.error;
            EXPECT_EQ(oracle.header, (test::CsvRow{"kholase", "porsesh", "pasokh", "pavaraghi"}));
            auto rows = oracle.rows;
            std::sort(rows.begin(), rows.end());
            EXPECT_EQ(rows, expected);
        }
    }
}

TEST(ShippedCollectionTest, HoldsWhatTheReadersEdgeCasesNeed) {
    const auto topic1 = recordsOf(u"kolliyat");
    const auto all = recordsOf(u"pkelvora");
    for (const auto& table : collection::topicTables()) {
        SCOPED_TRACE(jet::toUtf8(table));
        EXPECT_GE(recordsOf(table).size(), 12u);
    }
    EXPECT_TRUE(std::any_of(topic1.begin(), topic1.end(), [](const auto& r) { return r.title.size() >= 60; }))
        << "a title too wide for the title line";
    EXPECT_TRUE(std::any_of(all.begin(), all.end(), [](const auto& r) { return !r.footnotes; }))
        << "a record without footnotes";
    EXPECT_TRUE(std::any_of(topic1.begin(), topic1.end(),
                            [](const auto& r) { return r.title.find(u'\'') != std::u16string::npos; }))
        << "a title with an apostrophe";
    // Written in the letter forms of the collection's era.
    for (const auto& record : all) {
        for (const std::u16string* text : {&record.title, &record.question, &record.answer}) {
            EXPECT_EQ(text->find(u'\u06CC'), std::u16string::npos) << jet::toUtf8(record.title);
            EXPECT_EQ(text->find(u'\u0643'), std::u16string::npos) << jet::toUtf8(record.title);
        }
    }
}

}  // namespace
