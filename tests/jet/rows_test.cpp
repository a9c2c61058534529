// Reading rows: slot flags, deleted and added columns, every value type of the real files, long
// values in each storage form, and damaged rows, pages, maps and chains (made by patching real
// files in memory), each of which must end in a clear error.

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "data_page.h"
#include "database_impl.h"
#include "layout.h"
#include "long_value.h"
#include "read_all.h"
#include "row_codec.h"
#include "table_scan.h"
#include "test_files.h"
#include "usage_map.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace layout = jet::layout;
using kelvora::test::getU16;
using kelvora::test::getU32;
using kelvora::test::putU16;
using kelvora::test::putU32;

Bytes fileBytes(const std::string& name) {
    return kelvora::test::readFileBytes(kelvora::test::testdataFile(name));
}

std::unique_ptr<jet::DatabaseImpl> openImpl(Bytes bytes) {
    auto database = kelvora::test::openBytesIgnoringPassword(std::move(bytes));
    EXPECT_TRUE(database.ok()) << database.status().message();
    return database.ok() ? std::move(*database) : nullptr;
}

const jet::CatalogEntry& tableEntry(const jet::DatabaseImpl& database, std::u16string_view name) {
    const jet::CatalogEntry* entry = database.catalogue().findUserTable(name);
    if (entry == nullptr) entry = database.catalogue().findSystemTable(name);
    EXPECT_NE(entry, nullptr) << jet::toUtf8(name);
    static const jet::CatalogEntry kNone;
    return entry ? *entry : kNone;
}

// The rows as display text, "<null>" for null.
std::vector<std::vector<std::string>> displayRows(const jet::ResultSet& rows) {
    std::vector<std::vector<std::string>> out;
    for (std::size_t r = 0; r < rows.rowCount(); ++r) {
        std::vector<std::string> row;
        for (std::size_t c = 0; c < rows.columns().size(); ++c) {
            auto value = rows.value(r, c);
            row.push_back(!value.ok()           ? "error: " + value.status().message()
                          : jet::isNull(*value) ? "<null>"
                                                : jet::toDisplayText(*value));
        }
        out.push_back(std::move(row));
    }
    return out;
}

std::vector<std::vector<std::string>> readRows(const Bytes& bytes, std::u16string_view table) {
    auto database = openImpl(bytes);
    if (!database) return {};
    auto rows = database->readTable(tableEntry(*database, table));
    EXPECT_TRUE(rows.ok()) << rows.status().message();
    return rows.ok() ? displayRows(*rows) : std::vector<std::vector<std::string>>{};
}

std::size_t pageStart(std::uint32_t page) {
    return std::size_t{page} * layout::kPageSize;
}
std::size_t slotAt(std::uint32_t page, std::uint16_t row) {
    return pageStart(page) + layout::kDataRowSlots + 2 * row;
}
std::size_t rowAt(const Bytes& bytes, std::uint32_t page, std::uint16_t row) {
    return pageStart(page) + (getU16(bytes, slotAt(page, row)) & layout::kRowSlotOffsetMask);
}

// Fixture facts of delColTestV2000.mdb, table Table1, checked by FixtureLayout below.
constexpr std::uint32_t kDelColTdef = 24;
constexpr std::uint32_t kDelColDataPage = 29;
constexpr std::uint32_t kDelColOwnedMapPage = 25;

TEST(RowsTest, FixtureLayoutIsWhatTheCasesAssume) {
    auto database = openImpl(fileBytes("delColTestV2000.mdb"));
    ASSERT_NE(database, nullptr);
    auto table = database->tableDefinition(tableEntry(*database, u"Table1"));
    ASSERT_TRUE(table.ok());
    EXPECT_EQ(table->tdefPage, kDelColTdef);
    EXPECT_EQ(table->ownedPages, (jet::RowPointer{kDelColOwnedMapPage, 0}));
    auto pages = jet::UsageMap::readPages(database->source(), table->ownedPages, "test");
    ASSERT_TRUE(pages.ok());
    EXPECT_EQ(*pages, std::vector<std::uint32_t>{kDelColDataPage});
}

