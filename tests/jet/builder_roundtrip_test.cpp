// Files made by jet::createDatabase, read back by mdbtools, mdb-reader and the engine's reader;
// the storage choices (inline / LVAL row / chain, compressed text) checked in the bytes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "build/file_builder.h"
#include "build_test_support.h"
#include "jet/builder.h"
#include "jet_file_inspector.h"

namespace {

using namespace jet;
using kelvora::test::JetFileInspector;
using kelvora::test::ScratchFolder;

std::u16string repeat(std::u16string_view unit, std::size_t count) {
    std::u16string out;
    out.reserve(unit.size() * count);
    for (std::size_t i = 0; i < count; ++i) out += unit;
    return out;
}

std::vector<std::string> names(const TableSpec& table) {
    std::vector<std::string> out;
    for (const ColumnSpec& column : table.columns) out.push_back(toUtf8(column.name));
    return out;
}

void buildOrFail(const std::filesystem::path& file, const DatabaseSpec& spec,
                 const build::BuildOptions& options = {}) {
    const Status status = build::createDatabase(file, spec, options);
    ASSERT_TRUE(status.ok()) << status.message();
}

void expectSoundStructure(const std::filesystem::path& file) {
    for (const std::string& problem : JetFileInspector(file).structureProblems())
        ADD_FAILURE() << problem;
}

// ---- every value kind, nulls included

TEST(BuilderRoundTrip, EveryValueKindReadsBackInEveryReader) {
    TableSpec table;
    table.name = u"kinds";
    table.columns = {{u"flag", ColumnType::boolean},     {u"tiny", ColumnType::byte},
                     {u"small", ColumnType::integer},    {u"whole", ColumnType::longInteger},
                     {u"money", ColumnType::currency},   {u"ratio", ColumnType::single},
                     {u"real", ColumnType::doubleFloat}, {u"moment", ColumnType::dateTime},
                     {u"id", ColumnType::guid},          {u"raw", ColumnType::binary},
                     {u"title", ColumnType::text, 40},   {u"body", ColumnType::memo}};
    const Guid guid{{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D,
                     0x0E, 0x0F, 0xF0}};
    table.rows = {
        // lower limits
        {false, std::int64_t{0}, std::int64_t{-32768}, std::int64_t{-2147483648LL}, Currency{-5},
         -2.25f, -0.5, DateTime{0.0}, guid, std::vector<std::uint8_t>{0x01}, std::u16string(u"a"),
         std::u16string(u"b")},
        // upper limits
        {true, std::int64_t{255}, std::int64_t{32767}, std::int64_t{2147483647}, Currency{12345},
         1.5f, 1e300, DateTime{73050.5}, guid, std::vector<std::uint8_t>(510, 0xAB),
         repeat(u"z", 40), repeat(u"y", 64)},
        // ordinary values, Persian text
        {true, std::int64_t{7}, std::int64_t{-1}, std::int64_t{123456}, Currency{10000}, 0.25f,
         3.25, DateTime{45000.75}, guid, std::vector<std::uint8_t>{0xDE, 0xAD},
         std::u16string(u"پرسش ۱۲"), std::u16string(u"پاسخ کوتاه")},
        // every nullable column null (a Yes/No column cannot be)
        {false, Null{}, Null{}, Null{}, Null{}, Null{}, Null{}, Null{}, Null{}, Null{}, Null{},
         Null{}},
    };
    DatabaseSpec spec;
    spec.tables = {table};
    ScratchFolder folder;
    const auto file = folder.file("kinds.mdb");
    buildOrFail(file, spec);
    kelvora::test::expectTableEverywhere(file, "kinds", names(table), table.rows);
    expectSoundStructure(file);
}

// ---- memo storage kinds at each threshold

struct MemoCase {
    const char* name;
    Value value;
    std::uint32_t kind;                            // descriptor bits 30-31; ignored for null
    std::size_t storedLength;                      // bytes as stored
    enum Form { plain, compressed, either } form;  // stored form starts with FF FE or not
};

std::uint32_t kindOf(std::uint32_t lengthAndKind) {
    return lengthAndKind & 0xC0000000u;
}

TEST(BuilderRoundTrip, MemoStorageFollowsPayloadSize) {
    constexpr std::uint32_t kInline = 0x80000000u, kSingle = 0x40000000u, kChain = 0;
    const std::vector<MemoCase> cases = {
        {"null memo has no descriptor", Null{}, 0, 0, MemoCase::plain},
        {"empty memo is a zero-length inline descriptor", std::u16string(), kInline, 0,
         MemoCase::plain},
        {"one Latin letter stays plain: compressing would add a byte", std::u16string(u"a"),
         kInline, 2, MemoCase::plain},
        {"two Latin letters stay plain: no saving either", std::u16string(u"ab"), kInline, 4,
         MemoCase::plain},
        {"three Latin letters compress", std::u16string(u"abc"), kInline, 5, MemoCase::compressed},
        {"32 Persian letters (64 bytes) stay inline", repeat(u"س", 32), kInline, 64,
         MemoCase::plain},
        {"33 Persian letters (66 bytes) take an LVAL row", repeat(u"س", 33), kSingle, 66,
         MemoCase::plain},
        {"62 Latin letters compress to 64 bytes, inline", repeat(u"q", 62), kInline, 64,
         MemoCase::compressed},
        {"63 Latin letters compress to 65 bytes, an LVAL row", repeat(u"q", 63), kSingle, 65,
         MemoCase::compressed},
        {"1908 Persian letters (3816 bytes) are the largest single row", repeat(u"ش", 1908),
         kSingle, 3816, MemoCase::plain},
        {"1909 Persian letters (3818 bytes) become a chain", repeat(u"ش", 1909), kChain, 3818,
         MemoCase::plain},
        {"3814 Latin letters compress to 3816 bytes, one row", repeat(u"w", 3814), kSingle, 3816,
         MemoCase::compressed},
        {"3815 Latin letters would compress past 3816: a plain chain", repeat(u"w", 3815), kChain,
         7630, MemoCase::plain},
        {"mixed Latin and Persian, short: inline",
         std::u16string(u"Jet 4 و متن فارسی with digits 2024"), kInline, 0, MemoCase::either},
        {"a 1 MB chain over many pages", repeat(u"کلمه ", 100000), kChain, 1000000,
         MemoCase::plain},
    };
    TableSpec table;
    table.name = u"memos";
    table.columns = {{u"n", ColumnType::longInteger}, {u"body", ColumnType::memo}};
    for (std::size_t i = 0; i < cases.size(); ++i)
        table.rows.push_back({std::int64_t(i + 1), cases[i].value});
    DatabaseSpec spec;
    spec.tables = {table};
    ScratchFolder folder;
    const auto file = folder.file("memos.mdb");
    buildOrFail(file, spec);

    kelvora::test::expectTableEverywhere(file, "memos", names(table), table.rows);
    expectSoundStructure(file);

    const JetFileInspector inspect(file);
    const auto page = inspect.tablePage(u"memos");
    ASSERT_TRUE(page.has_value());
    const auto tdef = inspect.tdef(*page);
    const auto rows = inspect.tableRows(*page);
    ASSERT_EQ(rows.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const MemoCase& c = cases[i];
        SCOPED_TRACE(c.name);
        const auto cell = inspect.cell(tdef, rows[i], *tdef.column(u"body"));
        if (isNull(c.value)) {
            EXPECT_FALSE(cell.has_value());
            continue;
        }
        ASSERT_TRUE(cell.has_value());
        ASSERT_GE(cell->size(), 12u);
        const std::uint32_t word = kelvora::test::getU32(*cell, 0);
        EXPECT_EQ(kindOf(word), c.kind);
        const std::size_t length = word & 0x3FFFFFFFu;
        if (c.storedLength != 0 || c.kind != kInline) {
            EXPECT_EQ(length, c.storedLength);
        }
        EXPECT_EQ(kelvora::test::getU32(*cell, 8), 0u) << "chain stamp";
        std::vector<std::uint8_t> start;
        if (kindOf(word) == kInline) {
            EXPECT_EQ(cell->size(), 12 + length);
            start.assign(cell->begin() + 12, cell->end());
        } else {
            const auto lval = inspect.rowAt(kelvora::test::getU32(*cell, 4));
            EXPECT_EQ(inspect.u32(lval.page * JetFileInspector::kPage + 4), 0x4C41564Cu)
                << "LVAL owner";
            if (kindOf(word) == kSingle) {
                EXPECT_EQ(lval.size, length);
            } else {
                EXPECT_EQ(lval.size, 4 + std::min<std::size_t>(length, 4072))
                    << "chunks are filled in order";
            }
            start = inspect.bytes(lval.start + (kindOf(word) == kChain ? 4 : 0), 2);
        }
        if (length >= 2 && c.form != MemoCase::either) {
            EXPECT_EQ(start[0] == 0xFF && start[1] == 0xFE, c.form == MemoCase::compressed);
        }
    }
}

// ---- text: compressed where it pays, plain otherwise

TEST(BuilderRoundTrip, TextIsCompressedOnlyWhereAllowedAndShorter) {
    struct TextCase {
        const char* name;
        std::u16string text;
        bool compressedInCompressibleColumn;
    };
    const std::vector<TextCase> cases = {
        {"Latin compresses", u"Hello, world", true},
        {"ASCII digits compress", u"0123456789", true},
        {"Persian stays plain", u"سلام بر شما", false},
        {"Persian digits stay plain", u"۱۲۳۴", false},
        {"mostly Latin with a Persian word compresses", u"The word کتاب means book in Persian",
         true},
        {"mostly Persian with a Latin letter stays plain", u"این متن فارسی است A", false},
        {"255 Latin letters", repeat(u"L", 255), true},
        {"255 Persian letters", repeat(u"پ", 255), false},
    };
    TableSpec table;
    table.name = u"texts";
    table.columns = {{u"packed", ColumnType::text, 255, true},
                     {u"plain", ColumnType::text, 255, false}};
    for (const TextCase& c : cases) table.rows.push_back({c.text, c.text});
    DatabaseSpec spec;
    spec.tables = {table};
    ScratchFolder folder;
    const auto file = folder.file("texts.mdb");
    buildOrFail(file, spec);
    kelvora::test::expectTableEverywhere(file, "texts", names(table), table.rows);

    const JetFileInspector inspect(file);
    const auto tdef = inspect.tdef(*inspect.tablePage(u"texts"));
    EXPECT_EQ(tdef.column(u"packed")->extendedFlags, 0x01);
    EXPECT_EQ(tdef.column(u"plain")->extendedFlags, 0x00);
    const auto rows = inspect.tableRows(tdef.pages.front());
    ASSERT_EQ(rows.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        const auto packed = *inspect.cell(tdef, rows[i], *tdef.column(u"packed"));
        const auto plain = *inspect.cell(tdef, rows[i], *tdef.column(u"plain"));
        EXPECT_EQ(packed.size() >= 2 && packed[0] == 0xFF && packed[1] == 0xFE,
                  cases[i].compressedInCompressibleColumn);
        EXPECT_LE(packed.size(), 2 * cases[i].text.size());
        EXPECT_EQ(plain.size(), 2 * cases[i].text.size());
    }
}

// ---- table sizes: empty, several pages, and usage maps in both forms

DatabaseSpec manyRowsSpec(std::size_t rowCount) {
    TableSpec table;
    table.name = u"many";
    table.columns = {{u"n", ColumnType::longInteger},
                     {u"kholase", ColumnType::text, 255, true},
                     {u"pasokh", ColumnType::memo}};
    for (std::size_t i = 0; i < rowCount; ++i) {
        const std::u16string number = fromUtf8(std::to_string(i + 1));
        table.rows.push_back({std::int64_t(i + 1), u"عنوان " + number,
                              i % 3 == 0 ? Value(repeat(u"پاسخ ", 20) + number) : Value(Null{})});
    }
    TableSpec empty;
    empty.name = u"empty";
    empty.columns = {{u"kholase", ColumnType::text, 255, true}, {u"porsesh", ColumnType::memo}};
    DatabaseSpec spec;
    spec.tables = {table, empty};
    return spec;
}

TEST(BuilderRoundTrip, ThreeThousandRowsSpanSeveralPagesAndMapEntries) {
    struct MapCase {
        const char* name;
        std::size_t maxInlineBitmap;
        bool referenceMaps;
    };
    const MapCase cases[] = {
        {"inline usage maps", build::kMaxInlineBitmapSize, false},
        {"reference usage maps with bitmap pages", 0, true},
    };
    const DatabaseSpec spec = manyRowsSpec(3000);
    for (const MapCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const auto file = folder.file("many.mdb");
        buildOrFail(file, spec, {c.maxInlineBitmap});
        kelvora::test::expectTableEverywhere(file, "many", names(spec.tables[0]),
                                             spec.tables[0].rows);
        kelvora::test::expectTableEverywhere(file, "empty", names(spec.tables[1]), {});
        expectSoundStructure(file);

        const JetFileInspector inspect(file);
        const auto tdef = inspect.tdef(*inspect.tablePage(u"many"));
        EXPECT_EQ(tdef.rowCount, 3000u);
        EXPECT_GT(inspect.mapPages(tdef.ownedMap).size(), 10u)
            << "rows spread over several data pages";
        EXPECT_EQ(inspect.isReferenceMap(tdef.ownedMap), c.referenceMaps);
        EXPECT_EQ(inspect.mapPages(tdef.freeSpaceMap).size(), 1u)
            << "only the tail page takes new rows";
        ASSERT_EQ(tdef.longValueMaps.size(), 1u);
        EXPECT_FALSE(inspect.mapPages(tdef.longValueMaps[0].owned).empty());
    }
}

// ---- a table definition longer than one page

TEST(BuilderRoundTrip, WideTableDefinitionSpansSeveralPages) {
    TableSpec table;
    table.name = u"wide";
    std::vector<Value> row;
    for (int i = 0; i < 200; ++i) {
        std::u16string name = fromUtf8("column_" + std::to_string(i) + "_");
        name += repeat(u"x", 64 - name.size());
        table.columns.push_back({name, i % 2 == 0 ? ColumnType::longInteger : ColumnType::text, 4});
        row.push_back(i % 2 == 0 ? Value(std::int64_t(i)) : Value(fromUtf8(std::to_string(i))));
    }
    table.rows = {row};
    DatabaseSpec spec;
    spec.tables = {table};
    ScratchFolder folder;
    const auto file = folder.file("wide.mdb");
    buildOrFail(file, spec);
    const JetFileInspector inspect(file);
    const auto tdef = inspect.tdef(*inspect.tablePage(u"wide"));
    EXPECT_GE(tdef.pages.size(), 7u);
    EXPECT_EQ(tdef.columns.size(), 200u);
    EXPECT_EQ(tdef.columns.back().name, table.columns.back().name);
    kelvora::test::expectTableEverywhere(file, "wide", names(table), table.rows);
    expectSoundStructure(file);
}

// ---- rows streamed from a source

TEST(BuilderRoundTrip, RowsFromASourceMatchRowsGivenInFull) {
    DatabaseSpec listed = manyRowsSpec(600);
    DatabaseSpec streamed = listed;
    std::size_t next = 0;
    const auto rows = listed.tables[0].rows;
    streamed.tables[0].rows.clear();
    streamed.tables[0].source = [&](std::vector<Value>& row) {
        if (next == rows.size()) return false;
        row = rows[next++];
        return true;
    };
    ScratchFolder folder;
    buildOrFail(folder.file("listed.mdb"), listed);
    buildOrFail(folder.file("streamed.mdb"), streamed);
    EXPECT_EQ(kelvora::test::readFileBytes(folder.file("listed.mdb")),
              kelvora::test::readFileBytes(folder.file("streamed.mdb")));
}

}  // namespace
