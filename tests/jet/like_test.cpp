#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "sql/like.h"

namespace jet::sql {
namespace {

struct LikeCase {
    const char* name;
    std::u16string_view pattern;
    std::u16string_view text;
    bool matches;
};

const LikeCase kWildcards[] = {
    {"percent takes an empty run", u"%abc%", u"abc", true},
    {"percent takes a long run", u"a%z", u"a-long-middle-z", true},
    {"percent alone takes the empty text", u"%", u"", true},
    {"empty pattern takes only the empty text", u"", u"a", false},
    {"empty pattern and empty text", u"", u"", true},
    {"no percent: the whole text must match", u"abc", u"abcd", false},
    {"anchored at the start", u"abc%", u"xabc", false},
    {"anchored at the end", u"%abc", u"abcx", false},
    {"middle segment found after an earlier false start", u"%aab%", u"aaab", true},
    {"last segment must not overlap the first", u"ab%ba", u"aba", false},
    {"middle segment must not overlap the last", u"%ab%bc", u"abc", false},
    {"consecutive percents", u"a%%b", u"ab", true},
    {"underscore takes exactly one", u"a_c", u"abc", true},
    {"underscore does not take nothing", u"a_c", u"ac", false},
    {"underscore does not take two", u"a_c", u"abbc", false},
    {"one character against two underscores", u"__", u"a", false},
    {"underscore takes one Persian letter", u"م_ز", u"میز", true},
    {"underscore takes a surrogate pair as one", u"_", u"😀", true},
    {"surrogate pair is not two characters", u"__", u"😀", false},
    {"surrogate pair counted once from the end", u"%_b", u"a😀b", true},
    {"surrogate pair as a literal", u"%😀%", u"a😀b", true},
    {"unpaired surrogate is a character", u"a_b",
     u"a\xD800"
     u"b",
     true},
    {"list takes one of its characters", u"[abc]", u"b", true},
    {"surrogate pair inside a list is one item", u"[😀x]", u"😀", true},
    {"Latin-1 range folds case", u"[à-þ]", u"Ç", true},
    {"list refuses others", u"[abc]", u"d", false},
    {"range", u"x[a-z]x", u"xqx", true},
    {"range compares folded case", u"[a-z]", u"Q", true},
    {"upper-case range takes lower case", u"[A-Z]", u"q", true},
    {"outside the range", u"[a-f]", u"g", false},
    {"descending range matches nothing", u"[z-a]", u"m", false},
    {"negated list", u"[!abc]", u"d", true},
    {"negated list refuses its characters", u"[!abc]", u"B", false},
    {"negated list still takes one character", u"a[!b]", u"a", false},
    {"percent inside a list is literal", u"[%]", u"%", true},
    {"percent inside a list is not a wildcard", u"[%]", u"x", false},
    {"underscore inside a list is not a wildcard", u"[_]", u"x", false},
    {"bracket in a list matches a bracket", u"[[]", u"[", true},
    {"hyphen first in a list is literal", u"[-a]", u"-", true},
    {"hyphen last in a list is literal", u"[a-]", u"-", true},
    {"lone bang in a list is literal", u"[!]", u"!", true},
    {"lone bang in a list is not a negation", u"[!]", u"x", false},
    {"bang outside a list is literal", u"!a", u"!a", true},
    {"empty list stands for nothing", u"a[]b", u"ab", true},
    {"empty list takes no character", u"a[]b", u"axb", false},
    {"unclosed bracket is literal", u"a[b", u"a[b", true},
    {"unclosed bracket is not a list", u"a[b", u"ab", false},
    {"percent after an unclosed bracket is literal", u"[a%", u"[a%", true},
    {"percent after an unclosed bracket is no wildcard", u"[a%", u"[abc", false},
    {"apostrophe is an ordinary character", u"%it's%", u"so it's here", true},
    {"apostrophe must be there", u"%it's%", u"its", false},
    {"text of spaces only against a word", u"%abc%", u"   ", false},
    {"text of spaces only against spaces", u"% %", u"   ", true},
    {"Persian range takes peh, tcheh, jeh and gaf", u"[ا-ی][ا-ی][ا-ی][ا-ی]", u"گپچژ", true},
    {"Persian range takes the Arabic yeh and kaf", u"[ا-ی][ا-ی]", u"يك", true},
    {"digit range takes all three kinds", u"[۰-۹][۰-۹][۰-۹]", u"5٥۵", true},
    {"digit range refuses letters", u"[0-9]", u"a", false},
};

const LikeCase kFolding[] = {
    {"ASCII case, pattern upper", u"%ABC%", u"xabcx", true},
    {"ASCII case, text upper", u"%abc%", u"XABCX", true},
    {"Latin-1 case", u"É", u"é", true},
    {"Latin Extended case", u"ŁŻ", u"łż", true},
    {"accents are not folded", u"e", u"é", false},
    {"Greek case", u"ΣΟΦΙΑ", u"σοφια", true},
    {"Greek final sigma", u"Σ", u"ς", true},
    {"Cyrillic case", u"ЖЁ", u"жё", true},
    {"Persian yeh in text, Arabic yeh in pattern", u"%علي%", u"علی", true},
    {"Arabic yeh in text, Persian yeh in pattern", u"%علی%", u"علي", true},
    {"alef maksura equals both yehs", u"مصطفی", u"مصطفى", true},
    {"Persian kaf in text, Arabic kaf in pattern", u"%كتاب%", u"کتاب", true},
    {"Arabic kaf in text, Persian kaf in pattern", u"%کتاب%", u"كتاب", true},
    {"Persian digits in text, ASCII in pattern", u"%123%", u"۱۲۳", true},
    {"ASCII digits in text, Persian in pattern", u"%۱۲۳%", u"123", true},
    {"Arabic-Indic and Persian digits", u"١٢٣", u"۱۲۳", true},
    {"scan for a first yeh finds the Persian form", u"%يک%", u"از یک", true},
    {"scan for a first yeh finds alef maksura", u"%یک%", u"ازىک", true},
    {"scan for a first digit finds Arabic-Indic", u"%۲%", u"ab٢", true},
    {"scan for a first letter skips a look-alike", u"%گل%", u"کل", false},
    {"digits of different value stay apart", u"۱", u"2", false},
    {"tatweel in text is ignored", u"کتاب", u"کـتـاب", true},
    {"tatweel in pattern is ignored", u"%کـتاب%", u"کتاب", true},
    {"vowel marks in text are ignored", u"كتب", u"كَتَبَ", true},
    {"vowel mark in pattern is ignored", u"%مُ%", u"محمد", true},
    {"superscript alef is ignored", u"رحمن", u"رحمٰن", true},
    {"ZWNJ in pattern is ignored", u"%مي\u200Cشود%", u"ميشود", true},
    {"ZWNJ in text is ignored", u"%ميشود%", u"مي\u200Cشود", true},
    {"underscore does not consume an ignored character", u"a_b", u"a\u0640b", false},
    {"underscore skips an ignored character to take the next", u"a_b", u"a\u0640xb", true},
    {"only ignored characters equal the empty text", u"", u"\u0640\u200C", true},
    {"ignored character at the end of the text", u"ab", u"ab\u064E", true},
    {"ignored character at the end after a percent", u"%b", u"ab\u064E", true},
    {"ignored character counted out from the end", u"%_b", u"b\u064Eb", true},
    {"ignored character inside a list is dropped", u"[\u0640a]", u"a", true},
    {"peh is not beh", u"پ", u"ب", false},
    {"beh is not peh", u"ب", u"پ", false},
    {"tcheh is not jeem", u"%چ%", u"ج", false},
    {"jeh is not zain", u"ژ", u"ز", false},
    {"gaf is not Arabic kaf", u"گ", u"ك", false},
    {"gaf is not Persian kaf", u"ک", u"گ", false},
    {"heh is not teh marbuta", u"ه", u"ة", false},
    {"alef with hamza is not alef", u"أ", u"ا", false},
};

void check(const LikeCase& row) {
    SCOPED_TRACE(row.name);
    const LikeMatcher matcher(row.pattern);
    EXPECT_EQ(matcher.matches(row.text), row.matches);
}

TEST(Like, Wildcards) {
    for (const LikeCase& row : kWildcards) check(row);
}

TEST(Like, Folding) {
    for (const LikeCase& row : kFolding) check(row);
}

TEST(Like, PathologicalPatternsDoNotBacktrack) {
    const std::u16string as(10000, u'a');
    const LikeMatcher manyPercents(u"%a%a%a%a%a%a%a%b");
    EXPECT_FALSE(manyPercents.matches(as));
    EXPECT_TRUE(manyPercents.matches(as + u"b"));

    const LikeMatcher manyUnderscores(u"%_%_%_%_%_%_%_%_%_%_%c");
    EXPECT_FALSE(manyUnderscores.matches(as));
    EXPECT_TRUE(manyUnderscores.matches(as + u"c"));
}

// Every pattern of up to four elements from {a, b, _, %} against every text of up to six
// characters from {a, b, tatweel}, compared with a plain backtracking matcher: catches a
// segment taken at the wrong place, overlapping anchors and miscounted ignored characters.
bool naiveMatch(std::u16string_view pattern, std::u16string_view text) {
    if (pattern.empty()) return text.empty();
    if (pattern[0] == u'%') {
        for (std::size_t skip = 0; skip <= text.size(); ++skip) {
            if (naiveMatch(pattern.substr(1), text.substr(skip))) return true;
        }
        return false;
    }
    if (text.empty()) return false;
    if (pattern[0] != u'_' && pattern[0] != text[0]) return false;
    return naiveMatch(pattern.substr(1), text.substr(1));
}

std::u16string word(std::size_t index, std::size_t length, std::u16string_view alphabet) {
    std::u16string out;
    for (std::size_t i = 0; i < length; ++i, index /= alphabet.size())
        out += alphabet[index % alphabet.size()];
    return out;
}

TEST(Like, AgreesWithBacktrackingOnSmallCases) {
    constexpr std::u16string_view kPatternAlphabet = u"ab_%";
    constexpr std::u16string_view kTextAlphabet = u"ab\u0640";
    std::size_t mismatches = 0;
    for (std::size_t patternLength = 0; patternLength <= 4; ++patternLength) {
        std::size_t patternCount = 1;
        for (std::size_t i = 0; i < patternLength; ++i) patternCount *= kPatternAlphabet.size();
        for (std::size_t p = 0; p < patternCount; ++p) {
            const std::u16string pattern = word(p, patternLength, kPatternAlphabet);
            const LikeMatcher matcher(pattern);
            for (std::size_t textLength = 0, textCount = 1; textLength <= 6;
                 ++textLength, textCount *= kTextAlphabet.size()) {
                for (std::size_t t = 0; t < textCount; ++t) {
                    const std::u16string text = word(t, textLength, kTextAlphabet);
                    std::u16string counted;
                    for (char16_t c : text) {
                        if (c != u'\u0640') counted += c;
                    }
                    if (matcher.matches(text) != naiveMatch(pattern, counted) && ++mismatches <= 5) {
                        ADD_FAILURE() << "pattern " << testing::PrintToString(pattern) << " text "
                                      << testing::PrintToString(text);
                    }
                }
            }
        }
    }
    EXPECT_EQ(mismatches, 0u);
}

}  // namespace
}  // namespace jet::sql
