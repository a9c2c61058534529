#include "statement.h"

#include <array>

#include "lexer.h"

namespace jet::sql {

namespace {

constexpr std::array<std::string_view, 4> kReservedWords = {"SELECT", "FROM", "WHERE", "LIKE"};

bool isReserved(const Token& token) {
    for (std::string_view word : kReservedWords) {
        if (Lexer::isKeyword(token, word)) return true;
    }
    return false;
}

class Parser {
public:
    explicit Parser(std::u16string_view text) : m_lexer(text) {}

    Result<SelectStatement> parse() {
        SelectStatement statement;
        JET_TRY(advance());
        JET_TRY(expectKeyword("SELECT"));
        if (m_token.kind != Token::Kind::star) return expected("*");
        JET_TRY(advance());
        JET_TRY(expectKeyword("FROM"));
        JET_TRY(name("table name", statement.source));

        if (Lexer::isKeyword(m_token, "WHERE")) {
            JET_TRY(advance());
            LikeCondition condition;
            JET_TRY(name("column name", condition.column));
            JET_TRY(expectKeyword("LIKE"));
            if (m_token.kind != Token::Kind::string) return expected("string literal");
            condition.pattern = std::move(m_token.text);
            JET_TRY(advance());
            statement.where = std::move(condition);
        }

        if (m_token.kind == Token::Kind::semicolon) {
            JET_TRY(advance());
            if (m_token.kind != Token::Kind::end) return expected("end of statement");
        } else if (m_token.kind != Token::Kind::end) {
            return expected(statement.where ? "; or end of statement" : "WHERE, ; or end of statement");
        }
        return statement;
    }

private:
    Status advance() {
        Result<Token> token = m_lexer.next();
        JET_TRY(token);
        m_token = std::move(token).value();
        return {};
    }

    Status expected(std::string_view what) const {
        return syntaxError(m_token.position, "expected " + std::string(what));
    }

    Status expectKeyword(std::string_view keyword) {
        if (!Lexer::isKeyword(m_token, keyword)) return expected(keyword);
        return advance();
    }

    Status name(std::string_view what, std::u16string& out) {
        const bool plain = m_token.kind == Token::Kind::identifier && !isReserved(m_token);
        if (!plain && m_token.kind != Token::Kind::bracketed) return expected(what);
        out = std::move(m_token.text);
        return advance();
    }

    Lexer m_lexer;
    Token m_token;
};

}  // namespace

Result<SelectStatement> parseSelect(std::u16string_view text) { return Parser(text).parse(); }

}  // namespace jet::sql
