#include <gtest/gtest.h>

#include "sql/collation.h"

namespace jet::sql {
namespace {

struct FoldCase {
    const char* name;
    char32_t a;
    char32_t b;
    bool equal;
};

const FoldCase kFoldCases[] = {
    {"ASCII letters ignore case", U'Q', U'q', true},
    {"ASCII neighbours of the letters are not folded", U'@', U'`', false},
    {"bracket is not a letter", U'[', U'{', false},
    {"Latin-1 letters ignore case", U'Ä', U'ä', true},
    {"multiplication sign is not a letter", U'×', U'÷', false},
    {"Latin-1 y with diaeresis pairs with Latin Extended-A", U'Ÿ', U'ÿ', true},
    {"Latin Extended-A odd pairs", U'Ĺ', U'ĺ', true},
    {"Latin Extended-B irregular pair", U'Ɓ', U'ɓ', true},
    {"long s is s", U'ſ', U's', true},
    {"micro sign is mu", U'µ', U'μ', true},
    {"Kelvin sign is k", U'\u212A', U'k', true},
    {"Greek letters ignore case", U'Ω', U'ω', true},
    {"Greek accented capitals", U'Ά', U'ά', true},
    {"Greek final sigma is sigma", U'ς', U'σ', true},
    {"Cyrillic letters ignore case", U'Я', U'я', true},
    {"Cyrillic capitals with a mark", U'Ї', U'ї', true},
    {"Cyrillic alternating pairs", U'Ѣ', U'ѣ', true},
    {"Armenian letters ignore case", U'Ա', U'ա', true},
    {"full-width Latin ignores case", U'Ａ', U'ａ', true},
    {"dotted capital I stays apart from i", U'İ', U'i', false},
    {"sharp s stays apart from ss", U'ß', U's', false},
    {"accented letter stays apart from the plain one", U'é', U'e', false},
    {"Arabic yeh is Persian yeh", U'ي', U'ی', true},
    {"alef maksura is Persian yeh", U'ى', U'ی', true},
    {"Arabic kaf is Persian kaf", U'ك', U'ک', true},
    {"Arabic-Indic digit is the ASCII digit", U'٧', U'7', true},
    {"Persian digit is the ASCII digit", U'۷', U'7', true},
    {"Persian and Arabic-Indic digits", U'۰', U'٠', true},
    {"Persian four differs from Persian five", U'۴', U'۵', false},
    {"peh is not beh", U'پ', U'ب', false},
    {"tcheh is not jeem", U'چ', U'ج', false},
    {"jeh is not zain", U'ژ', U'ز', false},
    {"gaf is not kaf", U'گ', U'ک', false},
    {"yeh is not alef", U'ی', U'ا', false},
    {"a character outside the BMP is itself", U'😀', U'😀', true},
};

TEST(Collation, FoldTable) {
    for (const FoldCase& row : kFoldCases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(foldChar(row.a) == foldChar(row.b), row.equal);
    }
}

TEST(Collation, FoldingTwiceChangesNothing) {
    // A run with a wrong delta would land on another capital, or on a letter that folds again.
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        const char32_t folded = foldChar(c);
        if (foldChar(folded) != folded) ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(c);
    }
}

struct IgnoredCase {
    const char* name;
    char32_t c;
    bool ignored;
};

const IgnoredCase kIgnoredCases[] = {
    {"tatweel", 0x0640, true},
    {"fathatan, first vowel mark", 0x064B, true},
    {"sukun, last vowel mark", 0x0652, true},
    {"superscript alef", 0x0670, true},
    {"zero-width non-joiner", 0x200C, true},
    {"maddah above is kept", 0x0653, false},
    {"hamza above is kept", 0x0654, false},
    {"zero-width joiner is kept", 0x200D, false},
    {"Arabic letter before the marks is kept", 0x064A, false},
    {"space is kept", U' ', false},
};

TEST(Collation, IgnoredCharacters) {
    for (const IgnoredCase& row : kIgnoredCases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(isIgnoredChar(row.c), row.ignored);
    }
}

}  // namespace
}  // namespace jet::sql