TEST(RowsTest, DeletedRowIsSkipped) {
    const Bytes bytes = fileBytes("delTestV2000.mdb");
    // Page 31 holds three slots, the middle one deleted (both flag bits).
    ASSERT_EQ(getU16(bytes, slotAt(31, 1)) & layout::kRowSlotDeleted, layout::kRowSlotDeleted);
    auto database = openImpl(bytes);
    ASSERT_NE(database, nullptr);
    auto rows = database->readTable(tableEntry(*database, u"Table"));
    ASSERT_TRUE(rows.ok()) << rows.status().message();
    EXPECT_EQ(displayRows(*rows), (std::vector<std::vector<std::string>>{{"z", "y"}, {"v", "u"}}));
    EXPECT_EQ(rows->location(0), (jet::RowLocation{31, 0}));
    EXPECT_EQ(rows->location(1), (jet::RowLocation{31, 2}));
}

TEST(RowsTest, DeletedColumnsLeaveGapsInColumnNumbers) {
    auto database = openImpl(fileBytes("delColTestV2000.mdb"));
    ASSERT_NE(database, nullptr);
    auto table = database->tableDefinition(tableEntry(*database, u"Table1"));
    ASSERT_TRUE(table.ok());
    EXPECT_EQ(table->maxColumns, 6);
    std::vector<std::uint16_t> numbers;
    for (const auto& column : table->columns) numbers.push_back(column.number);
    EXPECT_EQ(numbers, (std::vector<std::uint16_t>{0, 2, 3, 5}));
    EXPECT_TRUE(table->columns[0].indexed);
    EXPECT_FALSE(table->columns[2].indexed);
    EXPECT_EQ(readRows(fileBytes("delColTestV2000.mdb"), u"Table1"),
              (std::vector<std::vector<std::string>>{{"0", "2", "foo", "foo2"},
                                                     {"3", "5", "bar", "bar2"}}));
}

TEST(RowsTest, RowWithFewerColumnsReadsLaterColumnsAsNull) {
    Bytes bytes = fileBytes("delColTestV2000.mdb");
    // As if the row had been written before columns 3.. were added: the null mask keeps its
    // size (one byte for 3 or 6 columns).
    putU16(bytes, rowAt(bytes, kDelColDataPage, 0), 3);
    EXPECT_EQ(readRows(bytes, u"Table1"),
              (std::vector<std::vector<std::string>>{{"0", "2", "<null>", "<null>"},
                                                     {"3", "5", "bar", "bar2"}}));
}

TEST(RowsTest, DecimalsAndAnInlineMemo) {
    auto database = openImpl(fileBytes("fixedNumericTestV2000.mdb"));
    ASSERT_NE(database, nullptr);
    auto rows = database->readTable(tableEntry(*database, u"test"));
    ASSERT_TRUE(rows.ok()) << rows.status().message();
    EXPECT_EQ(
        displayRows(*rows),
        (std::vector<std::vector<std::string>>{{"some data", "1", "0", "0", "4", "-1", "1"}}));
    auto memo = rows->value(0, 0);
    ASSERT_TRUE(memo.ok());
    EXPECT_EQ(std::get<std::u16string>(*memo), u"some data");
    const auto negativeValue = rows->value(0, 5);
    ASSERT_TRUE(negativeValue.ok());
    const auto* negative = std::get_if<jet::Decimal>(&*negativeValue);
    ASSERT_NE(negative, nullptr);
    EXPECT_TRUE(negative->negative);
    EXPECT_EQ(negative->magnitude, (std::array<std::uint32_t, 4>{1, 0, 0, 0}));
}

// The storage forms a column's long values use, with each value read in full.
struct LongValueCase {
    const char* name;
    const char* table;
    const char16_t* column;
    std::set<jet::LongValueDescriptor::Kind> kinds;
};

class LongValueTest : public ::testing::TestWithParam<LongValueCase> {};

