#pragma once

// Reads everything a database offers through the engine: every user and system table and
// every saved query, every value of every row (memo and OLE values included). Used by the
// damage test and the fuzzer, which only care that reading ends in rows or a clear error.

#include <string>

#include "database_impl.h"
#include "jet/database.h"
#include "jet/value.h"
#include "page_source.h"
#include "sql/executor.h"

namespace kelvora::test {

struct ReadAllOutcome {
    std::size_t rows = 0;      // rows read without error
    std::size_t failures = 0;  // statements or values that failed
    std::string firstError;    // the first failure's message
};

inline void noteFailure(ReadAllOutcome& outcome, const jet::Status& status) {
    if (outcome.failures++ == 0) outcome.firstError = status.message();
}

inline void readResultSet(const jet::Result<jet::ResultSet>& rows, ReadAllOutcome& outcome) {
    if (!rows.ok()) {
        noteFailure(outcome, rows.status());
        return;
    }
    for (std::size_t r = 0; r < rows->rowCount(); ++r) {
        for (std::size_t c = 0; c < rows->columns().size(); ++c) {
            auto value = rows->value(r, c);
            if (!value.ok()) {
                noteFailure(outcome, value.status());
                continue;
            }
            (void)jet::toDisplayText(*value);
        }
        ++outcome.rows;
    }
}

inline ReadAllOutcome readEverything(jet::DatabaseImpl& database) {
    ReadAllOutcome outcome;
    const jet::Catalogue& catalogue = database.catalogue();
    for (const auto& table : catalogue.userTables())
        readResultSet(jet::sql::openByName(database, table.name), outcome);
    for (const auto& query : catalogue.queries())
        readResultSet(jet::sql::openByName(database, query.name), outcome);
    for (const auto& table : catalogue.systemTables())
        readResultSet(database.readTable(table), outcome);
    return outcome;
}

// Opens `bytes` the way the tests need: password-protected files too (their rows are what the
// tests are after).
inline jet::Result<std::unique_ptr<jet::DatabaseImpl>> openBytesIgnoringPassword(
    std::vector<std::uint8_t> bytes, std::string name = "memory") {
    return jet::DatabaseImpl::open(std::shared_ptr<jet::PageSource>(jet::PageSource::fromBytes(
                                       std::move(bytes), std::move(name))),
                                   {.ignorePassword = true});
}

}  // namespace kelvora::test
