#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "jet/status.h"

namespace jet::sql {

struct Token {
    enum class Kind {
        end,         // no more text
        identifier,  // a plain name or keyword; `text` as written
        bracketed,   // [name]; `text` without the brackets
        string,      // 'literal'; `text` with '' turned into '
        star,
        semicolon,
        other,  // any other character; `text` holds it
    };
    Kind kind = Kind::end;
    std::u16string text;
    std::size_t position = 0;  // 1-based, in characters (a surrogate pair is one)
};

// Splits a statement into tokens, one at a time, skipping white space (space, tab, CR, LF, VT,
// FF). The only lexical errors are an unterminated string literal, an unterminated or empty
// bracketed name; they come back as StatusCode::syntaxError. Views `text`, which must outlive
// the lexer.
class Lexer {
public:
    explicit Lexer(std::u16string_view text) : m_text(text) {}

    Result<Token> next();

    // Case-insensitive match of an identifier against an ASCII keyword in capitals.
    static bool isKeyword(const Token& token, std::string_view keyword);

private:
    char32_t read();  // the character at m_index, moving past it
    char32_t peek() const;

    std::u16string_view m_text;
    std::size_t m_index = 0;     // in code units
    std::size_t m_position = 1;  // of the character at m_index
};

// "syntax error at position <position>: <what>".
Status syntaxError(std::size_t position, std::string_view what);

}  // namespace jet::sql
