// The title filter the program runs on every keystroke, and opening the collection: our engine
// side by side with the same rows in SQLite and the same file through mdbtools' SQL library.
//
// Arguments of each benchmark: records per topic, then the share of titles the filter matches
// (0: one in a thousand, 1: two thirds).
#include <benchmark/benchmark.h>
#include <mdbsql.h>
#include <sqlite3.h>

#include "bench_data.h"
#include "jet/database.h"
#include "jet/value.h"

namespace {

using collection::TitleShare;

TitleShare shareOf(std::int64_t argument) {
    return argument == 0 ? TitleShare::perMille : TitleShare::twoThirds;
}

std::u16string filterStatement(TitleShare share) {
    return u"SELECT * FROM kolliyat where kholase like '%" + collection::titleMarker(share) + u"%'\r\n";
}

void reportRows(benchmark::State& state, std::size_t rows) {
    state.counters["rows"] = static_cast<double>(rows);
}

void BM_TitleFilter_Kelvora(benchmark::State& state) {
    const auto& file = bench::benchFile(static_cast<std::uint32_t>(state.range(0)));
    auto database = jet::Database::open(file.mdb, jet::Database::Mode::readOnly);
    if (!database.ok()) return state.SkipWithError(database.status().message().c_str());
    const std::u16string statement = filterStatement(shareOf(state.range(1)));
    std::size_t rows = 0;
    for (auto _ : state) {
        auto result = (*database)->execute(statement);
        if (!result.ok()) return state.SkipWithError(result.status().message().c_str());
        rows = result->rowCount();
        benchmark::DoNotOptimize(rows);
    }
    reportRows(state, rows);
}

void BM_TitleFilter_SQLite(benchmark::State& state) {
    const auto& file = bench::benchFile(static_cast<std::uint32_t>(state.range(0)));
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.sqlite.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        return state.SkipWithError("cannot open the SQLite file");
    const std::string pattern = "%" + jet::toUtf8(collection::titleMarker(shareOf(state.range(1)))) + "%";
    sqlite3_stmt* query = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM kolliyat WHERE kholase LIKE ?", -1, &query, nullptr);
    std::size_t rows = 0;
    for (auto _ : state) {
        // Like the engine's snapshot: every matching row fetched, its title read.
        sqlite3_bind_text(query, 1, pattern.c_str(), -1, SQLITE_STATIC);
        rows = 0;
        while (sqlite3_step(query) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_text16(query, 0));
            ++rows;
        }
        sqlite3_reset(query);
    }
    sqlite3_finalize(query);
    sqlite3_close(db);
    reportRows(state, rows);
}

void BM_TitleFilter_Mdbtools(benchmark::State& state) {
    const auto& file = bench::benchFile(static_cast<std::uint32_t>(state.range(0)));
    MdbSQL* sql = mdb_sql_init();
    if (mdb_sql_open(sql, const_cast<char*>(file.mdb.c_str())) == nullptr)
        return state.SkipWithError("mdbtools cannot open the file");
    const std::string query = "SELECT * FROM kolliyat WHERE kholase LIKE '%" +
                              jet::toUtf8(collection::titleMarker(shareOf(state.range(1)))) + "%'";
    std::size_t rows = 0;
    for (auto _ : state) {
        mdb_sql_run_query(sql, query.c_str());
        if (mdb_sql_has_error(sql)) return state.SkipWithError(mdb_sql_last_error(sql));
        rows = 0;
        while (mdb_fetch_row(sql->cur_table)) ++rows;
        mdb_sql_reset(sql);
    }
    mdb_sql_exit(sql);
    reportRows(state, rows);
}

void BM_OpenCollection_Kelvora(benchmark::State& state) {
    // Opening the file, then the master record set and the record set of each of the seven
    // sources, as start-up does.
    const auto& file = bench::benchFile(static_cast<std::uint32_t>(state.range(0)));
    const std::u16string tables[] = {u"kolliyat", u"ejaz", u"elm", u"payambaran", u"vahy", u"mohamad", u"pkelvora"};
    for (auto _ : state) {
        auto database = jet::Database::open(file.mdb, jet::Database::Mode::readOnly);
        if (!database.ok()) return state.SkipWithError(database.status().message().c_str());
        for (const auto& table : tables) {
            auto master = (*database)->openByName(u"Q" + table);
            auto rows = (*database)->execute(u"SELECT *\r\nFROM " + table + u";\r\n");
            benchmark::DoNotOptimize(master.ok());
            benchmark::DoNotOptimize(rows.ok());
        }
    }
}

void filterArguments(benchmark::internal::Benchmark* bench) {
    for (std::int64_t records : {1000, 10000, 100000})
        for (std::int64_t share : {0, 1}) bench->Args({records, share});
    bench->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_TitleFilter_Kelvora)->Apply(filterArguments);
BENCHMARK(BM_TitleFilter_SQLite)->Apply(filterArguments);
BENCHMARK(BM_TitleFilter_Mdbtools)->Apply(filterArguments);
BENCHMARK(BM_OpenCollection_Kelvora)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
