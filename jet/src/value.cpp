#include "jet/value.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace jet {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void appendHex(std::string& out, std::uint8_t byte) {
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0xF];
}

template <typename Float>
std::string shortestText(Float value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

// Days since 1970-01-01 to a civil date (proleptic Gregorian calendar).
void civilFromDays(std::int64_t days, std::int64_t& year, unsigned& month, unsigned& day) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
}

// Jet dates count days from 1899-12-30; before that day the whole part is negative while the
// fraction still counts forward from midnight (-1.25 is 1899-12-29 06:00).
std::string dateText(double days) {
    // Beyond about 27,000 years either way the value is not a date anyone stored.
    if (!std::isfinite(days) || std::fabs(days) > 1.0e7) return shortestText(days);
    double whole = std::trunc(days);
    double fraction = std::fabs(days - whole);
    auto seconds = static_cast<std::int64_t>(std::llround(fraction * 86400.0));
    auto dayNumber = static_cast<std::int64_t>(whole);
    if (seconds >= 86400) {
        seconds -= 86400;
        dayNumber += 1;
    }
    constexpr std::int64_t kJetEpochFromUnix = -25569;  // 1899-12-30
    std::int64_t year = 0;
    unsigned month = 0;
    unsigned day = 0;
    civilFromDays(dayNumber + kJetEpochFromUnix, year, month, day);
    char text[64];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02lld:%02lld:%02lld",
                  static_cast<long long>(year), month, day, static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
}

std::string currencyText(Currency value) {
    const bool negative = value.tenThousandths < 0;
    // Work unsigned so the most negative value does not overflow.
    std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value.tenThousandths)
                                       : static_cast<std::uint64_t>(value.tenThousandths);
    std::string out = negative ? "-" : "";
    out += std::to_string(magnitude / 10000);
    std::uint64_t fraction = magnitude % 10000;
    if (fraction != 0) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%04u", static_cast<unsigned>(fraction));
        std::string text = digits;
        while (text.back() == '0') text.pop_back();
        out += "." + text;
    }
    return out;
}

std::string decimalText(const Decimal& value) {
    unsigned __int128 magnitude = 0;
    for (int word = 3; word >= 0; --word) magnitude = (magnitude << 32) | value.magnitude[word];
    std::string digits;
    // Digits least significant first, with the point and leading zeros as the scale needs.
    const std::size_t scale = value.scale;
    std::string reversed;
    bool zero = true;
    for (std::size_t position = 0; magnitude != 0 || position <= scale; ++position) {
        if (position == scale && scale > 0) reversed += '.';
        const int digit = static_cast<int>(magnitude % 10);
        zero = zero && digit == 0;
        reversed += static_cast<char>('0' + digit);
        magnitude /= 10;
    }
    if (value.negative && !zero) reversed += '-';
    return std::string(reversed.rbegin(), reversed.rend());
}

std::string guidText(const Guid& guid) {
    // The first three groups are little-endian numbers; the last eight bytes print as stored.
    static constexpr int kOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    std::string out = "{";
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) out += '-';
        appendHex(out, guid.bytes[kOrder[i]]);
    }
    out += '}';
    return out;
}

}  // namespace

std::string columnTypeName(std::uint8_t code) {
    switch (static_cast<ColumnType>(code)) {
        case ColumnType::boolean:
            return "boolean";
        case ColumnType::byte:
            return "byte";
        case ColumnType::integer:
            return "integer";
        case ColumnType::longInteger:
            return "long";
        case ColumnType::currency:
            return "currency";
        case ColumnType::single:
            return "single";
        case ColumnType::doubleFloat:
            return "double";
        case ColumnType::dateTime:
            return "datetime";
        case ColumnType::binary:
            return "binary";
        case ColumnType::text:
            return "text";
        case ColumnType::ole:
            return "ole";
        case ColumnType::memo:
            return "memo";
        case ColumnType::guid:
            return "guid";
        case ColumnType::decimal:
            return "decimal";
    }
    char text[16];
    std::snprintf(text, sizeof text, "type 0x%02X", code);
    return text;
}

std::string toDisplayText(const Value& value) {
    struct Visitor {
        std::string operator()(const Null&) const { return {}; }
        std::string operator()(bool v) const { return v ? "true" : "false"; }
        std::string operator()(std::int64_t v) const { return std::to_string(v); }
        std::string operator()(Currency v) const { return currencyText(v); }
        std::string operator()(float v) const { return shortestText(v); }
        std::string operator()(double v) const { return shortestText(v); }
        std::string operator()(DateTime v) const { return dateText(v.days); }
        std::string operator()(const Guid& v) const { return guidText(v); }
        std::string operator()(const Decimal& v) const { return decimalText(v); }
        std::string operator()(const std::u16string& v) const { return toUtf8(v); }
        std::string operator()(const std::vector<std::uint8_t>& v) const {
            std::string out(v.size() * 2, '0');
            for (std::size_t i = 0; i < v.size(); ++i) {
                out[2 * i] = kHexDigits[v[i] >> 4];
                out[2 * i + 1] = kHexDigits[v[i] & 0xF];
            }
            return out;
        }
    };
    return std::visit(Visitor{}, value);
}

std::string toUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;  // an unpaired surrogate has no UTF-8 form
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u16string fromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        char32_t c = 0xFFFD;
        std::size_t length = 1;
        char32_t minimum = 0;
        if (lead < 0x80) {
            c = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            c = lead & 0x1F, length = 2, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            c = lead & 0x0F, length = 3, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            c = lead & 0x07, length = 4, minimum = 0x10000;
        } else {
            length = 0;  // a stray continuation byte or an invalid lead
        }
        bool valid = length > 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) valid = false;
            c = (c << 6) | (next & 0x3F);
        }
        if (length > 1 && valid && (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)))
            valid = false;
        if (!valid) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        i += length;
    }
    return out;
}

}  // namespace jet
