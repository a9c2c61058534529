#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace jet {

// Column type codes as stored in a table definition.
enum class ColumnType : std::uint8_t {
    boolean = 0x01,
    byte = 0x02,
    integer = 0x03,
    longInteger = 0x04,
    currency = 0x05,
    single = 0x06,
    doubleFloat = 0x07,
    dateTime = 0x08,
    binary = 0x09,
    text = 0x0A,
    ole = 0x0B,
    memo = 0x0C,
    guid = 0x0F,
    decimal = 0x10,
};

// Lower-case English name of a type ("text", "memo", ...); "type 0x11" for codes we do not know.
std::string columnTypeName(std::uint8_t code);

struct Currency {
    std::int64_t tenThousandths = 0;  // value x 10,000
    bool operator==(const Currency&) const = default;
};
struct DateTime {
    double days = 0;  // days since 1899-12-30; the fraction is the time of day
    bool operator==(const DateTime&) const = default;
};
struct Guid {
    std::array<std::uint8_t, 16> bytes{};  // as stored
    bool operator==(const Guid&) const = default;
};
struct Decimal {
    bool negative = false;
    std::array<std::uint32_t, 4> magnitude{};  // 128-bit, least significant word first
    std::uint8_t scale = 0;
    bool operator==(const Decimal&) const = default;
};
struct Null {
    bool operator==(const Null&) const = default;
};

// One decoded column value. Integers of every width are widened to int64.
using Value = std::variant<Null, bool, std::int64_t, Currency, float, double, DateTime, Guid,
                           Decimal, std::u16string, std::vector<std::uint8_t>>;

inline bool isNull(const Value& value) { return std::holds_alternative<Null>(value); }

// Text for display and CSV (UTF-8): numbers as Jet prints them closely enough for inspection,
// dates as "YYYY-MM-DD HH:MM:SS", GUIDs in braces, binary as hex; null as "".
std::string toDisplayText(const Value& value);

std::string toUtf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view text);

}  // namespace jet
