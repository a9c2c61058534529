#include "like.h"

#include <array>

#include <string>

#include "collation.h"

namespace jet::sql {

LikeMatcher::LikeMatcher(std::u16string_view pattern) {
    // Ignored characters count as absent, so they leave the pattern before it is read: a mark
    // between two letters then neither splits a literal run nor becomes a list item.
    std::u32string chars;
    for (std::size_t pos = 0; pos < pattern.size();) {
        const char32_t c = readChar(pattern, pos);
        if (!isIgnoredChar(c)) chars.push_back(c);
    }

    auto literal = [this](char32_t c) {
        Atom atom;
        atom.kind = Atom::Kind::literal;
        atom.ch = foldChar(c);
        m_atoms.push_back(atom);
    };

    std::uint32_t segmentBegin = 0;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const char32_t c = chars[i];
        if (c == U'%') {
            m_segments.push_back({segmentBegin, static_cast<std::uint32_t>(m_atoms.size())});
            segmentBegin = static_cast<std::uint32_t>(m_atoms.size());
        } else if (c == U'_') {
            Atom atom;
            atom.kind = Atom::Kind::any;
            m_atoms.push_back(atom);
        } else if (c == U'[') {
            const std::size_t close = chars.find(U']', i + 1);
            if (close == std::u32string::npos) {
                // No list after all: the '[' and the rest are plain characters.
                for (; i < chars.size(); ++i) literal(chars[i]);
                break;
            }
            std::size_t k = i + 1;
            i = close;
            if (k == close) continue;  // "[]" stands for nothing
            Atom atom;
            atom.kind = Atom::Kind::list;
            if (chars[k] == U'!' && close - k > 1) {
                atom.negated = true;
                ++k;
            }
            atom.rangeBegin = static_cast<std::uint32_t>(m_ranges.size());
            while (k < close) {
                const char32_t low = chars[k];
                if (k + 2 < close && chars[k + 1] == U'-') {
                    m_ranges.push_back({foldChar(low), foldChar(chars[k + 2])});
                    k += 3;
                } else {
                    m_ranges.push_back({foldChar(low), foldChar(low)});
                    ++k;
                }
            }
            atom.rangeEnd = static_cast<std::uint32_t>(m_ranges.size());
            m_atoms.push_back(atom);
        } else {
            literal(c);
        }
    }
    m_segments.push_back({segmentBegin, static_cast<std::uint32_t>(m_atoms.size())});
}

bool LikeMatcher::atomMatches(const Atom& atom, char32_t folded) const {
    switch (atom.kind) {
    case Atom::Kind::literal:
        return atom.ch == folded;
    case Atom::Kind::any:
        return true;
    case Atom::Kind::list:
        for (std::uint32_t r = atom.rangeBegin; r < atom.rangeEnd; ++r) {
            if (folded >= m_ranges[r].low && folded <= m_ranges[r].high) return !atom.negated;
        }
        return atom.negated;
    }
    return false;
}

bool LikeMatcher::matchAt(const Segment& segment, std::u16string_view text, std::size_t& pos) const {
    std::size_t p = pos;
    for (std::uint32_t a = segment.begin; a < segment.end; ++a) {
        char32_t folded;
        if (!readFolded(text, p, folded) || !atomMatches(m_atoms[a], folded)) return false;
    }
    pos = p;
    return true;
}

namespace {

// The code units that fold to `folded` when they can all be listed: Arabic-block letters and
// digits, into which case folding maps nothing from elsewhere. Returns how many (0: unknown,
// the caller folds each character instead).
std::size_t storedForms(char32_t folded, std::array<char16_t, 3>& forms) {
    if (folded >= U'0' && folded <= U'9') {
        const auto digit = static_cast<char16_t>(folded - U'0');
        forms = {static_cast<char16_t>(folded), static_cast<char16_t>(0x0660 + digit),
                 static_cast<char16_t>(0x06F0 + digit)};
        return 3;
    }
    if (folded == 0x06CC) {
        forms = {0x06CC, 0x064A, 0x0649};
        return 3;
    }
    if (folded == 0x06A9) {
        forms = {0x06A9, 0x0643};
        return 2;
    }
    if (folded >= 0x0600 && folded <= 0x06FF) {
        forms = {static_cast<char16_t>(folded)};
        return 1;
    }
    return 0;
}

}  // namespace

bool LikeMatcher::findFrom(const Segment& segment, std::u16string_view text, std::size_t& pos) const {
    if (segment.begin == segment.end) return true;
    const Atom& first = m_atoms[segment.begin];
    if (first.kind == Atom::Kind::literal) {
        // The common '%word%': a scan for the first letter. Ignored characters need no skipping
        // here, as they fold to themselves and never equal a pattern character.
        const char32_t wanted = first.ch;
        std::array<char16_t, 3> forms{};
        if (const std::size_t count = storedForms(wanted, forms); count > 0) {
            // Every stored form of the letter is known: compare code units, no folding.
            for (std::size_t start = pos; start < text.size(); ++start) {
                const char16_t unit = text[start];
                if (unit != forms[0] && (count < 2 || unit != forms[1]) &&
                    (count < 3 || unit != forms[2]))
                    continue;
                std::size_t p = start;
                if (matchAt(segment, text, p)) {
                    pos = p;
                    return true;
                }
            }
            return false;
        }
        for (std::size_t start = pos; start < text.size();) {
            std::size_t next = start;
            if (foldChar(readChar(text, next)) == wanted) {
                std::size_t p = start;
                if (matchAt(segment, text, p)) {
                    pos = p;
                    return true;
                }
            }
            start = next;
        }
        return false;
    }
    std::size_t start = pos;
    for (;;) {
        skipIgnored(text, start);
        if (start >= text.size()) return false;
        std::size_t next = start;
        const char32_t folded = foldChar(readChar(text, next));
        if (atomMatches(first, folded)) {
            std::size_t p = start;
            if (matchAt(segment, text, p)) {
                pos = p;
                return true;
            }
        }
        start = next;
    }
}

bool LikeMatcher::matches(std::u16string_view text) const {
    std::size_t pos = 0;
    if (!matchAt(m_segments.front(), text, pos)) return false;
    if (m_segments.size() == 1) {
        skipIgnored(text, pos);
        return pos == text.size();
    }

    // Between the first and the last '%', each segment is taken at its leftmost match: it has a
    // fixed length, so an earlier match never leaves less room for what follows. This is what
    // keeps the cost at text length x pattern length whatever the pattern.
    for (std::size_t s = 1; s + 1 < m_segments.size(); ++s) {
        if (!findFrom(m_segments[s], text, pos)) return false;
    }

    // The last segment ends the text: step back over as many counted characters as it has atoms.
    const Segment& last = m_segments.back();
    std::size_t start = text.size();
    for (std::uint32_t counted = 0; counted < last.end - last.begin;) {
        if (start <= pos) return false;
        std::size_t s = start - 1;
        if (s > pos && text[s] >= 0xDC00 && text[s] <= 0xDFFF && text[s - 1] >= 0xD800 &&
            text[s - 1] <= 0xDBFF)
            --s;
        if (!isIgnoredChar(text[s])) ++counted;
        start = s;
    }
    return matchAt(last, text, start);
}

}  // namespace jet::sql