TEST_P(LongValueTest, EveryFormIsReadToItsFullLength) {
    auto database = openImpl(fileBytes("V2000_with-password.mdb"));
    ASSERT_NE(database, nullptr);
    const auto& entry = tableEntry(*database, jet::fromUtf8(GetParam().table));
    auto table = database->tableDefinition(entry);
    ASSERT_TRUE(table.ok());
    const jet::ColumnDefinition* column = table->findColumn(GetParam().column);
    ASSERT_NE(column, nullptr);
    std::set<jet::LongValueDescriptor::Kind> kinds;
    std::vector<std::size_t> lengths;
    const jet::Status status = jet::scanRows(
        database->source(), *table,
        [&](jet::RowLocation location, std::span<const std::uint8_t> bytes) {
            const jet::RowWhere where{&table->name, location.pageNumber, location.rowIndex};
            auto row = jet::RowView::open(bytes, *table, where);
            JET_TRY(row);
            auto field = row->field(*column, where);
            JET_TRY(field);
            if (field->null) return jet::Status();
            auto descriptor = jet::LongValueDescriptor::parse(field->bytes, "test");
            JET_TRY(descriptor);
            kinds.insert(descriptor->kind);
            auto value = jet::readLongValue(database->source(), field->bytes, "test");
            JET_TRY(value);
            EXPECT_EQ(value->size(), descriptor->length);
            lengths.push_back(value->size());
            return jet::Status();
        });
    ASSERT_TRUE(status.ok()) << status.message();
    EXPECT_EQ(kinds, GetParam().kinds);

    // The snapshot reads the same values on demand.
    auto rows = database->readTable(entry);
    ASSERT_TRUE(rows.ok());
    const int index = rows->columnIndex(GetParam().column);
    std::vector<std::size_t> snapshotLengths;
    for (std::size_t r = 0; r < rows->rowCount(); ++r) {
        auto value = rows->value(r, static_cast<std::size_t>(index));
        ASSERT_TRUE(value.ok()) << value.status().message();
        if (const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&*value))
            snapshotLengths.push_back(bytes->size());
    }
    EXPECT_EQ(snapshotLengths, lengths);
}

using Kind = jet::LongValueDescriptor::Kind;
INSTANTIATE_TEST_SUITE_P(
    V2000SystemTables, LongValueTest,
    ::testing::Values(LongValueCase{"inline_and_single_row",
                                    "MSysObjects",
                                    u"LvProp",
                                    {Kind::inlineData, Kind::singleRow}},
                      LongValueCase{"chained_rows", "MSysNameMap", u"NameMap", {Kind::chain}}),
    [](const auto& info) { return std::string(info.param.name); });

// Moves row `rowIndex` of `page` into a new slot at the bottom of the same page, marks the new
// slot hidden and leaves a forwarding pointer in the original slot, as a writer does when an
// updated row no longer fits.
void moveRowWithinPage(Bytes& bytes, std::uint32_t page, std::uint16_t rowIndex) {
    const std::size_t base = pageStart(page);
    const std::uint16_t count = getU16(bytes, base + layout::kDataRowCount);
    const std::size_t start = rowAt(bytes, page, rowIndex);
    const std::size_t end =
        rowIndex == 0 ? base + layout::kPageSize : rowAt(bytes, page, rowIndex - 1);
    const std::size_t lowest = rowAt(bytes, page, count - 1);
    const std::size_t newStart = lowest - (end - start);
    ASSERT_GE(newStart, base + layout::kDataRowSlots + 2 * (count + 1));
    std::copy(bytes.begin() + start, bytes.begin() + end, bytes.begin() + newStart);
    putU16(bytes, slotAt(page, count),
           static_cast<std::uint16_t>((newStart - base) | layout::kRowSlotHidden));
    putU16(bytes, base + layout::kDataRowCount, count + 1);
    putU32(bytes, start, (page << 8) | count);
    putU16(bytes, slotAt(page, rowIndex),
           getU16(bytes, slotAt(page, rowIndex)) | layout::kRowSlotMoved);
}

