// Crash safety and locking: every write is cut at every one of its disk calls (failed, or
// stopped dead as a killed process would stop) and the file must come back as it was before the
// write or as it is after it, never in between; a real writing process is killed at random
// points; readers in another process never see a record half-written.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <random>

#include "faulty_file_io.h"
#include "write_test_support.h"

namespace {

using namespace jet;
using namespace kelvora::test;

Row titled(std::u16string title) {
    return record(std::move(title), Null{}, Null{});
}

DatabaseSpec baseSpec() {
    DatabaseSpec spec;
    spec.tables.push_back(collectionTable(
        u"ejaz", {record(u"نخست", persian(10), persian(500)),
                  record(u"دوم", persian(40, 3), persian(3000, 5), std::u16string())}));
    std::vector<Row> full;
    for (std::size_t i = 0; i < 7; ++i) full.push_back(titled(persian(255, i)));
    full.push_back(titled(u"کوتاه"));
    spec.tables.push_back(collectionTable(u"por", full));
    return spec;
}

std::vector<Row> tableRows(const std::string& name) {
    for (const TableSpec& table : baseSpec().tables)
        if (toUtf8(table.name) == name) return table.rows;
    return {};
}

Status writeTo(Database& database, const std::string& table, const Value& title,
               const std::function<Status(Database&, RowLocation, std::uint64_t)>& write) {
    auto rows = database.openByName(fromUtf8(table));
    if (!rows.ok()) return rows.status();
    const std::size_t i = Editor::find(*rows, title);
    return write(database, rows->location(i), rows->rowVersion(i));
}

struct FaultCase {
    const char* name;
    std::string table;
    std::function<Status(Database&)> write;
    std::vector<Row> after;  // the table once the write is done; before: as built
};

std::vector<FaultCase> faultCases() {
    std::vector<FaultCase> cases;
    {
        std::vector<Row> after = tableRows("ejaz");
        after[0][2] = Value(persian(3000, 7));
        cases.push_back(
            {"memo_update_on_new_long_value_pages", "ejaz",
             [](Database& db) {
                 return writeTo(
                     db, "ejaz", kFirst, [](Database& d, RowLocation at, std::uint64_t v) {
                         return d.updateRow(u"ejaz", at, v, {{2, Value(persian(3000, 7))}});
                     });
             },
             after});
    }
    {
        std::vector<Row> after = tableRows("por");
        const Row added = record(persian(255, 20), persian(3), persian(6000, 2));
        after.push_back(added);
        cases.push_back({"insert_on_a_new_data_page_and_new_memo_pages", "por",
                         [added](Database& db) { return db.insertRow(u"por", added).status(); },
                         after});
    }
    {
        std::vector<Row> after = tableRows("ejaz");
        after.erase(after.begin() + 1);
        cases.push_back({"delete", "ejaz",
                         [](Database& db) {
                             return writeTo(db, "ejaz", kSecond,
                                            [](Database& d, RowLocation at, std::uint64_t v) {
                                                return d.deleteRow(u"ejaz", at, v);
                                            });
                         },
                         after});
    }
    {
        std::vector<Row> after = tableRows("por");
        after.back()[0] = Value(persian(255, 9));
        cases.push_back(
            {"update_that_moves_the_row", "por",
             [](Database& db) {
                 return writeTo(
                     db, "por", kShort, [](Database& d, RowLocation at, std::uint64_t v) {
                         return d.updateRow(u"por", at, v, {{0, Value(persian(255, 9))}});
                     });
             },
             after});
    }
    return cases;
}

bool sameRows(std::vector<Row> got, const std::vector<Row>& expected) {
    if (got.size() != expected.size()) return false;
    for (const Row& row : expected) {
        const auto it = std::find(got.begin(), got.end(), row);
        if (it == got.end()) return false;
        got.erase(it);
    }
    return true;
}

enum class State { before, after, neither };

// Opens the file with the real I/O (which rolls back a journal left behind), then checks that
// our reader, mdb-export and the byte-level checks agree, and says which state the table is in.
State recoveredState(const std::filesystem::path& file, const std::string& table,
                     const std::vector<Row>& before, const std::vector<Row>& after) {
    {
        auto database = Database::open(file, Database::Mode::readWrite);
        EXPECT_TRUE(database.ok()) << database.status().message();
        if (!database.ok()) return State::neither;
    }
    EXPECT_FALSE(std::filesystem::exists(file.string() + "-journal"))
        << "the journal is gone after an open";
    for (const std::string& problem : JetFileInspector(file).structureProblems())
        ADD_FAILURE() << problem;
    const std::vector<Row> rows = ownRows(file, table, collectionColumns());
    const State state = sameRows(rows, before)  ? State::before
                        : sameRows(rows, after) ? State::after
                                                : State::neither;
    EXPECT_NE(state, State::neither) << "the table is neither as before nor as after the write";
    const OracleTable exported = mdbExportRows(file, table);
    EXPECT_TRUE(exported.ok) << exported.error;
    if (exported.ok) {
        EXPECT_TRUE(oracleRowSet(exported, collectionColumns()) ==
                    expectedRowSet(state == State::after ? after : before, &mdbExportText))
            << "mdb-export disagrees";
    }
    return state;
}

// gtest names the case instead of dumping its bytes.
void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << c.name;
}

