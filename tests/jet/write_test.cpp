// Updates, inserts and deletes on files our builder made and on files Access made, each step
// read back by mdb-export, mdb-reader and our reader and checked byte by byte (free-space
// counters, row counts, owned maps, the global map), plus the slot flags and storage kinds each
// case is about.

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "build/file_builder.h"
#include "write_test_support.h"

namespace {

using namespace jet;
using namespace kelvora::test;

// A table file and the rows it should hold, checked after every step.
struct Scene {
    ScratchFolder folder;
    std::filesystem::path file = folder.file("data.mdb");
    std::string table;
    std::vector<std::string> columns = collectionColumns();
    std::vector<Row> rows;
    std::uint32_t firstNewPage = 0;
    std::vector<std::uint8_t> header;  // page 0 as it was: writes never touch it

    void remember() {
        firstNewPage = pageCountOf(file);
        const auto bytes = readFileBytes(file);
        header.assign(bytes.begin(), bytes.begin() + 4096);
    }

    void built(const DatabaseSpec& spec, const std::string& tableName,
               const build::BuildOptions& options = {}) {
        const Status status = build::createDatabase(file, spec, options);
        if (!status.ok()) throw std::runtime_error(status.message());
        table = tableName;
        for (const TableSpec& t : spec.tables)
            if (toUtf8(t.name) == tableName) rows = t.rows;
        remember();
    }
    Editor editor() { return Editor(file, fromUtf8(table)); }
    Row& row(const Value& title) {
        for (Row& row : rows)
            if (row[0] == title) return row;
        throw std::runtime_error("no such row in the model");
    }
    void check(const std::string& step) {
        SCOPED_TRACE(step);
        expectConsistentFile(file, firstNewPage);
        const auto bytes = readFileBytes(file);
        EXPECT_TRUE(std::equal(header.begin(), header.end(), bytes.begin()))
            << "page 0 (commit slots included) changed";
        expectRowsEverywhere(file, table, columns, rows);
    }
};

Row titled(std::u16string title) {
    return record(std::move(title), Null{}, Null{});
}

DatabaseSpec collectionSpec() {
    DatabaseSpec spec;
    spec.tables.push_back(collectionTable(
        u"ejaz", {record(u"نخست", persian(10), persian(500)),
                  record(u"دوم", persian(40, 3), persian(3000, 5), std::u16string()),
                  record(persian(255, 1), u"پرسش", u"پاسخ", u"پاورقی")}));
    // One data page left with 366 bytes: seven 525-byte rows and one short one.
    std::vector<Row> full;
    for (std::size_t i = 0; i < 7; ++i) full.push_back(titled(persian(255, i)));
    full.push_back(titled(u"کوتاه"));
    spec.tables.push_back(collectionTable(u"por", full));
    spec.tables.push_back(collectionTable(u"khali", {}));
    return spec;
}

// The storage kind of a memo as the row stores it: 0x80 inline, 0x40 one LVAL row, 0x00 chain.
std::uint8_t memoKind(const std::filesystem::path& file, const std::string& table,
                      const Value& title, const std::u16string& column) {
    const JetFileInspector inspector(file);
    const auto tdefPage = inspector.tablePage(fromUtf8(table));
    const auto tdef = inspector.tdef(*tdefPage);
    Editor editor(file, fromUtf8(table), Database::Mode::readOnly);
    const ResultSet rows = editor.snapshot();
    const RowLocation location = rows.location(Editor::find(rows, title));
    auto ref = inspector.row(location.pageNumber, location.rowIndex);
    if (slotWord(file, location) & 0x4000) ref = inspector.rowAt(inspector.u32(ref.start));
    const auto cell = inspector.cell(tdef, ref, *tdef.column(column));
    if (!cell) return 0xFF;
    return cell->at(3) & 0xC0;
}

using Steps = std::function<void(Scene&)>;

struct WriteCase {
    const char* name;
    Steps run;
};

void expectOk(const Status& status) {
    ASSERT_TRUE(status.ok()) << status.message();
}

const WriteCase kBuiltCases[] = {
    {"shorter_title_is_rewritten_in_place",
     [](Scene& s) {
         Editor editor = s.editor();
         const RowLocation before = editor.locate(kFirst);
         const auto slotsBefore = JetFileInspector(s.file).u16(before.pageNumber * 4096 + 12);
         expectOk(editor.update(kFirst, {{0, Value(std::u16string(u"ن"))}}));
         s.row(kFirst)[0] = Value(std::u16string(u"ن"));
         const RowLocation after = editor.locate(Value(std::u16string(u"ن")));
         EXPECT_EQ(after, before);
         EXPECT_EQ(slotWord(s.file, after) & 0xC000, 0) << "slot flags";
         EXPECT_EQ(JetFileInspector(s.file).u16(before.pageNumber * 4096 + 12), slotsBefore)
             << "an in-place update adds no slot";
         s.check("shorter title");
         expectOk(
             editor.update(Value(std::u16string(u"ن")), {{0, Value(std::u16string(u"نخسط"))}}));
         s.row(Value(std::u16string(u"ن")))[0] = Value(std::u16string(u"نخسط"));
         EXPECT_EQ(slotWord(s.file, before) & 0xC000, 0)
             << "growing back into the padding stays in place";
         s.check("title back to its old length");
     }},
    {"longer_title_moves_the_row_then_moves_again_then_shrinks_in_place",
     [](Scene& s) {
         s.table = "por";
         s.rows = collectionSpec().tables[1].rows;
         Editor editor = s.editor();
         const RowLocation home = editor.locate(kShort);
         const std::u16string longer = u"کوتاه نیست";
         expectOk(editor.update(kShort, {{0, Value(longer)}}));
         s.row(kShort)[0] = Value(longer);
         EXPECT_EQ(editor.locate(Value(longer)), home) << "a moved record keeps its location";
         const JetFileInspector first(s.file);
         EXPECT_EQ(slotWord(s.file, home) & 0xC000, 0x4000) << "original slot forwards";
         const std::uint32_t target = first.u32(first.row(home.pageNumber, home.rowIndex).start);
         EXPECT_EQ(target >> 8, home.pageNumber) << "room on its own page";
         EXPECT_EQ(slotWord(s.file, {target >> 8, static_cast<std::uint8_t>(target)}) & 0xC000,
                   0x8000);
         s.check("first move");

         const std::u16string longest = persian(255, 9);
         expectOk(editor.update(Value(longer), {{0, Value(longest)}, {2, Value(persian(4000))}}));
         s.row(Value(longer))[0] = Value(longest);
         s.row(Value(longest))[2] = Value(persian(4000));
         const JetFileInspector second(s.file);
         const std::uint32_t newest = second.u32(second.row(home.pageNumber, home.rowIndex).start);
         EXPECT_NE(newest >> 8, home.pageNumber) << "no room left on the page: a new page";
         EXPECT_EQ(slotWord(s.file, {target >> 8, static_cast<std::uint8_t>(target)}) & 0xC000,
                   0xC000)
             << "the first target is marked deleted";
         s.check("second move");

         expectOk(editor.update(Value(longest), {{0, Value(std::u16string(u"باز کوتاه"))}}));
         s.row(Value(longest))[0] = Value(std::u16string(u"باز کوتاه"));
         const JetFileInspector third(s.file);
         EXPECT_EQ(third.u32(third.row(home.pageNumber, home.rowIndex).start), newest)
             << "a record that fits its target is rewritten there";
         s.check("shrunk in place at the target");
     }},
    {"memo_through_every_storage_kind_and_back",
     [](Scene& s) {
         Editor editor = s.editor();
         struct Step {
             std::size_t characters;  // 0 with null = true: Null
             bool null;
             std::uint8_t kind;
         };
         const Step steps[] = {{32, false, 0x80},   {33, false, 0x40},   {1908, false, 0x40},
                               {1909, false, 0x00}, {5000, false, 0x00}, {1000, false, 0x40},
                               {10, false, 0x80},   {0, false, 0x80},    {0, true, 0xFF}};
         for (const Step& step : steps) {
             const Value value =
                 step.null ? Value(Null{}) : Value(persian(step.characters, step.characters));
             expectOk(editor.update(kFirst, {{1, value}}));
             s.row(kFirst)[1] = value;
             const std::string name =
                 "porsesh of " + std::to_string(step.characters) + " characters";
             EXPECT_EQ(memoKind(s.file, s.table, kFirst, u"porsesh"), step.kind) << name;
             s.check(name);
         }
     }},
    {"snapshot_taken_before_a_memo_change_still_reads_the_old_value",
     [](Scene& s) {
         Editor editor = s.editor();
         const ResultSet before = editor.snapshot();
         const std::size_t i = Editor::find(before, kSecond);
         expectOk(editor.update(kSecond, {{2, Value(persian(2500, 11))}, {1, Value(persian(20))}}));
         s.row(kSecond)[2] = Value(persian(2500, 11));
         s.row(kSecond)[1] = Value(persian(20));
         auto old = before.value(i, 2);
         ASSERT_TRUE(old.ok()) << old.status().message();
         EXPECT_EQ(*old, Value(persian(3000, 5)));
         s.check("answer replaced");
     }},
    {"insert_into_a_page_with_room",
     [](Scene& s) {
         Editor editor = s.editor();
         const RowLocation existing = editor.locate(kFirst);
         const Row added = record(u"سوم", persian(5), persian(2000), persian(70));
         auto location = editor.insert(added);
         ASSERT_TRUE(location.ok()) << location.status().message();
         EXPECT_EQ(location->pageNumber, existing.pageNumber);
         s.rows.push_back(added);
         s.check("insert");
     }},
    {"insert_into_a_full_page_opens_a_data_page_and_a_memo_page",
     [](Scene& s) {
         s.table = "por";
         s.rows = collectionSpec().tables[1].rows;
         Editor editor = s.editor();
         const RowLocation existing = editor.locate(kShort);
         const Row added = record(persian(255, 20), persian(3), persian(6000, 2), Null{});
         auto location = editor.insert(added);
         ASSERT_TRUE(location.ok()) << location.status().message();
         EXPECT_GE(location->pageNumber, s.firstNewPage) << "a new page at the end of the file";
         const JetFileInspector inspector(s.file);
         const auto tdef = inspector.tdef(*inspector.tablePage(u"por"));
         const auto freePages = inspector.mapPages(tdef.freeSpaceMap);
         EXPECT_EQ(freePages, std::vector<std::uint32_t>{location->pageNumber})
             << "the full page left the free-space map, the new one joined it";
         EXPECT_NE(existing.pageNumber, location->pageNumber);
         s.rows.push_back(added);
         s.check("insert");
     }},
    {"insert_into_an_empty_table",
     [](Scene& s) {
         s.table = "khali";
         s.rows.clear();
         Editor editor = s.editor();
         for (std::size_t i = 0; i < 3; ++i) {
             const Row added = record(persian(3 + i), persian(100 * i), Null{}, std::u16string());
             auto location = editor.insert(added);
             ASSERT_TRUE(location.ok()) << location.status().message();
             EXPECT_EQ(location->rowIndex, i);
             s.rows.push_back(added);
         }
         s.check("three inserts");
     }},
    {"delete_marks_the_slot_and_counts_one_row_less",
     [](Scene& s) {
         Editor editor = s.editor();
         const RowLocation gone = editor.locate(kSecond);
         expectOk(editor.remove(kSecond));
         EXPECT_EQ(slotWord(s.file, gone) & 0xC000, 0xC000);
         s.rows.erase(s.rows.begin() + 1);
         s.check("delete");
         auto again = editor.database().deleteRow(u"ejaz", gone, 0);
         EXPECT_EQ(again.code(), StatusCode::conflict) << again.message();
     }},
    {"delete_a_moved_row",
     [](Scene& s) {
         s.table = "por";
         s.rows = collectionSpec().tables[1].rows;
         Editor editor = s.editor();
         const Value longer = Value(persian(200, 4));
         expectOk(editor.update(kShort, {{0, longer}}));
         expectOk(editor.remove(longer));
         s.rows.pop_back();
         s.check("moved then deleted");
     }},
};

// gtest names the case instead of dumping its bytes.
void PrintTo(const WriteCase& c, std::ostream* out) {
    *out << c.name;
}

class BuiltFileWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(BuiltFileWrite, EveryReaderSeesTheChange) {
    Scene scene;
    scene.built(collectionSpec(), "ejaz");
    GetParam().run(scene);
}

INSTANTIATE_TEST_SUITE_P(Cases, BuiltFileWrite, ::testing::ValuesIn(kBuiltCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A file past the 512 pages a default map row covers: a small table whose only page is full,
// behind a filler table of chained memos.
DatabaseSpec largeSpec() {
    DatabaseSpec spec;
    std::vector<Row> full;
    for (std::size_t i = 0; i < 7; ++i) full.push_back(titled(persian(255, i)));
    spec.tables.push_back(collectionTable(u"kam", full));
    std::vector<Row> filler;
    for (std::size_t i = 0; i < 270; ++i)
        filler.push_back(record(persian(5, i), Null{}, persian(4000, i)));
    spec.tables.push_back(collectionTable(u"anbuh", filler));
    return spec;
}

TEST(UsageMapGrowth, InsertsPastTheMapWindowGrowTheMapRowsAndThePageOneMap) {
    Scene scene;
    scene.built(largeSpec(), "kam");
    ASSERT_GT(scene.firstNewPage, 520u);
    const JetFileInspector before(scene.file);
    const auto tdefBefore = before.tdef(*before.tablePage(u"kam"));
    const std::size_t ownedRowBefore = before.rowAt(tdefBefore.ownedMap).size;
    const std::size_t globalRowBefore = before.rowAt(1u << 8).size;

    Editor editor = scene.editor();
    for (std::size_t i = 0; i < 12; ++i) {
        const Row added = record(persian(255, 30 + i), Null{}, persian(6000, i));
        auto location = editor.insert(added);
        ASSERT_TRUE(location.ok()) << location.status().message();
        scene.rows.push_back(added);
    }
    const JetFileInspector after(scene.file);
    const auto tdef = after.tdef(*after.tablePage(u"kam"));
    EXPECT_GT(after.rowAt(tdef.ownedMap).size, ownedRowBefore) << "the owned map row grew";
    EXPECT_GT(after.rowAt(1u << 8).size, globalRowBefore) << "the global map row grew";
    for (const auto& lv : tdef.longValueMaps)
        for (std::uint32_t page : after.mapPages(lv.freeSpace)) EXPECT_GE(page, 512u);
    scene.check("twelve inserts past page 512");
}

TEST(UsageMapGrowth, ReferenceMapsTakeTheNewPages) {
    Scene scene;
    build::BuildOptions options;
    options.maxInlineBitmap = 4;  // every map with pages becomes a reference map
    scene.built(collectionSpec(), "ejaz", options);
    const JetFileInspector before(scene.file);
    ASSERT_TRUE(before.isReferenceMap(before.tdef(*before.tablePage(u"ejaz")).ownedMap));
    ASSERT_TRUE(before.isReferenceMap(1u << 8));

    Editor editor = scene.editor();
    for (std::size_t i = 0; i < 8; ++i) {
        const Row added = record(persian(255, 40 + i), persian(2000, i), persian(5000, i));
        auto location = editor.insert(added);
        ASSERT_TRUE(location.ok()) << location.status().message();
        scene.rows.push_back(added);
    }
    expectOk(editor.update(kFirst, {{0, Value(persian(250, 3))}}));
    scene.row(kFirst)[0] = Value(persian(250, 3));
    scene.check("inserts and a move with reference maps");
}

// Our builder makes no AutoNumber columns: the first column of a built table is made one by
// setting its flag and the table's last number in the table definition.
TEST(AutoNumber, InsertTakesTheNextNumberAndRefusesAGivenOne) {
    Scene scene;
    DatabaseSpec spec;
    TableSpec table;
    table.name = u"shomare";
    table.columns = {{u"id", ColumnType::longInteger}, {u"kholase", ColumnType::text, 255, true}};
    table.rows = {{Value(std::int64_t{41}), Value(std::u16string(u"اول"))}};
    spec.tables.push_back(table);
    scene.built(spec, "shomare");
    scene.columns = {"id", "kholase"};
    const std::uint32_t tdefPage = *JetFileInspector(scene.file).tablePage(u"shomare");
    {
        auto bytes = readFileBytes(scene.file);
        const std::size_t tdef = std::size_t{tdefPage} * 4096;
        bytes.at(tdef + 0x3F + 15) |= 0x04;  // first column descriptor: AutoNumber
        putU32(bytes, tdef + 0x14, 41);      // last number handed out
        std::ofstream(scene.file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    scene.remember();
    Editor editor = scene.editor();
    for (const char16_t* title : {u"دوم", u"سوم"}) {
        auto added = editor.insert({Null{}, Value(std::u16string(title))});
        ASSERT_TRUE(added.ok()) << added.status().message();
    }
    scene.rows.push_back({Value(std::int64_t{42}), Value(std::u16string(u"دوم"))});
    scene.rows.push_back({Value(std::int64_t{43}), Value(std::u16string(u"سوم"))});
    EXPECT_EQ(JetFileInspector(scene.file).u32(std::size_t{tdefPage} * 4096 + 0x14), 43u);
    scene.check("two numbered inserts");
    auto given = editor.insert({Value(std::int64_t{7}), Value(std::u16string(u"x"))});
    EXPECT_EQ(given.status().code(), StatusCode::invalidArgument);
    auto rows = editor.snapshot();
    const Status renumber = editor.database().updateRow(
        u"shomare", rows.location(0), rows.rowVersion(0), {{0, Value(std::int64_t{1})}});
    EXPECT_EQ(renumber.code(), StatusCode::invalidArgument) << renumber.message();
}

// ---- files Access made

TEST(AccessFileWrite, TextTableTakesEveryKindOfChange) {
    Scene scene;
    copyFixture("delTestV2000.mdb", scene.file);
    scene.remember();
    scene.table = "Table";
    scene.columns = {"a", "b"};
    const std::vector<Row> original = ownRows(scene.file, "Table", scene.columns);
    ASSERT_EQ(original.size(), 2u);
    scene.rows = original;
    Editor editor = scene.editor();
    const Value a0 = original[0][0];

    expectOk(editor.update(a0, {{1, Value(std::u16string(u"b"))}}));
    scene.row(a0)[1] = Value(std::u16string(u"b"));
    scene.check("shorter b");

    const Value longer = Value(std::u16string(u"a much longer value than before, moved"));
    const RowLocation home = editor.locate(a0);
    expectOk(editor.update(a0, {{0, longer}}));
    scene.row(a0)[0] = longer;
    EXPECT_EQ(slotWord(scene.file, home) & 0xC000, 0x4000);
    scene.check("longer a (moved)");

    auto added = editor.insert({Value(std::u16string(u"new a")), Null{}});
    ASSERT_TRUE(added.ok()) << added.status().message();
    scene.rows.push_back({Value(std::u16string(u"new a")), Null{}});
    scene.check("insert");

    expectOk(editor.remove(original[1][0]));
    scene.rows.erase(std::find(scene.rows.begin(), scene.rows.end(), original[1]));
    scene.check("delete");
}

TEST(AccessFileWrite, MemoBesideDecimalsChangesStorageKindAndKeepsTheDecimals) {
    Scene scene;
    copyFixture("fixedNumericTestV2000.mdb", scene.file);
    scene.remember();
    scene.table = "test";
    scene.columns = {"col1"};
    const std::vector<std::string> all = {"col1", "col2", "col3", "col4", "col5", "col6", "col7"};
    const std::vector<Row> original = ownRows(scene.file, "test", all);
    ASSERT_EQ(original.size(), 1u);
    Editor editor = scene.editor();
    const Value title = original[0][0];
    Value current = title;
    for (const std::size_t characters : {500, 3000, 12}) {
        const Value memo = Value(persian(characters));
        expectOk(editor.update(current, {{0, memo}}));
        current = memo;
        scene.rows = {{memo}};
        scene.check("memo of " + std::to_string(characters) + " characters");
        std::vector<Row> expected = original;
        expected[0][0] = memo;
        EXPECT_EQ(ownRows(scene.file, "test", all), expected) << "decimals kept";
    }
    Decimal pi;
    pi.magnitude = {31416, 0, 0, 0};
    pi.scale = std::get<Decimal>(original[0][1]).scale;
    Row added = {
        Value(std::u16string(u"added")), Value(pi), Null{}, Null{}, Null{}, Null{}, Null{}};
    auto location = editor.insert(added);
    ASSERT_TRUE(location.ok()) << location.status().message();
    scene.rows.push_back({added[0]});
    scene.check("insert with a decimal");
    const auto rows = ownRows(scene.file, "test", all);
    EXPECT_NE(std::find(rows.begin(), rows.end(), added), rows.end());
}

TEST(AccessFileWrite, IndexedTableAllowsOnlyChangesOfColumnsOutsideItsIndexes) {
    Scene scene;
    copyFixture("delColTestV2000.mdb", scene.file);
    scene.remember();
    scene.table = "Table1";
    scene.columns = {"id", "id2", "data", "data2"};
    scene.rows = ownRows(scene.file, "Table1", scene.columns);
    ASSERT_FALSE(scene.rows.empty());
    Editor editor = scene.editor();
    const ResultSet rows = editor.snapshot();
    const Value firstId = scene.rows[0][0];
    const std::size_t i = Editor::find(rows, firstId);
    const auto bytes = readFileBytes(scene.file);

    const Status indexed = editor.database().updateRow(
        u"Table1", rows.location(i), rows.rowVersion(i), {{0, Value(std::int64_t{99})}});
    EXPECT_EQ(indexed.code(), StatusCode::unsupported);
    EXPECT_NE(indexed.message().find("has indexes"), std::string::npos) << indexed.message();
    auto inserted = editor.insert({Value(std::int64_t{7}), Value(std::int64_t{8}), Null{}, Null{}});
    EXPECT_EQ(inserted.status().code(), StatusCode::unsupported);
    EXPECT_NE(inserted.status().message().find("\"Table1\" has indexes"), std::string::npos);
    const Status deleted =
        editor.database().deleteRow(u"Table1", rows.location(i), rows.rowVersion(i));
    EXPECT_EQ(deleted.code(), StatusCode::unsupported);
    EXPECT_EQ(readFileBytes(scene.file), bytes) << "a refused write changes nothing";

    const Value longer = Value(std::u16string(u"a value long enough to move the record"));
    expectOk(editor.database().updateRow(u"Table1", rows.location(i), rows.rowVersion(i),
                                         {{2, longer}}));
    scene.row(firstId)[2] = longer;
    EXPECT_EQ(slotWord(scene.file, rows.location(i)) & 0xC000, 0x4000)
        << "moved behind a pointer: the index entries still name the original slot";
    scene.check("non-indexed column moved");
    expectOk(editor.update(firstId, {{3, Value(std::u16string(u"x"))}}));
    scene.row(firstId)[3] = Value(std::u16string(u"x"));
    scene.check("second non-indexed column");
}

// ---- refusals

TEST(WriteRefusal, ChangedOrDeletedRecordIsAConflictAndWritesNothing) {
    Scene scene;
    scene.built(collectionSpec(), "ejaz");
    Editor mine = scene.editor();
    Editor theirs = scene.editor();
    const ResultSet snapshot = mine.snapshot();
    const std::size_t i = Editor::find(snapshot, kFirst);

    expectOk(theirs.update(kFirst, {{2, Value(std::u16string(u"their answer"))}}));
    const auto bytes = readFileBytes(scene.file);
    const Status update =
        mine.database().updateRow(u"ejaz", snapshot.location(i), snapshot.rowVersion(i),
                                  {{2, Value(std::u16string(u"my answer"))}});
    EXPECT_EQ(update.code(), StatusCode::conflict);
    EXPECT_NE(update.message().find("changed by another program since it was read"),
              std::string::npos)
        << update.message();
    const Status remove =
        mine.database().deleteRow(u"ejaz", snapshot.location(i), snapshot.rowVersion(i));
    EXPECT_EQ(remove.code(), StatusCode::conflict);
    EXPECT_EQ(readFileBytes(scene.file), bytes);

    const ResultSet fresh = mine.snapshot();
    const std::size_t j = Editor::find(fresh, kFirst);
    expectOk(theirs.remove(kFirst));
    const Status afterDelete = mine.database().updateRow(
        u"ejaz", fresh.location(j), fresh.rowVersion(j), {{2, Value(std::u16string(u"late"))}});
    EXPECT_EQ(afterDelete.code(), StatusCode::conflict);
    EXPECT_NE(afterDelete.message().find("deleted"), std::string::npos) << afterDelete.message();
}

// A writer keeps editing the same record: after each write it reads the record back, and the
// version it gets there is the one the next write needs, also once the record has moved.
TEST(ReadRow, GivesTheRecordAsWrittenWithTheVersionTheNextWriteExpects) {
    Scene scene;
    scene.built(collectionSpec(), "ejaz");
    Editor editor = scene.editor();
    const ResultSet snapshot = editor.snapshot();
    const std::size_t i = Editor::find(snapshot, kFirst);
    const RowLocation where = snapshot.location(i);

    const std::u16string longer(3000, u'پ');  // no longer fits the slot: the record moves
    expectOk(editor.database().updateRow(u"ejaz", where, snapshot.rowVersion(i),
                                         {{2, Value(longer)}}));
    auto row = editor.database().readRow(u"EJAZ", where);
    expectOk(row.status());
    ASSERT_EQ(row->rowCount(), 1u);
    EXPECT_EQ(row->location(0), where);
    EXPECT_EQ(row->tableName(), u"ejaz");
    EXPECT_EQ(*row->value(0, 0), kFirst);
    EXPECT_EQ(*row->value(0, 2), Value(longer));
    EXPECT_NE(row->rowVersion(0), snapshot.rowVersion(i));

    expectOk(editor.database().updateRow(u"ejaz", where, row->rowVersion(0),
                                         {{2, Value(std::u16string(u"short"))}}));
    auto again = editor.database().readRow(u"ejaz", where);
    expectOk(again.status());
    EXPECT_EQ(*again->value(0, 2), Value(std::u16string(u"short")));
    expectOk(editor.database().deleteRow(u"ejaz", where, again->rowVersion(0)));

    struct Missing {
        const char16_t* table;
        RowLocation row;
    };
    for (const Missing& missing : {Missing{u"ejaz", where}, Missing{u"ejaz", {1u << 20, 0}},
                                   Missing{u"ejaz", {1, 0}}, Missing{u"nosuch", where}})
        EXPECT_EQ(editor.database().readRow(missing.table, missing.row).status().code(),
                  StatusCode::notFound);
}

TEST(WriteRefusal, ReadOnlyOpenRefusesEveryWrite) {
    Scene scene;
    scene.built(collectionSpec(), "ejaz");
    Editor editor(scene.file, u"ejaz", Database::Mode::readOnly);
    const ResultSet rows = editor.snapshot();
    const auto bytes = readFileBytes(scene.file);
    const Status statuses[] = {
        editor.insert(record(u"x", Null{}, Null{})).status(),
        editor.database().updateRow(u"ejaz", rows.location(0), rows.rowVersion(0),
                                    {{0, Value(std::u16string(u"y"))}}),
        editor.database().deleteRow(u"ejaz", rows.location(0), rows.rowVersion(0)),
    };
    for (const Status& status : statuses) {
        EXPECT_EQ(status.code(), StatusCode::readOnly);
        EXPECT_NE(status.message().find(scene.file.string()), std::string::npos)
            << status.message();
    }
    EXPECT_EQ(readFileBytes(scene.file), bytes);
}

TEST(WriteRefusal, ValuesTheColumnsCannotHoldChangeNothing) {
    Scene scene;
    scene.built(collectionSpec(), "ejaz");
    Editor editor = scene.editor();
    const ResultSet rows = editor.snapshot();
    const auto bytes = readFileBytes(scene.file);
    struct Refusal {
        const char* name;
        std::function<Status()> write;
        StatusCode code;
    };
    const Refusal refusals[] = {
        {"number for a text column",
         [&] {
             return editor.insert({Value(std::int64_t{1}), Null{}, Null{}, Null{}}).status();
         },
         StatusCode::invalidArgument},
        {"text longer than its column",
         [&] { return editor.insert(record(persian(256), Null{}, Null{})).status(); },
         StatusCode::invalidArgument},
        {"wrong number of values",
         [&] { return editor.insert({Value(std::u16string(u"x"))}).status(); },
         StatusCode::invalidArgument},
        {"integer for a memo",
         [&] {
             return editor.database().updateRow(u"ejaz", rows.location(0), rows.rowVersion(0),
                                                {{1, Value(std::int64_t{5})}});
         },
         StatusCode::invalidArgument},
        {"column past the last",
         [&] {
             return editor.database().updateRow(u"ejaz", rows.location(0), rows.rowVersion(0),
                                                {{9, Null{}}});
         },
         StatusCode::invalidArgument},
        {"no such table", [&] { return editor.database().insertRow(u"nist", {}).status(); },
         StatusCode::notFound},
        {"no record at the location",
         [&] {
             return editor.database().deleteRow(u"ejaz", {rows.location(0).pageNumber, 200}, 0);
         },
         StatusCode::notFound},
        {"location on another table's page",
         [&] {
             return editor.database().deleteRow(u"khali", rows.location(0), rows.rowVersion(0));
         },
         StatusCode::notFound},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.name);
        const Status status = refusal.write();
        EXPECT_EQ(status.code(), refusal.code) << status.message();
        EXPECT_FALSE(status.message().empty());
    }
    EXPECT_EQ(readFileBytes(scene.file), bytes);
}

}  // namespace
