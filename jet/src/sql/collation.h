#pragma once

#include <cstddef>
#include <string_view>

namespace jet::sql {

// How LIKE compares characters; the one place these rules live.
//
// Two characters are equal when their folded values are equal:
//   - letters fold by Unicode simple case folding (the BMP: Latin, Greek, Cyrillic, Armenian,
//     Georgian, full-width Latin, ...), so case never matters;
//   - ي U+064A, ى U+0649 and ی U+06CC fold to ی U+06CC; ك U+0643 and ک U+06A9 fold to ک U+06A9;
//   - Arabic-Indic (U+0660..0669) and Persian (U+06F0..06F9) digits fold to the ASCII digit of
//     the same value.
// Nothing else is folded: پ چ ژ گ stay apart from ب ج ز ك, and accented letters from plain ones.
//
// Ignored characters count as absent in the text and in the pattern alike: tatweel U+0640, the
// vowel marks U+064B..0652 and U+0670, and ZWNJ U+200C.

// Unicode simple case folding; characters outside the BMP come back unchanged.
char32_t foldCase(char32_t c);

// The value `c` compares by. Inline for ASCII and the Arabic block, which make up nearly all of
// the text LIKE scans.
inline char32_t foldChar(char32_t c) {
    if (c < 0x80) return (c >= U'A' && c <= U'Z') ? c + 0x20 : c;
    if (c < 0x0600 || c > 0x06FF) return foldCase(c);
    if (c == 0x064A || c == 0x0649) return 0x06CC;  // ي Arabic yeh, ى alef maksura: ی
    if (c == 0x0643) return 0x06A9;                 // ك Arabic kaf: ک
    if (c >= 0x0660 && c <= 0x0669) return U'0' + (c - 0x0660);
    if (c >= 0x06F0 && c <= 0x06F9) return U'0' + (c - 0x06F0);
    return c;
}

inline bool isIgnoredChar(char32_t c) {
    return c == 0x0640 || (c >= 0x064B && c <= 0x0652) || c == 0x0670 || c == 0x200C;
}

// Reads the character at `pos` (< text.size()) and moves `pos` past it: a surrogate pair is one
// character; an unpaired surrogate stands for itself.
inline char32_t readChar(std::u16string_view text, std::size_t& pos) {
    const char32_t unit = text[pos++];
    if (unit >= 0xD800 && unit <= 0xDBFF && pos < text.size()) {
        const char32_t low = text[pos];
        if (low >= 0xDC00 && low <= 0xDFFF) {
            ++pos;
            return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    return unit;
}

// Moves `pos` past any ignored characters.
inline void skipIgnored(std::u16string_view text, std::size_t& pos) {
    // Every ignored character is a single code unit.
    while (pos < text.size() && isIgnoredChar(text[pos])) ++pos;
}

// The next character that counts, folded: skips ignored characters, then reads one. Returns
// false when the text ends first.
inline bool readFolded(std::u16string_view text, std::size_t& pos, char32_t& folded) {
    skipIgnored(text, pos);
    if (pos >= text.size()) return false;
    folded = foldChar(readChar(text, pos));
    return true;
}

}  // namespace jet::sql
