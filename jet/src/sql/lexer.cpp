#include "lexer.h"

#include "collation.h"

namespace jet::sql {

namespace {

bool isSpace(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n' || c == U'\v' || c == U'\f';
}

bool isAsciiDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

// Characters outside ASCII that cannot be part of a plain name: spaces, punctuation and
// symbols of Latin-1, the general punctuation block, Arabic punctuation, CJK punctuation and
// the byte order mark. Everything else outside ASCII is taken for a letter, which keeps
// Persian, Arabic and other scripts' names usable without a full Unicode letter table.
bool isNonNameOutsideAscii(char32_t c) {
    if (c >= 0x80 && c <= 0xBF) return c != 0xAA && c != 0xB5 && c != 0xBA;
    if (c == 0xD7 || c == 0xF7) return true;
    if (c >= 0x2000 && c <= 0x206F) return c != 0x200C && c != 0x200D;  // ZWNJ/ZWJ join words
    if (c == 0x060C || c == 0x061B || c == 0x061F || (c >= 0x066A && c <= 0x066D)) return true;
    if (c >= 0x3000 && c <= 0x303F) return true;
    if (c == 0xFEFF) return true;
    return false;
}

// Digits and combining marks may continue a name but not start it.
bool continuesOnly(char32_t c) {
    return isAsciiDigit(c) || (c >= 0x0660 && c <= 0x0669) || (c >= 0x06F0 && c <= 0x06F9) ||
           (c >= 0x064B && c <= 0x065F) || c == 0x0670 || c == 0x200C || c == 0x200D ||
           (c >= 0x0300 && c <= 0x036F);
}

bool startsName(char32_t c) {
    if (c < 0x80) return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || c == U'_';
    return !isNonNameOutsideAscii(c) && !continuesOnly(c);
}

bool continuesName(char32_t c) {
    if (c < 0x80) return startsName(c) || isAsciiDigit(c);
    return !isNonNameOutsideAscii(c);
}

void append(std::u16string& out, char32_t c) {
    if (c > 0xFFFF) {
        out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(c));
    }
}

}  // namespace

Status syntaxError(std::size_t position, std::string_view what) {
    return {StatusCode::syntaxError,
            "syntax error at position " + std::to_string(position) + ": " + std::string(what)};
}

char32_t Lexer::read() {
    ++m_position;
    return readChar(m_text, m_index);
}

char32_t Lexer::peek() const {
    std::size_t index = m_index;
    return readChar(m_text, index);
}

Result<Token> Lexer::next() {
    while (m_index < m_text.size() && isSpace(peek())) read();

    Token token;
    token.position = m_position;
    if (m_index >= m_text.size()) return token;

    const char32_t c = read();
    if (c == U'*') {
        token.kind = Token::Kind::star;
    } else if (c == U';') {
        token.kind = Token::Kind::semicolon;
    } else if (c == U'\'') {
        token.kind = Token::Kind::string;
        for (;;) {
            if (m_index >= m_text.size()) return syntaxError(token.position, "unterminated string literal");
            const char32_t d = read();
            if (d == U'\'') {
                if (m_index < m_text.size() && peek() == U'\'') {
                    read();
                } else {
                    break;
                }
            }
            append(token.text, d);
        }
    } else if (c == U'[') {
        token.kind = Token::Kind::bracketed;
        for (;;) {
            if (m_index >= m_text.size()) return syntaxError(token.position, "unterminated name, expected ]");
            const char32_t d = read();
            if (d == U']') break;
            append(token.text, d);
        }
        if (token.text.empty()) return syntaxError(token.position, "empty name in brackets");
    } else if (startsName(c)) {
        token.kind = Token::Kind::identifier;
        append(token.text, c);
        while (m_index < m_text.size() && continuesName(peek())) append(token.text, read());
    } else {
        token.kind = Token::Kind::other;
        append(token.text, c);
    }
    return token;
}

bool Lexer::isKeyword(const Token& token, std::string_view keyword) {
    if (token.kind != Token::Kind::identifier || token.text.size() != keyword.size()) return false;
    for (std::size_t i = 0; i < keyword.size(); ++i) {
        char16_t c = token.text[i];
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 0x20);
        if (c != static_cast<unsigned char>(keyword[i])) return false;
    }
    return true;
}

}  // namespace jet::sql
