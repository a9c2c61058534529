// Display text of every value type (what jetsql prints) and the UTF-8 conversions.

#include <gtest/gtest.h>

#include "jet/value.h"

namespace {

struct DisplayCase {
    const char* name;
    jet::Value value;
    std::string text;
};

class DisplayTextTest : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayTextTest, PrintsTheValue) {
    EXPECT_EQ(jet::toDisplayText(GetParam().value), GetParam().text);
}

jet::Decimal decimal(bool negative, std::uint32_t low, std::uint32_t high, std::uint8_t scale) {
    return jet::Decimal{negative, {low, 0, 0, high}, scale};
}

INSTANTIATE_TEST_SUITE_P(
    AllTypes, DisplayTextTest,
    ::testing::Values(
        DisplayCase{"null_is_empty", jet::Null{}, ""}, DisplayCase{"boolean", true, "true"},
        DisplayCase{"negative_integer", std::int64_t{-32768}, "-32768"},
        DisplayCase{"currency_trims_zeros", jet::Currency{123400}, "12.34"},
        DisplayCase{"currency_whole", jet::Currency{50000}, "5"},
        DisplayCase{"currency_most_negative", jet::Currency{INT64_MIN}, "-922337203685477.5808"},
        DisplayCase{"single_shortest_form", 0.1f, "0.1"},
        DisplayCase{"double_shortest_form", 1.0 / 3, "0.3333333333333333"},
        DisplayCase{"date_epoch", jet::DateTime{0}, "1899-12-30 00:00:00"},
        DisplayCase{"date_with_time", jet::DateTime{44568.5440625}, "2022-01-07 13:03:27"},
        DisplayCase{"date_rounds_to_next_day", jet::DateTime{44568.9999999}, "2022-01-08 00:00:00"},
        DisplayCase{"date_before_epoch_counts_time_forward", jet::DateTime{-1.25},
                    "1899-12-29 06:00:00"},
        DisplayCase{"leap_day", jet::DateTime{36585}, "2000-02-29 00:00:00"},
        DisplayCase{"guid_groups_little_endian",
                    jet::Guid{{0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66, 0x88, 0x99, 0xAA,
                               0xBB, 0xCC, 0xDD, 0xEE, 0xFF}},
                    "{00112233-4455-6677-8899-AABBCCDDEEFF}"},
        DisplayCase{"decimal_scale_pads_zeros", decimal(false, 5, 0, 3), "0.005"},
        DisplayCase{"decimal_negative", decimal(true, 12345, 0, 2), "-123.45"},
        DisplayCase{"decimal_negative_zero_has_no_sign", decimal(true, 0, 0, 1), "0.0"},
        DisplayCase{"decimal_uses_all_128_bits", decimal(false, 0, 1, 0),
                    "79228162514264337593543950336"},
        DisplayCase{"text_to_utf8", std::u16string(u"پرسش"), "پرسش"},
        DisplayCase{"binary_as_upper_hex", std::vector<std::uint8_t>{0x00, 0xAB, 0x10}, "00AB10"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utf8Test, SurrogatePairsAndBrokenInputRoundTripSafely) {
    const std::u16string withPair = u"a\U0001F600ب";
    EXPECT_EQ(jet::toUtf8(withPair), "a\xF0\x9F\x98\x80\xD8\xA8");
    EXPECT_EQ(jet::fromUtf8(jet::toUtf8(withPair)), withPair);
    EXPECT_EQ(jet::toUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD") << "a lone surrogate";
    EXPECT_EQ(jet::fromUtf8("\xC3"), u"\uFFFD") << "a cut sequence";
    EXPECT_EQ(jet::fromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD") << "an overlong form";
    EXPECT_EQ(jet::fromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD") << "an encoded surrogate";
}

TEST(ColumnTypeNameTest, NamesKnownAndUnknownCodes) {
    EXPECT_EQ(jet::columnTypeName(0x0C), "memo");
    EXPECT_EQ(jet::columnTypeName(0x10), "decimal");
    EXPECT_EQ(jet::columnTypeName(0x11), "type 0x11");
}

}  // namespace
