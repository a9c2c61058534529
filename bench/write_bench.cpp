// Saving an edited answer, the write the program makes when the user leaves a changed record:
// one answer of a few KB replaced in the `ejaz` table, then the record read back (the program
// does both), through our engine (rollback journal, file and folder flushed); and the same
// update through SQLite with its default rollback journal and synchronous=FULL, on the same
// rows, in the same run, on the same disk.
//
// Collections: the shipped kelvora.mdb (built with the program) and a generated one of 10,000
// records per topic (see bench_data.h). Each is copied to a scratch folder first, so the
// originals stay as they are.
//
// Argument: the answer's length in characters (Persian, two bytes each as stored).
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench_data.h"
#include "jet/database.h"
#include "jet/value.h"

namespace {

std::u16string persian(std::size_t count, std::size_t seed) {
    static constexpr std::u16string_view kLetters = u"ابپتثجچحخدذرزژسشصضطظعغفقکگلمنوهی ";
    std::u16string out;
    for (std::size_t i = 0; i < count; ++i) out += kLetters[(i * 7 + seed) % kLetters.size()];
    return out;
}

// A scratch folder beside the working directory (benchmarks measure the disk they run on).
const std::filesystem::path& scratch() {
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::current_path() / "write-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) return std::filesystem::path();
        return std::filesystem::path(pattern);
    }();
    return folder;
}

std::filesystem::path scratchCopy(const std::filesystem::path& from, const std::string& name) {
    const auto to = scratch() / name;
    std::error_code error;
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
    return error ? std::filesystem::path() : to;
}

// The shipped collection's `ejaz` rows, in SQLite.
std::filesystem::path sqliteOfShipped(const std::filesystem::path& mdb) {
    const auto path = scratch() / "shipped.sqlite";
    std::filesystem::remove(path);
    auto database = jet::Database::open(mdb, jet::Database::Mode::readOnly);
    if (!database.ok()) return {};
    auto rows = (*database)->openByName(u"ejaz");
    sqlite3* db = nullptr;
    if (!rows.ok() || sqlite3_open(path.c_str(), &db) != SQLITE_OK) return {};
    sqlite3_exec(
        db, "CREATE TABLE ejaz (kholase TEXT, porsesh TEXT, pasokh TEXT, pavaraghi TEXT); BEGIN",
        nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO ejaz VALUES (?, ?, ?, ?)", -1, &insert, nullptr);
    for (std::size_t row = 0; row < rows->rowCount(); ++row) {
        for (std::size_t column = 0; column < 4; ++column) {
            const jet::Value value = *rows->value(row, column);
            const int index = static_cast<int>(column) + 1;
            if (const auto* text = std::get_if<std::u16string>(&value))
                sqlite3_bind_text16(insert, index, text->data(), static_cast<int>(text->size() * 2),
                                    SQLITE_TRANSIENT);
            else
                sqlite3_bind_null(insert, index);
        }
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return path;
}

std::filesystem::path g_shipped;

struct Collection {
    std::filesystem::path mdb;
    std::filesystem::path sqlite;
};

// 0: the shipped file; otherwise a generated one with that many records per topic.
Collection collection(std::int64_t recordsPerTopic) {
    if (recordsPerTopic == 0)
        return {scratchCopy(g_shipped, "shipped.mdb"), sqliteOfShipped(g_shipped)};
    const bench::BenchFile& generated =
        bench::benchFile(static_cast<std::uint32_t>(recordsPerTopic));
    return {scratchCopy(generated.mdb, "generated.mdb"),
            scratchCopy(generated.sqlite, "generated.sqlite")};
}

void BM_SaveAnswer_Kelvora(benchmark::State& state) {
    const Collection files = collection(state.range(0));
    if (files.mdb.empty()) return state.SkipWithError("cannot copy the collection");
    auto database = jet::Database::open(files.mdb, jet::Database::Mode::readWrite);
    if (!database.ok()) return state.SkipWithError(database.status().message().c_str());
    auto rows = (*database)->openByName(u"ejaz");
    if (!rows.ok() || rows->rowCount() == 0) return state.SkipWithError("no records in ejaz");
    const std::size_t record = rows->rowCount() / 2;
    const jet::RowLocation where = rows->location(record);
    std::uint64_t version = rows->rowVersion(record);
    const std::size_t length = static_cast<std::size_t>(state.range(1));
    std::size_t round = 0;
    for (auto _ : state) {
        const jet::Status status = (*database)->updateRow(
            u"ejaz", where, version, {{2, jet::Value(persian(length, ++round))}});
        if (!status.ok()) return state.SkipWithError(status.message().c_str());
        auto written = (*database)->readRow(u"ejaz", where);
        if (!written.ok()) return state.SkipWithError(written.status().message().c_str());
        version = written->rowVersion(0);
    }
    state.counters["file_mb"] = static_cast<double>(std::filesystem::file_size(files.mdb)) / 1e6;
    std::filesystem::remove(files.mdb);
    if (!files.sqlite.empty()) std::filesystem::remove(files.sqlite);
}

void BM_SaveAnswer_SQLite(benchmark::State& state) {
    const Collection files = collection(state.range(0));
    sqlite3* db = nullptr;
    if (files.sqlite.empty() || sqlite3_open(files.sqlite.c_str(), &db) != SQLITE_OK)
        return state.SkipWithError("cannot copy the SQLite file");
    sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL", nullptr, nullptr,
                 nullptr);
    sqlite3_int64 count = 0;
    sqlite3_stmt* counting = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*) FROM ejaz", -1, &counting, nullptr);
    if (sqlite3_step(counting) == SQLITE_ROW) count = sqlite3_column_int64(counting, 0);
    sqlite3_finalize(counting);
    sqlite3_stmt* update = nullptr;
    sqlite3_prepare_v2(db, "UPDATE ejaz SET pasokh = ? WHERE rowid = ?", -1, &update, nullptr);
    const std::size_t length = static_cast<std::size_t>(state.range(1));
    std::size_t round = 0;
    for (auto _ : state) {
        const std::u16string text = persian(length, ++round);
        sqlite3_bind_text16(update, 1, text.data(), static_cast<int>(text.size() * 2),
                            SQLITE_TRANSIENT);
        sqlite3_bind_int64(update, 2, count / 2 + 1);
        if (sqlite3_step(update) != SQLITE_DONE) return state.SkipWithError(sqlite3_errmsg(db));
        sqlite3_reset(update);
    }
    sqlite3_finalize(update);
    sqlite3_close(db);
    state.counters["file_mb"] = static_cast<double>(std::filesystem::file_size(files.sqlite)) / 1e6;
    std::filesystem::remove(files.sqlite);
    if (!files.mdb.empty()) std::filesystem::remove(files.mdb);
}

// Records per topic (0: the shipped collection), answer length.
void cases(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgNames({"records", "chars"});
    for (const std::int64_t records : {0, 10000})
        for (const std::int64_t chars : {1500, 4000}) benchmark->Args({records, chars});
    benchmark->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_SaveAnswer_Kelvora)->Apply(cases);
BENCHMARK(BM_SaveAnswer_SQLite)->Apply(cases);

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: write_bench SHIPPED_MDB [benchmark flags]\n");
        return 2;
    }
    g_shipped = std::filesystem::absolute(argv[1]);
    argv[1] = argv[0];
    int benchArgc = argc - 1;
    benchmark::Initialize(&benchArgc, argv + 1);
    if (benchmark::ReportUnrecognizedArguments(benchArgc, argv + 1)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(scratch(), ignored);
    return 0;
}
