#pragma once

// A small database made with our builder for the reader's statement and catalogue tests:
// Persian titles (with the Arabic forms of kaf and yeh), a null and an empty title, a memo of
// several hundred kilobytes, a table and a column with non-Latin names, and a saved query.

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "jet/builder.h"
#include "test_files.h"

namespace kelvora::test {

// Characters in the long memo of row 1 (shomare 1): U+0628 repeated, then "پایان".
inline constexpr std::size_t kLongMemoRepeat = 300000;

inline jet::DatabaseSpec readerFixtureSpec() {
    using jet::ColumnType;
    using jet::Value;
    jet::DatabaseSpec spec;
    jet::TableSpec kolliyat;
    kolliyat.name = u"Kolliyat";
    kolliyat.columns = {{u"kholase", ColumnType::text, 255},
                        {u"porsesh", ColumnType::memo},
                        {u"shomare", ColumnType::longInteger}};
    auto text = [](const char16_t* s) { return Value(std::u16string(s)); };
    auto number = [](std::int64_t n) { return Value(n); };
    kolliyat.rows = {
        {text(u"سلام دنیا"), Value(std::u16string(kLongMemoRepeat, u'ب') + u"پایان"), number(1)},
        {text(u"كتاب علي"), text(u"پرسش"), number(2)},
        {Value(jet::Null{}), text(u"x"), number(3)},
        {text(u""), Value(jet::Null{}), number(4)},
        {text(u"Book ONE, \"two\"\nthree"), text(u"memo"), number(5)},
    };
    jet::TableSpec cyrillic;
    cyrillic.name = u"Ёлка";
    cyrillic.columns = {{u"Ästhetik", ColumnType::text, 50}};
    cyrillic.rows = {{text(u"ель")}};
    spec.tables = {kolliyat, cyrillic};
    spec.queries = {{u"Qkolliyat", u"Kolliyat"}};
    return spec;
}

// Writes the fixture to `path`; empty string on success, else the builder's message.
inline std::string writeReaderFixture(const std::filesystem::path& path) {
    const jet::Status status = jet::createDatabase(path, readerFixtureSpec());
    return status.ok() ? std::string() : status.message();
}

// The fixture's bytes (built once per process).
inline const std::vector<std::uint8_t>& readerFixtureBytes() {
    static const std::vector<std::uint8_t> bytes = [] {
        const auto path = std::filesystem::temp_directory_path() /
                          ("kelvora-reader-fixture-" + std::to_string(::getpid()) + ".mdb");
        if (!writeReaderFixture(path).empty()) return std::vector<std::uint8_t>();
        auto read = readFileBytes(path);
        std::filesystem::remove(path);
        return read;
    }();
    return bytes;
}

}  // namespace kelvora::test