class CutWrite : public ::testing::TestWithParam<FaultCase> {};

TEST_P(CutWrite, EveryCutLeavesTheOldOrTheNewRecord) {
    const FaultCase& c = GetParam();
    ScratchFolder folder;
    const auto base = folder.file("base.mdb");
    ASSERT_TRUE(createDatabase(base, baseSpec()).ok());
    const auto file = folder.file("data.mdb");
    const std::vector<Row> before = tableRows(c.table);

    int calls = 0;
    {
        std::filesystem::copy_file(base, file);
        auto io = std::make_shared<FaultyFileIo>(FaultyFileIo::Fault::none, 0);
        auto database = Database::open(file, Database::Mode::readWrite, io);
        ASSERT_TRUE(database.ok()) << database.status().message();
        const Status status = c.write(**database);
        ASSERT_TRUE(status.ok()) << status.message();
        calls = io->calls();
        EXPECT_EQ(recoveredState(file, c.table, before, c.after), State::after);
    }
    ASSERT_GT(calls, 5) << "journal, pages, flushes";
    RecordProperty("disk_calls", calls);

    int rolledBack = 0;
    for (const auto fault : {FaultyFileIo::Fault::fail, FaultyFileIo::Fault::crash}) {
        for (int n = 1; n <= calls; ++n) {
            const std::string name =
                std::string(fault == FaultyFileIo::Fault::fail ? "fail" : "crash") +
                " at disk call " + std::to_string(n) + " of " + std::to_string(calls);
            SCOPED_TRACE(name);
            std::filesystem::copy_file(base, file,
                                       std::filesystem::copy_options::overwrite_existing);
            std::filesystem::remove(file.string() + "-journal");
            auto io = std::make_shared<FaultyFileIo>(fault, n);
            auto database = Database::open(file, Database::Mode::readWrite, io);
            ASSERT_TRUE(database.ok()) << database.status().message();
            const Status status = c.write(**database);
            EXPECT_TRUE(io->fired());
            if (fault == FaultyFileIo::Fault::crash) {
                database->reset();  // the "process" is gone; its descriptor and lock with it
                if (recoveredState(file, c.table, before, c.after) == State::before) ++rolledBack;
                continue;
            }
            // A failure is reported as one, and leaves the file as it was; success means done.
            const State state = recoveredState(file, c.table, before, c.after);
            EXPECT_EQ(state, status.ok() ? State::after : State::before) << status.message();
            if (status.ok()) continue;
            ++rolledBack;
            EXPECT_EQ(status.code(), StatusCode::ioError) << status.message();
            // The same Database can try again once the disk behaves.
            const Status retry = c.write(**database);
            EXPECT_TRUE(retry.ok()) << retry.message();
            database->reset();
            EXPECT_TRUE(sameRows(ownRows(file, c.table, collectionColumns()), c.after))
                << "after the retry";
        }
    }
    EXPECT_GT(rolledBack, calls) << "most cuts come before the write is done";
}

