#pragma once

// Shared by the write tests: a collection-shaped file to change, an editor that finds records by
// title and changes them the way the program does (snapshot, then write with the snapshot's
// location and version), and the checks run after every write: mdb-export, mdb-reader and our
// reader return the expected rows (compared as sets: mdbtools and mdb-reader list moved rows
// in another order), and the bytes are consistent (free-space counters, row counts, owned
// maps, the global map).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "build_test_support.h"
#include "jet/builder.h"
#include "jet/database.h"
#include "jet/result_set.h"
#include "jet/value.h"
#include "jet_file_inspector.h"
#include "oracles.h"
#include "test_files.h"

namespace kelvora::test {

using Row = std::vector<jet::Value>;

// `count` characters of Persian text (two bytes each as stored: Persian never compresses).
inline std::u16string persian(std::size_t count, std::size_t seed = 0) {
    static constexpr std::u16string_view kLetters = u"ابپتثجچحخدذرزژسشصضطظعغفقکگلمنوهی ";
    std::u16string out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) out += kLetters[(i * 7 + seed) % kLetters.size()];
    return out;
}

// Titles the write tests give their records: two ordinary ones and a short one.
inline const jet::Value kFirst = jet::Value(std::u16string(u"نخست"));
inline const jet::Value kSecond = jet::Value(std::u16string(u"دوم"));
inline const jet::Value kShort = jet::Value(std::u16string(u"کوتاه"));

inline const std::vector<std::string>& collectionColumns() {
    static const std::vector<std::string> columns = {"kholase", "porsesh", "pasokh", "pavaraghi"};
    return columns;
}

inline jet::TableSpec collectionTable(std::u16string name, std::vector<Row> rows) {
    jet::TableSpec table;
    table.name = std::move(name);
    table.columns = {{u"kholase", jet::ColumnType::text, 255, true},
                     {u"porsesh", jet::ColumnType::memo, 0, true},
                     {u"pasokh", jet::ColumnType::memo, 0, true},
                     {u"pavaraghi", jet::ColumnType::memo, 0, true}};
    table.rows = std::move(rows);
    return table;
}

inline Row record(std::u16string title, jet::Value question, jet::Value answer,
                  jet::Value footnotes = jet::Null{}) {
    return {jet::Value(std::move(title)), std::move(question), std::move(answer),
            std::move(footnotes)};
}

// Snapshots and writes the way the reader program does.
class Editor {
public:
    Editor(const std::filesystem::path& file, std::u16string table,
           jet::Database::Mode mode = jet::Database::Mode::readWrite)
        : m_table(std::move(table)) {
        auto database = jet::Database::open(file, mode);
        if (!database.ok()) throw std::runtime_error(database.status().message());
        m_database = std::move(*database);
    }

    jet::Database& database() { return *m_database; }

    jet::ResultSet snapshot() {
        auto rows = m_database->openByName(m_table);
        if (!rows.ok()) throw std::runtime_error(rows.status().message());
        return *rows;
    }

    // The index in `rows` of the record whose first column is `title`.
    static std::size_t find(const jet::ResultSet& rows, const jet::Value& title) {
        for (std::size_t i = 0; i < rows.rowCount(); ++i)
            if (rows.value(i, 0).ok() && *rows.value(i, 0) == title) return i;
        throw std::runtime_error("no record titled " + mdbReaderText(title));
    }

    jet::Status update(const jet::Value& title,
                       const std::vector<std::pair<std::size_t, jet::Value>>& changes) {
        const jet::ResultSet rows = snapshot();
        const std::size_t i = find(rows, title);
        return m_database->updateRow(m_table, rows.location(i), rows.rowVersion(i), changes);
    }
    jet::Status remove(const jet::Value& title) {
        const jet::ResultSet rows = snapshot();
        const std::size_t i = find(rows, title);
        return m_database->deleteRow(m_table, rows.location(i), rows.rowVersion(i));
    }
    jet::Result<jet::RowLocation> insert(const Row& values) {
        return m_database->insertRow(m_table, values);
    }
    jet::RowLocation locate(const jet::Value& title) {
        const jet::ResultSet rows = snapshot();
        return rows.location(find(rows, title));
    }

private:
    std::u16string m_table;
    std::unique_ptr<jet::Database> m_database;
};

// The rows an oracle printed, cut to `columns` (by header name), each row joined into one
// string, sorted.
inline std::vector<std::string> oracleRowSet(const OracleTable& table,
                                             const std::vector<std::string>& columns) {
    std::vector<std::size_t> picks;
    for (const std::string& column : columns) {
        const auto it = std::find(table.header.begin(), table.header.end(), column);
        picks.push_back(it == table.header.end()
                            ? SIZE_MAX
                            : static_cast<std::size_t>(it - table.header.begin()));
    }
    std::vector<std::string> out;
    for (const CsvRow& row : table.rows) {
        std::string joined;
        for (std::size_t pick : picks)
            joined += (pick < row.size() ? row[pick] : std::string("<missing column>")) + "\x1f";
        out.push_back(joined);
    }
    std::sort(out.begin(), out.end());
    return out;
}