TEST(RowsTest, MovedRowIsReadOnceThroughItsPointer) {
    Bytes bytes = fileBytes("delColTestV2000.mdb");
    const auto before = readRows(bytes, u"Table1");
    moveRowWithinPage(bytes, kDelColDataPage, 0);
    // The original slot now holds only the pointer; the bytes live in hidden slot 2.
    ASSERT_NE(getU32(bytes, rowAt(bytes, kDelColDataPage, 0)), 0u);
    auto database = openImpl(bytes);
    ASSERT_NE(database, nullptr);
    auto rows = database->readTable(tableEntry(*database, u"Table1"));
    ASSERT_TRUE(rows.ok()) << rows.status().message();
    EXPECT_EQ(displayRows(*rows), before);
    EXPECT_EQ(rows->location(0), (jet::RowLocation{kDelColDataPage, 0}))
        << "the original slot, not the target";
}

// A damaged file and the error reading it must end in.
struct DamageCase {
    const char* name;
    const char* file;
    std::function<void(Bytes&)> patch;
    std::string error;  // part of the first error's message
};

// The file offset of the first `kind` descriptor of `column` in `table` (any table).
std::size_t findDescriptor(const Bytes& bytes, std::u16string_view tableName,
                           std::u16string_view columnName, Kind kind) {
    auto database = openImpl(bytes);
    auto table = database->tableDefinition(tableEntry(*database, tableName));
    const jet::ColumnDefinition* column = table->findColumn(columnName);
    std::size_t found = 0;
    jet::scanRows(
        database->source(), *table,
        [&](jet::RowLocation location, std::span<const std::uint8_t> row) {
            const jet::RowWhere where{&table->name, location.pageNumber, location.rowIndex};
            auto field = jet::RowView::open(row, *table, where)->field(*column, where);
            if (found != 0 || field->null) return jet::Status();
            if (jet::LongValueDescriptor::parse(field->bytes, "")->kind != kind)
                return jet::Status();
            found = rowAt(bytes, location.pageNumber, location.rowIndex) +
                    static_cast<std::size_t>(field->bytes.data() - row.data());
            return jet::Status();
        });
    EXPECT_NE(found, 0u);
    return found;
}