INSTANTIATE_TEST_SUITE_P(Cases, CutWrite, ::testing::ValuesIn(faultCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Refuses to open anything for writing, like a file on read-only media.
class ReadOnlyMedia final : public FileIo {
public:
    int open(const std::filesystem::path& path, int flags, int mode, int& descriptor) override {
        if ((flags & O_ACCMODE) != O_RDONLY) return EROFS;
        return m_real->open(path, flags, mode, descriptor);
    }
    int close(int d) override { return m_real->close(d); }
    int read(int d, void* b, std::size_t s, std::uint64_t o, std::size_t& n) override {
        return m_real->read(d, b, s, o, n);
    }
    int write(int, const void*, std::size_t, std::uint64_t) override { return EROFS; }
    int sync(int d) override { return m_real->sync(d); }
    int truncate(int, std::uint64_t) override { return EROFS; }
    int size(int d, std::uint64_t& s) override { return m_real->size(d, s); }
    int remove(const std::filesystem::path&) override { return EROFS; }
    int exists(const std::filesystem::path& p) override { return m_real->exists(p); }
    int syncFolder(const std::filesystem::path&) override { return 0; }
    int lock(int d, Lock k, std::uint64_t o, std::uint64_t l, bool w) override {
        return m_real->lock(d, k, o, l, w);
    }

private:
    std::shared_ptr<FileIo> m_real = systemFileIo();
};

TEST(HotJournal, ReadOnlyOpenRollsBackWhenItMayWriteAndRefusesWhenItMayNot) {
    ScratchFolder folder;
    const auto file = folder.file("data.mdb");
    ASSERT_TRUE(createDatabase(file, baseSpec()).ok());
    const std::vector<Row> before = tableRows("ejaz");
    const auto original = readFileBytes(file);
    // Crash after the journal is on disk (calls 1-4: create, write, flush, flush the folder) and
    // the first database page has been written (call 5), in the middle of the second.
    auto leaveHotJournal = [&] {
        auto io = std::make_shared<FaultyFileIo>(FaultyFileIo::Fault::crash, 6);
        auto database = Database::open(file, Database::Mode::readWrite, io);
        ASSERT_TRUE(database.ok());
        const FaultCase c = faultCases()[0];
        c.write(**database);
        ASSERT_TRUE(io->crashed());
        ASSERT_TRUE(std::filesystem::exists(file.string() + "-journal"));
        ASSERT_NE(readFileBytes(file), original) << "the crash left a half-written file";
    };

    leaveHotJournal();
    auto refused =
        Database::open(file, Database::Mode::readOnly, std::make_shared<ReadOnlyMedia>());
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.status().code(), StatusCode::ioError);
    EXPECT_NE(refused.status().message().find("cut short"), std::string::npos)
        << refused.status().message();
    EXPECT_NE(refused.status().message().find("-journal"), std::string::npos)
        << refused.status().message();

    auto reader = Database::open(file, Database::Mode::readOnly);
    ASSERT_TRUE(reader.ok()) << reader.status().message();
    EXPECT_EQ(readFileBytes(file), original) << "rolled back by the read-only open";
    EXPECT_FALSE(std::filesystem::exists(file.string() + "-journal"));
    reader->reset();

    // A reader already open when a writer dies rolls back before its next snapshot.
    auto early = Database::open(file, Database::Mode::readOnly);
    ASSERT_TRUE(early.ok());
    leaveHotJournal();
    auto rows = (*early)->openByName(u"ejaz");
    ASSERT_TRUE(rows.ok()) << rows.status().message();
    EXPECT_EQ(readFileBytes(file), original);
    EXPECT_EQ(rows->rowCount(), before.size());
}

TEST(HotJournal, TornJournalIsIgnoredAndRemoved) {
    ScratchFolder folder;
    const auto file = folder.file("data.mdb");
    ASSERT_TRUE(createDatabase(file, baseSpec()).ok());
    const auto original = readFileBytes(file);
    // Crash inside the journal write (call 2: the open is 1): half a journal, database untouched.
    auto io = std::make_shared<FaultyFileIo>(FaultyFileIo::Fault::crash, 2);
    {
        auto database = Database::open(file, Database::Mode::readWrite, io);
        ASSERT_TRUE(database.ok());
        faultCases()[0].write(**database);
    }
    ASSERT_TRUE(std::filesystem::exists(file.string() + "-journal"));
    ASSERT_GT(std::filesystem::file_size(file.string() + "-journal"), 0u);
    auto database = Database::open(file, Database::Mode::readWrite);
    ASSERT_TRUE(database.ok()) << database.status().message();
    EXPECT_EQ(readFileBytes(file), original);
    EXPECT_FALSE(std::filesystem::exists(file.string() + "-journal"));
}

// ---- real processes

// The values a writer cycles through: titles of different lengths (the record moves) with a
// matching answer of each storage kind. A reader checks every record against this list.
std::vector<Row> cycle() {
    std::vector<Row> rows;
    const std::size_t titles[] = {3, 120, 255, 40};
    const std::size_t answers[] = {20, 900, 2500, 0};
    for (std::size_t i = 0; i < 4; ++i)
        rows.push_back(record(persian(titles[i], 50 + i), persian(5, i), persian(answers[i], i)));
    return rows;
}

// Loops forever (or `rounds` times) rewriting the first record of "ejaz" with the cycle's
// values, then adding and deleting a record. Runs in a child process; never returns.
[[noreturn]] void writerProcess(const std::filesystem::path& file, int rounds) {
    auto database = Database::open(file, Database::Mode::readWrite);
    if (!database.ok()) _exit(2);
    const std::vector<Row> values = cycle();
    for (int i = 0; rounds < 0 || i < rounds; ++i) {
        auto rows = (*database)->openByName(u"ejaz");
        if (!rows.ok()) _exit(3);
        const Row& value = values[static_cast<std::size_t>(i) % values.size()];
        const Status status = (*database)->updateRow(
            u"ejaz", rows->location(0), rows->rowVersion(0), {{0, value[0]}, {2, value[2]}});
        if (!status.ok()) _exit(4);
        auto added = (*database)->insertRow(u"ejaz", record(u"گذرا", persian(30), persian(700, i)));
        if (!added.ok()) _exit(5);
        auto again = (*database)->openByName(u"ejaz");
        if (!again.ok()) _exit(6);
        for (std::size_t r = 0; r < again->rowCount(); ++r)
            if (again->location(r) == *added &&
                !(*database)->deleteRow(u"ejaz", *added, again->rowVersion(r)).ok())
                _exit(7);
    }
    _exit(0);
}

// Every record of "ejaz" is one the writer wrote, whole: a known title with its own answer.
void expectWholeRecords(Database& database, const std::string& when) {
    auto rows = database.openByName(u"ejaz");
    ASSERT_TRUE(rows.ok()) << when << ": " << rows.status().message();
    std::vector<Row> allowed = cycle();
    for (const Row& row : tableRows("ejaz")) allowed.push_back(row);
    std::size_t written = 0;
    for (std::size_t r = 0; r < rows->rowCount(); ++r) {
        Row row;
        for (std::size_t c = 0; c < 4; ++c) {
            auto value = rows->value(r, c);
            ASSERT_TRUE(value.ok()) << when << ": " << value.status().message();
            row.push_back(*value);
        }
        if (row[0] == Value(std::u16string(u"گذرا"))) continue;  // added and deleted by the writer
        bool known = false;
        for (const Row& candidate : allowed)
            if (candidate[0] == row[0] && candidate[2] == row[2]) known = true;
        EXPECT_TRUE(known) << when << ": record " << r << " is not one the writer wrote";
        ++written;
    }
    EXPECT_EQ(written, tableRows("ejaz").size()) << when;
}

TEST(Processes, KilledWriterLeavesAFileThatOpensWhole) {
    ScratchFolder folder;
    const auto file = folder.file("data.mdb");
    ASSERT_TRUE(createDatabase(file, baseSpec()).ok());
    std::mt19937 random(20240611);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) writerProcess(file, -1);
        ::usleep(std::uniform_int_distribution<useconds_t>(2000, 60000)(random));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status))
            << "the writer stopped by itself with status " << WEXITSTATUS(status);
        auto database = Database::open(file, Database::Mode::readWrite);
        ASSERT_TRUE(database.ok()) << database.status().message();
        EXPECT_FALSE(std::filesystem::exists(file.string() + "-journal"));
        expectWholeRecords(**database, "after the kill");
        database->reset();
        for (const std::string& problem : JetFileInspector(file).structureProblems())
            ADD_FAILURE() << problem;
        const OracleTable exported = mdbExportRows(file, "ejaz");
        ASSERT_TRUE(exported.ok) << exported.error;
        EXPECT_EQ(exported.rows.size(), ownRows(file, "ejaz", collectionColumns()).size());
    }
}

TEST(Processes, ReaderInAnotherProcessNeverSeesAHalfWrittenRecord) {
    ScratchFolder folder;
    const auto file = folder.file("data.mdb");
    ASSERT_TRUE(createDatabase(file, baseSpec()).ok());
    auto reader = Database::open(file, Database::Mode::readOnly);
    ASSERT_TRUE(reader.ok());
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) writerProcess(file, 60);
    int reads = 0;
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        expectWholeRecords(**reader, "read " + std::to_string(reads));
        ++reads;
        if (::testing::Test::HasFailure()) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            break;
        }
    }
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "writer status " << status;
    EXPECT_GT(reads, 0);
    expectWholeRecords(**reader, "after the writer finished");
}

}  // namespace
