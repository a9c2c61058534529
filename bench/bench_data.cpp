#include "bench_data.h"

#include <sqlite3.h>

#include <cstdlib>
#include <iostream>
#include <map>
#include <stdexcept>

#include "collection_text.h"
#include "jet/builder.h"
#include "jet/value.h"

namespace bench {

namespace {

std::filesystem::path dataFolder() {
    const char* folder = std::getenv("KELVORA_BENCH_DATA");
    return folder != nullptr ? std::filesystem::path(folder) : std::filesystem::path("bench-data");
}

collection::SyntheticOptions optionsFor(std::uint32_t recordsPerTopic) {
    collection::SyntheticOptions options;
    options.recordsPerTopic = recordsPerTopic;
    if (recordsPerTopic > 20000) {
        options.topics = 1;
        options.withSearchTable = false;
    }
    return options;
}

void check(int code, sqlite3* db, const char* what) {
    if (code != SQLITE_OK && code != SQLITE_DONE && code != SQLITE_ROW)
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

void writeSqlite(const std::filesystem::path& path, const collection::SyntheticOptions& options) {
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    check(sqlite3_open(path.c_str(), &db), db, "open");
    check(sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN", nullptr, nullptr, nullptr), db, "begin");
    const auto spec = collection::syntheticCollection(options);
    for (const auto& table : spec.tables) {
        const std::string name = jet::toUtf8(table.name);
        check(sqlite3_exec(db, ("CREATE TABLE " + name + " (kholase TEXT, porsesh TEXT, pasokh TEXT, pavaraghi TEXT)").c_str(),
                           nullptr, nullptr, nullptr), db, "create");
        sqlite3_stmt* insert = nullptr;
        check(sqlite3_prepare_v2(db, ("INSERT INTO " + name + " VALUES (?, ?, ?, ?)").c_str(), -1, &insert, nullptr), db, "prepare");
        std::vector<jet::Value> row;
        auto source = table.source;
        while (source(row)) {
            for (int i = 0; i < 4; ++i) {
                const auto& text = std::get<std::u16string>(row[static_cast<std::size_t>(i)]);
                sqlite3_bind_text16(insert, i + 1, text.data(), static_cast<int>(text.size() * 2), SQLITE_TRANSIENT);
            }
            check(sqlite3_step(insert), db, "insert");
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
    }
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close(db);
}

}  // namespace

const BenchFile& benchFile(std::uint32_t recordsPerTopic) {
    static std::map<std::uint32_t, BenchFile> files;
    auto found = files.find(recordsPerTopic);
    if (found != files.end()) return found->second;

    const auto folder = dataFolder();
    std::filesystem::create_directories(folder);
    BenchFile file;
    file.recordsPerTopic = recordsPerTopic;
    file.mdb = folder / ("collection-" + std::to_string(recordsPerTopic) + ".mdb");
    file.sqlite = folder / ("collection-" + std::to_string(recordsPerTopic) + ".sqlite");
    const auto options = optionsFor(recordsPerTopic);
    if (!std::filesystem::exists(file.mdb)) {
        std::cerr << "generating " << file.mdb << " ...\n";
        const jet::Status status = jet::createDatabase(file.mdb, collection::syntheticCollection(options));
        if (!status.ok()) throw std::runtime_error(status.message());
    }
    if (!std::filesystem::exists(file.sqlite)) {
        std::cerr << "generating " << file.sqlite << " ...\n";
        writeSqlite(file.sqlite, options);
    }
    return files.emplace(recordsPerTopic, file).first->second;
}

}  // namespace bench