const std::vector<DamageCase>& damageCases() {
    static const std::vector<DamageCase> cases = {
        {"slot_inside_slot_table", "delColTestV2000.mdb",
         [](Bytes& b) { putU16(b, slotAt(kDelColDataPage, 0), 0x0005); },
         "row offset 0x5 outside the row area (page 29, row 0, table Table1)"},
        {"slots_out_of_order", "delColTestV2000.mdb",
         [](Bytes& b) { putU16(b, slotAt(kDelColDataPage, 1), 0x0FD0); },
         "row offset 0xfd0 past the end of the row before it at 0xfcf (page 29, row 1, table "
         "Table1)"},
        {"row_shorter_than_header", "delColTestV2000.mdb",
         [](Bytes& b) { putU16(b, slotAt(kDelColDataPage, 1), 0x0FCE); },
         "row of 1 bytes is shorter than its header (page 29, row 1, table Table1)"},
        {"variable_offset_out_of_range", "delColTestV2000.mdb",
         // Row 0 is 49 bytes: null mask at 48, variable count at 46, offset of column 0 at 44.
         [](Bytes& b) { putU16(b, rowAt(b, kDelColDataPage, 0) + 44, 0x0FFF); },
         "variable column offset 0xfff of column 0 out of range"},
        {"too_many_variable_columns", "delColTestV2000.mdb",
         [](Bytes& b) { putU16(b, rowAt(b, kDelColDataPage, 0) + 46, 0x4000); },
         "row claims 16384 variable columns, more than its 49 bytes hold"},
        {"too_many_rows_on_page", "delColTestV2000.mdb",
         [](Bytes& b) { putU16(b, pageStart(kDelColDataPage) + layout::kDataRowCount, 300); },
         "data page 29 claims 300 rows, more than a page can hold"},
        {"moved_row_to_missing_page", "delColTestV2000.mdb",
         [](Bytes& b) {
             putU16(b, slotAt(kDelColDataPage, 0),
                    getU16(b, slotAt(kDelColDataPage, 0)) | layout::kRowSlotMoved);
             putU32(b, rowAt(b, kDelColDataPage, 0), 0xFFFFFF00);
         },
         "moved row points at page 16777215 outside the file (31 pages"},
        {"moved_row_to_deleted_row", "delColTestV2000.mdb",
         [](Bytes& b) {
             putU16(b, slotAt(kDelColDataPage, 0),
                    getU16(b, slotAt(kDelColDataPage, 0)) | layout::kRowSlotMoved);
             putU32(b, rowAt(b, kDelColDataPage, 0), (kDelColDataPage << 8) | 1);
             putU16(b, slotAt(kDelColDataPage, 1),
                    getU16(b, slotAt(kDelColDataPage, 1)) | layout::kRowSlotDeleted);
         },
         "moved row points at a deleted row (page 29 row 1"},
        {"moved_row_to_moved_row", "delColTestV2000.mdb",
         [](Bytes& b) {
             for (std::uint16_t row : {0, 1}) {
                 putU16(b, slotAt(kDelColDataPage, row),
                        getU16(b, slotAt(kDelColDataPage, row)) | layout::kRowSlotMoved);
                 putU32(b, rowAt(b, kDelColDataPage, row), (kDelColDataPage << 8) | (1 - row));
             }
         },
         "moved row points at a moved row (page 29 row 1"},
        {"usage_map_names_page_0", "delColTestV2000.mdb",
         [](Bytes& b) {
             const std::size_t map = rowAt(b, kDelColOwnedMapPage, 0);
             putU32(b, map + layout::kUsageMapInlineStart, 0);
             b[map + layout::kUsageMapInlineBitmap] |= 1;
         },
         "usage map names page 0, outside the file's pages 1..30 (usage map of table Table1)"},
        {"usage_map_past_the_end", "delColTestV2000.mdb",
         [](Bytes& b) {
             putU32(b, rowAt(b, kDelColOwnedMapPage, 0) + layout::kUsageMapInlineStart, 0x00FFFF00);
         },
         "outside the file's pages 1..30 (usage map of table Table1)"},
        {"usage_map_of_unknown_kind", "delColTestV2000.mdb",
         [](Bytes& b) { b[rowAt(b, kDelColOwnedMapPage, 0)] = 7; },
         "usage map row of unknown kind 0x7 (page 25, usage map of table Table1)"},
        {"reference_map_to_a_data_page", "delColTestV2000.mdb",
         [](Bytes& b) {
             const std::size_t map = rowAt(b, kDelColOwnedMapPage, 0);
             b[map] = layout::kUsageMapReference;
             putU32(b, map + 1, kDelColDataPage);
         },
         "reference usage map points at page 29, which is not a usage bitmap page"},
        {"tdef_chain_loops", "delColTestV2000.mdb",
         [](Bytes& b) { putU32(b, pageStart(kDelColTdef) + layout::kTdefNextPage, kDelColTdef); },
         "table definition chain loops back to page 24 (table Table1, TDEF page 24)"},
        {"tdef_column_count_absurd", "delColTestV2000.mdb",
         [](Bytes& b) { putU16(b, pageStart(kDelColTdef) + layout::kTdefColumnCount, 0xFFFF); },
         "table definition ends inside its column descriptors (table Table1, TDEF page 24)"},
        {"tdef_index_count_absurd", "delColTestV2000.mdb",
         [](Bytes& b) {
             putU32(b, pageStart(kDelColTdef) + layout::kTdefRealIndexCount, 0x7FFFFFFF);
         },
         "table definition ends inside its index statistics (table Table1, TDEF page 24)"},
        {"catalogue_tdef_not_a_tdef", "delColTestV2000.mdb",
         [](Bytes& b) { b[pageStart(layout::kMSysObjectsTdefPage)] = layout::kPageData; },
         "page 2 is not a table definition page (type 0x1, table MSysObjects, TDEF page 2)"},
        {"long_value_chain_loops", "V2000_with-password.mdb",
         [](Bytes& b) {
             const std::size_t at = findDescriptor(b, u"MSysNameMap", u"NameMap", Kind::chain);
             // Long enough that the loop is met before the length is reached.
             putU32(b, at, getU32(b, at) + 5000);
             const std::uint32_t first = getU32(b, at + layout::kLongValuePointer);
             putU32(b, rowAt(b, first >> 8, first & 0xFF), first);
         },
         "long value chain loops back to page 27 row 0"},
        {"long_value_chain_shorter_than_length", "V2000_with-password.mdb",
         [](Bytes& b) {
             const std::size_t at = findDescriptor(b, u"MSysNameMap", u"NameMap", Kind::chain);
             putU32(b, at, getU32(b, at) + 5000);
         },
         "long value chain ends after 194 of 5194 bytes (column NameMap, page 28, row 0, table "
         "MSysNameMap)"},
        {"long_value_chain_longer_than_length", "V2000_with-password.mdb",
         [](Bytes& b) {
             // The first row holds the whole value; give it a next row all the same.
             const std::size_t at = findDescriptor(b, u"MSysNameMap", u"NameMap", Kind::chain);
             const std::uint32_t first = getU32(b, at + layout::kLongValuePointer);
             putU32(b, rowAt(b, first >> 8, first & 0xFF), first);
         },
         "long value chain runs on past its length of 194 bytes (page 27"},
        {"single_row_value_longer_than_its_row", "V2000_with-password.mdb",
         [](Bytes& b) {
             const std::size_t at = findDescriptor(b, u"MSysObjects", u"LvProp", Kind::singleRow);
             putU32(b, at, layout::kLongValueSingleRow | 4000);
         },
         "long value claims 4000 bytes but its row on page"},
        {"long_value_on_a_table_page", "V2000_with-password.mdb",
         [](Bytes& b) {
             const std::size_t at = findDescriptor(b, u"MSysObjects", u"LvProp", Kind::singleRow);
             putU32(b, at + layout::kLongValuePointer, 17u << 8);
         },
         "long value points at page 17, which is not a long-value page"},
        {"long_value_length_beyond_the_file", "V2000_with-password.mdb",
         [](Bytes& b) {
             const std::size_t at = findDescriptor(b, u"MSysNameMap", u"NameMap", Kind::chain);
             putU32(b, at, layout::kLongValueLengthMask);
         },
         "long value claims 1073741823 bytes, more than the file holds"},
        {"inline_value_longer_than_its_field", "fixedNumericTestV2000.mdb",
         [](Bytes& b) {
             const std::size_t at = findDescriptor(b, u"test", u"col1", Kind::inlineData);
             putU32(b, at, layout::kLongValueInline | 200);
         },
         "inline long value claims 200 bytes but holds 11"},
    };
    return cases;
}

class DamagedFileTest : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedFileTest, EndsInAClearError) {
    Bytes bytes = fileBytes(GetParam().file);
    GetParam().patch(bytes);
    auto database = kelvora::test::openBytesIgnoringPassword(std::move(bytes), GetParam().file);
    std::string error;
    if (!database.ok()) {
        EXPECT_EQ(database.status().code(), jet::StatusCode::corrupt);
        error = database.status().message();
    } else {
        const auto outcome = kelvora::test::readEverything(**database);
        ASSERT_GT(outcome.failures, 0u) << "the damage went unnoticed";
        error = outcome.firstError;
    }
    EXPECT_NE(error.find(GetParam().error), std::string::npos) << "error: " << error;
}

INSTANTIATE_TEST_SUITE_P(Patched, DamagedFileTest, ::testing::ValuesIn(damageCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
