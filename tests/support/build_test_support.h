#pragma once

// Shared by the builder tests: a scratch folder, and a check that reads a table back through
// every reader we have (mdbtools' mdb-export, mdb-reader, and the engine's own reader) and
// compares each cell with the values the file was built from.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "jet/database.h"
#include "jet/result_set.h"
#include "jet/value.h"
#include "oracles.h"

namespace kelvora::test {

// A folder under the system temp folder, removed with everything in it at the end.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelvora-build-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path file(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

inline std::string hexUpper(const std::vector<std::uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (std::uint8_t b : bytes) {
        out += kDigits[b >> 4];
        out += kDigits[b & 0xF];
    }
    return out;
}

inline std::string shortestNumber(double value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

// "YYYY-MM-DD HH:MM:SS" for whole-second dates on or after 1899-12-30.
inline std::string jetDateText(double days) {
    auto seconds = static_cast<long long>(std::llround(days * 86400.0));
    long long day = seconds / 86400 - 25569;  // days since 1970-01-01
    seconds %= 86400;
    day += 719468;
    const long long era = (day >= 0 ? day : day - 146096) / 146097;
    const long long doe = day - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long d = doy - (153 * mp + 2) / 5 + 1;
    const long long m = mp < 10 ? mp + 3 : mp - 9;
    const long long y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    char text[128];
    std::snprintf(text, sizeof text, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld", y, m, d,
                  seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

inline std::string guidText(const jet::Guid& guid, bool braces, bool upper) {
    const auto& b = guid.bytes;
    char text[64];
    std::snprintf(text, sizeof text,
                  upper ? "%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X"
                        : "%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x",
                  b[3], b[2], b[1], b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12],
                  b[13], b[14], b[15]);
    return braces ? "{" + std::string(text) + "}" : std::string(text);
}

// Both oracles print currency with four decimals.
inline std::string currencyText(const jet::Currency& value) {
    const bool negative = value.tenThousandths < 0;
    const unsigned long long magnitude =
        negative ? 0ULL - static_cast<unsigned long long>(value.tenThousandths)
                 : static_cast<unsigned long long>(value.tenThousandths);
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04llu", magnitude % 10000);
    return (negative ? "-" : "") + std::to_string(magnitude / 10000) + "." + digits;
}

// A value as mdbread.mjs prints it (after parseCsv).
inline std::string mdbReaderText(const jet::Value& value) {
    using namespace jet;
    if (isNull(value)) return kCsvNull;
    if (const auto* v = std::get_if<bool>(&value)) return *v ? "true" : "false";
    if (const auto* v = std::get_if<std::int64_t>(&value)) return std::to_string(*v);
    if (const auto* v = std::get_if<Currency>(&value)) return currencyText(*v);
    if (const auto* v = std::get_if<float>(&value)) return shortestNumber(*v);
    if (const auto* v = std::get_if<double>(&value)) return shortestNumber(*v);
    if (const auto* v = std::get_if<DateTime>(&value)) return jetDateText(v->days);
    if (const auto* v = std::get_if<Guid>(&value)) return guidText(*v, false, false);
    if (const auto* v = std::get_if<std::u16string>(&value)) return toUtf8(*v);
    if (const auto* v = std::get_if<std::vector<std::uint8_t>>(&value)) return hexUpper(*v);
    return "?";
}

// A value as `mdb-export -b hex` prints it (after parseCsv): booleans 0/1, an empty string
// like a null, a GUID as the hex of its braced text, which mdbtools prints without the dash
// between its fourth and fifth groups. (mdbtools also stops a Binary value at its first zero
// byte: tests keep zeros out of Binary columns.)
inline std::string mdbExportText(const jet::Value& value) {
    using namespace jet;
    if (const auto* v = std::get_if<bool>(&value)) return *v ? "1" : "0";
    if (const auto* v = std::get_if<std::u16string>(&value); v != nullptr && v->empty())
        return kCsvNull;
    if (const auto* v = std::get_if<Guid>(&value)) {
        std::string text = guidText(*v, true, true);
        text.erase(24, 1);
        return hexUpper(std::vector<std::uint8_t>(text.begin(), text.end()));
    }
    return mdbReaderText(value);
}

// mdb-export cuts long memos (200 000 bytes in mdbtools 1.0); longer values are compared as a
// prefix of at least this many bytes.
inline constexpr std::size_t kMdbExportMemoLimit = 200000;

inline void expectCell(const std::string& reader, const std::string& actual,
                       const std::string& expected, std::size_t row, const std::string& column) {
    // It cuts on a character boundary, so a few bytes short of the limit.
    if (reader == "mdb-export" && expected.size() > kMdbExportMemoLimit &&
        actual.size() + 8 >= kMdbExportMemoLimit && actual.size() <= expected.size()) {
        EXPECT_EQ(expected.compare(0, actual.size(), actual), 0)
            << reader << " row " << row + 1 << " column " << column
            << ": not a prefix of the expected memo";
        return;
    }
    if (actual == expected) return;
    ADD_FAILURE() << reader << " row " << row + 1 << " column " << column << ": got "
                  << (actual.size() > 200 ? actual.substr(0, 200) + "... (" +
                                                std::to_string(actual.size()) + " bytes)"
                                          : actual)
                  << ", expected "
                  << (expected.size() > 200 ? expected.substr(0, 200) + "... (" +
                                                  std::to_string(expected.size()) + " bytes)"
                                            : expected);
}

inline void expectOracleTable(const std::string& reader, const OracleTable& table,
                              const std::vector<std::string>& columns,
                              const std::vector<std::vector<jet::Value>>& rows,
                              std::string (*format)(const jet::Value&)) {
    ASSERT_TRUE(table.ok) << table.error;
    EXPECT_EQ(table.header, columns) << reader << " column names";
    ASSERT_EQ(table.rows.size(), rows.size()) << reader << " row count";
    for (std::size_t r = 0; r < rows.size(); ++r) {
        ASSERT_EQ(table.rows[r].size(), columns.size()) << reader << " row " << r + 1;
        for (std::size_t c = 0; c < columns.size(); ++c)
            expectCell(reader, table.rows[r][c], format(rows[r][c]), r, columns[c]);
    }
}

// The engine's own reader: the same values, exactly.
inline void expectOwnReader(const std::filesystem::path& file, const std::string& table,
                            const std::vector<std::string>& columns,
                            const std::vector<std::vector<jet::Value>>& rows) {
    auto database = jet::Database::open(file, jet::Database::Mode::readOnly);
    ASSERT_TRUE(database.ok()) << "own reader: " << database.status().message();
    auto result = (*database)->openByName(jet::fromUtf8(table));
    ASSERT_TRUE(result.ok()) << "own reader: " << result.status().message();
    ASSERT_EQ(result->columns().size(), columns.size()) << "own reader column count";
    for (std::size_t c = 0; c < columns.size(); ++c)
        EXPECT_EQ(jet::toUtf8(result->columns()[c].name), columns[c])
            << "own reader column " << c + 1;
    ASSERT_EQ(result->rowCount(), rows.size()) << "own reader row count";
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < columns.size(); ++c) {
            auto value = result->value(r, c);
            ASSERT_TRUE(value.ok()) << "own reader row " << r + 1 << " column " << columns[c]
                                    << ": " << value.status().message();
            if (*value != rows[r][c])
                ADD_FAILURE() << "own reader row " << r + 1 << " column " << columns[c] << ": got "
                              << mdbReaderText(*value).substr(0, 200) << ", expected "
                              << mdbReaderText(rows[r][c]).substr(0, 200);
        }
    }
}

// Reads `table` through mdb-export, mdb-reader and the engine's reader and compares every
// cell with `rows`. A missing tool is a failure that says what to install.
inline void expectTableEverywhere(const std::filesystem::path& file, const std::string& table,
                                  const std::vector<std::string>& columns,
                                  const std::vector<std::vector<jet::Value>>& rows) {
    {
        SCOPED_TRACE("mdb-export");
        expectOracleTable("mdb-export", mdbExportRows(file, table), columns, rows, &mdbExportText);
    }
    {
        SCOPED_TRACE("mdb-reader");
        expectOracleTable("mdb-reader", mdbReaderRows(file, table), columns, rows, &mdbReaderText);
    }
    {
        SCOPED_TRACE("own reader");
        expectOwnReader(file, table, columns, rows);
    }
}

}  // namespace kelvora::test
