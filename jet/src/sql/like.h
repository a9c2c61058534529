#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace jet::sql {

// A compiled LIKE pattern, matched against whole texts (anchored at both ends).
//
//   %        any run of characters, also none
//   _        exactly one character (a surrogate pair is one character)
//   [abc]    one character of the list; [a-z] a range; [!abc] one character not in the list.
//            Inside a list % and _ are plain characters. A '-' first or last in the list, and
//            a '!' that is the list's only content ("[!]"), are plain characters too.
//   []       nothing: it matches the empty string, as if it were absent
//   [        without a closing ']': this '[' and everything after it are plain characters
//
// Characters compare under the collation of collation.h, on both sides: case-insensitively,
// the Arabic and Persian forms of yeh and kaf as one letter, digits of the three kinds by value,
// and with tatweel, the vowel marks and ZWNJ skipped as if absent (an ignored character inside
// a list is dropped from the list). Ranges compare folded values: [A-Z] and [a-z] are the same
// range, and [۰-۹] takes ASCII, Arabic-Indic and Persian digits alike. Yeh and kaf fold to
// their Persian forms (ی U+06CC, ک U+06A9), so [ا-ی] spans U+0627..06CC: ب to ي and پ چ ژ ک گ,
// with ي and ك folding into it; آ (U+0622) lies below it. A range whose folded ends are in
// descending order matches nothing.
//
// matches() is const and does not allocate, so one matcher may serve a whole scan, also from
// several threads. It never backtracks: a match costs at most O(text length x pattern length).
class LikeMatcher {
public:
    explicit LikeMatcher(std::u16string_view pattern);

    bool matches(std::u16string_view text) const;

private:
    // One element that consumes exactly one character of the text.
    struct Atom {
        enum class Kind : std::uint8_t { literal, any, list };
        Kind kind = Kind::literal;
        bool negated = false;          // list only
        char32_t ch = 0;               // literal only: the folded character
        std::uint32_t rangeBegin = 0;  // list only: index into m_ranges
        std::uint32_t rangeEnd = 0;
    };
    // Folded, inclusive; a single character is a range of one.
    struct Range {
        char32_t low;
        char32_t high;
    };
    // A run of atoms between two '%'.
    struct Segment {
        std::uint32_t begin;  // index into m_atoms
        std::uint32_t end;
    };

    bool atomMatches(const Atom& atom, char32_t folded) const;
    // Matches the segment at `pos`; on success returns true and moves `pos` past it.
    bool matchAt(const Segment& segment, std::u16string_view text, std::size_t& pos) const;
    // Finds the leftmost match of `segment` starting at or after `pos`; moves `pos` past it.
    bool findFrom(const Segment& segment, std::u16string_view text, std::size_t& pos) const;

    std::vector<Atom> m_atoms;
    std::vector<Range> m_ranges;
    std::vector<Segment> m_segments;  // at least one; a pattern with k '%' has k + 1
};

}  // namespace jet::sql