inline std::vector<std::string> expectedRowSet(const std::vector<Row>& rows,
                                               std::string (*format)(const jet::Value&)) {
    std::vector<std::string> out;
    for (const Row& row : rows) {
        std::string joined;
        for (const jet::Value& value : row) joined += format(value) + "\x1f";
        out.push_back(joined);
    }
    std::sort(out.begin(), out.end());
    return out;
}

inline std::string describeRowSets(const std::vector<std::string>& got,
                                   const std::vector<std::string>& expected) {
    auto shorten = [](const std::string& text) {
        return text.size() > 160 ? text.substr(0, 160) + "...(" + std::to_string(text.size()) + ")"
                                 : text;
    };
    std::string out =
        "got " + std::to_string(got.size()) + " rows, expected " + std::to_string(expected.size());
    for (std::size_t i = 0; i < std::max(got.size(), expected.size()) && i < 6; ++i) {
        out += "\n  got      " + (i < got.size() ? shorten(got[i]) : std::string("-"));
        out += "\n  expected " + (i < expected.size() ? shorten(expected[i]) : std::string("-"));
    }
    return out;
}

// Our reader's rows, cut to `columns`.
inline std::vector<Row> ownRows(const std::filesystem::path& file, const std::string& table,
                                const std::vector<std::string>& columns) {
    auto database = jet::Database::open(file, jet::Database::Mode::readOnly);
    if (!database.ok()) throw std::runtime_error("own reader: " + database.status().message());
    auto rows = (*database)->openByName(jet::fromUtf8(table));
    if (!rows.ok()) throw std::runtime_error("own reader: " + rows.status().message());
    std::vector<Row> out;
    for (std::size_t r = 0; r < rows->rowCount(); ++r) {
        Row row;
        for (const std::string& column : columns) {
            const int c = rows->columnIndex(jet::fromUtf8(column));
            if (c < 0) throw std::runtime_error("own reader: no column " + column);
            auto value = rows->value(r, static_cast<std::size_t>(c));
            if (!value.ok()) throw std::runtime_error("own reader: " + value.status().message());
            row.push_back(*value);
        }
        out.push_back(std::move(row));
    }
    return out;
}

// Pages the global map (page 1, row 0) says are free although the file has them.
inline std::vector<std::uint32_t> pagesMarkedFree(const JetFileInspector& file) {
    const auto free = file.mapPages(1u << 8);
    std::vector<std::uint32_t> out;
    for (std::uint32_t page : free)
        if (page < file.pageCount()) out.push_back(page);
    return out;
}

// Byte-level consistency after a write, plus: every page from `firstNewPage` on (the pages the
// writes appended) is marked used in the global map.
inline void expectConsistentFile(const std::filesystem::path& file, std::uint32_t firstNewPage) {
    const JetFileInspector inspector(file);
    for (const std::string& problem : inspector.structureProblems()) ADD_FAILURE() << problem;
    for (std::uint32_t page : pagesMarkedFree(inspector))
        if (page >= firstNewPage)
            ADD_FAILURE() << "page " << page << " was appended but is marked free";
    EXPECT_FALSE(std::filesystem::exists(file.string() + "-journal")) << "journal left behind";
}

// mdb-export, mdb-reader and our reader all return `rows` (as a set) for `columns` of `table`.
inline void expectRowsEverywhere(const std::filesystem::path& file, const std::string& table,
                                 const std::vector<std::string>& columns,
                                 const std::vector<Row>& rows) {
    {
        const OracleTable exported = mdbExportRows(file, table);
        ASSERT_TRUE(exported.ok) << exported.error;
        const auto got = oracleRowSet(exported, columns);
        const auto expected = expectedRowSet(rows, &mdbExportText);
        EXPECT_TRUE(got == expected) << "mdb-export: " << describeRowSets(got, expected);
    }
    {
        const OracleTable read = mdbReaderRows(file, table);
        ASSERT_TRUE(read.ok) << read.error;
        const auto got = oracleRowSet(read, columns);
        const auto expected = expectedRowSet(rows, &mdbReaderText);
        EXPECT_TRUE(got == expected) << "mdb-reader: " << describeRowSets(got, expected);
    }
    {
        // Our reader must return the very values: each expected row matched once, exactly.
        std::vector<Row> got = ownRows(file, table, columns);
        bool same = got.size() == rows.size();
        for (const Row& row : rows) {
            const auto it = std::find(got.begin(), got.end(), row);
            if (it == got.end()) {
                same = false;
                break;
            }
            got.erase(it);
        }
        if (!same)
            ADD_FAILURE() << "own reader: "
                          << describeRowSets(
                                 expectedRowSet(ownRows(file, table, columns), &mdbReaderText),
                                 expectedRowSet(rows, &mdbReaderText));
    }
}

// The first page the next write may append.
inline std::uint32_t pageCountOf(const std::filesystem::path& file) {
    return static_cast<std::uint32_t>(std::filesystem::file_size(file) / 4096);
}

// Raw slot word of a row (flags in the top bits).
inline std::uint16_t slotWord(const std::filesystem::path& file, jet::RowLocation location) {
    const JetFileInspector inspector(file);
    return inspector.u16(location.pageNumber * 4096 + 14 + 2 * std::size_t{location.rowIndex});
}

inline void copyFixture(const std::string& name, const std::filesystem::path& to) {
    std::filesystem::copy_file(testdataFile(name), to,
                               std::filesystem::copy_options::overwrite_existing);
}

}  // namespace kelvora::test
