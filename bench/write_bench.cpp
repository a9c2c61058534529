// Saving an edited answer, the write the program makes when the user leaves a changed record:
// one memo of a few KB replaced in a collection-shaped table, through our engine (rollback
// journal, file and folder flushed) and through SQLite with its default rollback journal and
// synchronous=FULL, in the same run on the same folder.
//
// Argument: the answer's length in characters (Persian, two bytes each as stored).
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "jet/builder.h"
#include "jet/database.h"
#include "jet/value.h"

namespace {

constexpr std::size_t kRecords = 2000;

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

std::vector<std::vector<jet::Value>> records() {
    std::vector<std::vector<jet::Value>> rows;
    for (std::size_t i = 0; i < kRecords; ++i)
        rows.push_back({jet::Value(persian(40, i)), jet::Value(persian(200, i)),
                        jet::Value(persian(1500, i)), jet::Value(jet::Null{})});
    return rows;
}

std::filesystem::path jetFile() {
    const auto path = scratch() / "ejaz.mdb";
    jet::DatabaseSpec spec;
    jet::TableSpec table;
    table.name = u"ejaz";
    table.columns = {{u"kholase", jet::ColumnType::text, 255, true},
                     {u"porsesh", jet::ColumnType::memo, 0, true},
                     {u"pasokh", jet::ColumnType::memo, 0, true},
                     {u"pavaraghi", jet::ColumnType::memo, 0, true}};
    table.rows = records();
    spec.tables.push_back(std::move(table));
    if (!jet::createDatabase(path, spec).ok()) return {};
    return path;
}

std::filesystem::path sqliteFile() {
    const auto path = scratch() / "ejaz.sqlite";
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) return {};
    sqlite3_exec(
        db, "CREATE TABLE ejaz (kholase TEXT, porsesh TEXT, pasokh TEXT, pavaraghi TEXT); BEGIN",
        nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO ejaz VALUES (?, ?, ?, ?)", -1, &insert, nullptr);
    for (const auto& row : records()) {
        for (int c = 0; c < 3; ++c) {
            const auto& text = std::get<std::u16string>(row[static_cast<std::size_t>(c)]);
            sqlite3_bind_text16(insert, c + 1, text.data(), static_cast<int>(text.size() * 2),
                                SQLITE_TRANSIENT);
        }
        sqlite3_bind_null(insert, 4);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return path;
}

void BM_SaveAnswer_Kelvora(benchmark::State& state) {
    const auto path = jetFile();
    if (path.empty()) return state.SkipWithError("cannot build the Jet file");
    auto database = jet::Database::open(path, jet::Database::Mode::readWrite);
    if (!database.ok()) return state.SkipWithError(database.status().message().c_str());
    const std::size_t length = static_cast<std::size_t>(state.range(0));
    const std::size_t record = kRecords / 2;
    std::size_t round = 0;
    for (auto _ : state) {
        // The program holds a snapshot; taking it is not part of the save.
        state.PauseTiming();
        auto rows = (*database)->openByName(u"ejaz");
        state.ResumeTiming();
        if (!rows.ok()) return state.SkipWithError(rows.status().message().c_str());
        const jet::Status status =
            (*database)->updateRow(u"ejaz", rows->location(record), rows->rowVersion(record),
                                   {{2, jet::Value(persian(length, ++round))}});
        if (!status.ok()) return state.SkipWithError(status.message().c_str());
    }
    state.counters["file_kb"] = static_cast<double>(std::filesystem::file_size(path)) / 1024.0;
}

void BM_SaveAnswer_SQLite(benchmark::State& state) {
    const auto path = sqliteFile();
    sqlite3* db = nullptr;
    if (path.empty() || sqlite3_open(path.c_str(), &db) != SQLITE_OK)
        return state.SkipWithError("cannot build the SQLite file");
    sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL", nullptr, nullptr,
                 nullptr);
    sqlite3_stmt* update = nullptr;
    sqlite3_prepare_v2(db, "UPDATE ejaz SET pasokh = ? WHERE rowid = ?", -1, &update, nullptr);
    const std::size_t length = static_cast<std::size_t>(state.range(0));
    std::size_t round = 0;
    for (auto _ : state) {
        const std::u16string text = persian(length, ++round);
        sqlite3_bind_text16(update, 1, text.data(), static_cast<int>(text.size() * 2),
                            SQLITE_TRANSIENT);
        sqlite3_bind_int64(update, 2, static_cast<sqlite3_int64>(kRecords / 2 + 1));
        if (sqlite3_step(update) != SQLITE_DONE) return state.SkipWithError(sqlite3_errmsg(db));
        sqlite3_reset(update);
    }
    sqlite3_finalize(update);
    sqlite3_close(db);
    state.counters["file_kb"] = static_cast<double>(std::filesystem::file_size(path)) / 1024.0;
}

BENCHMARK(BM_SaveAnswer_Kelvora)->Arg(1500)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveAnswer_SQLite)->Arg(1500)->Arg(4000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(scratch(), ignored);
    return 0;
}
