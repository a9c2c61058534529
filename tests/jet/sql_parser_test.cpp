#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "sql/statement.h"

namespace jet::sql {
namespace {

struct Accepted {
    const char* name;
    std::u16string_view text;
    std::u16string_view source;
    std::optional<std::u16string_view> column;  // set when the statement has a WHERE
    std::u16string_view pattern;
};

const Accepted kAccepted[] = {
    {"two lines each ended by CR LF", u"SELECT *\r\nFROM kolliyat;\r\n", u"kolliyat", {}, u""},
    {"like condition then CR LF", u"SELECT * FROM kolliyat where kholase like '%abc%'\r\n", u"kolliyat",
     u"kholase", u"%abc%"},
    {"trailing space then CR LF", u"SELECT * FROM kolliyat \r\n", u"kolliyat", {}, u""},
    {"doubled quote becomes one", u"SELECT * FROM pkelvora where pasokh like '%it''s%'\r\n", u"pkelvora",
     u"pasokh", u"%it's%"},
    {"keywords in mixed case", u"sElEcT * fRoM t WhErE c LiKe 'x'", u"t", u"c", u"x"},
    {"tabs, CR LF and no space around the star", u"\t\r\nSELECT*FROM\tt\twhere\r\nc\tLIKE\t'a'\t;\t\r\n",
     u"t", u"c", u"a"},
    {"semicolon straight after the name", u"SELECT * FROM t;", u"t", {}, u""},
    {"semicolon straight after the literal", u"SELECT * FROM t WHERE c LIKE 'a';", u"t", u"c", u"a"},
    {"bracketed names with spaces", u"SELECT * FROM [my table] WHERE [my column] LIKE 'a'", u"my table",
     u"my column", u"a"},
    {"bracketed reserved word", u"SELECT * FROM [select] WHERE [like] LIKE 'a'", u"select", u"like", u"a"},
    {"Persian table and column names", u"SELECT * FROM کلیات WHERE خلاصه LIKE '%ایران%'", u"کلیات", u"خلاصه",
     u"%ایران%"},
    {"ZWNJ and Persian digits inside a name", u"SELECT * FROM می\u200Cشود۲", u"می\u200Cشود۲", {}, u""},
    {"underscore and digits in a name", u"SELECT * FROM _t2_x", u"_t2_x", {}, u""},
    {"empty literal", u"SELECT * FROM t WHERE c LIKE ''", u"t", u"c", u""},
    {"literal of one quote", u"SELECT * FROM t WHERE c LIKE ''''", u"t", u"c", u"'"},
    {"literal keeps spaces, brackets and semicolons", u"SELECT * FROM t WHERE c LIKE ' [a]; %'", u"t", u"c",
     u" [a]; %"},
    {"literal keeps a surrogate pair", u"SELECT * FROM t WHERE c LIKE '%😀%'", u"t", u"c", u"%😀%"},
};

TEST(SqlParser, AcceptsEveryFormTheProgramSends) {
    for (const Accepted& row : kAccepted) {
        SCOPED_TRACE(row.name);
        const Result<SelectStatement> parsed = parseSelect(row.text);
        ASSERT_TRUE(parsed.ok()) << parsed.status().message();
        EXPECT_EQ(parsed->source, row.source);
        ASSERT_EQ(parsed->where.has_value(), row.column.has_value());
        if (row.column) {
            EXPECT_EQ(parsed->where->column, *row.column);
            EXPECT_EQ(parsed->where->pattern, row.pattern);
        }
    }
}

struct Rejected {
    const char* name;
    std::u16string_view text;
    const char* message;
};

const Rejected kRejected[] = {
    {"empty text", u"", "syntax error at position 1: expected SELECT"},
    {"white space only", u" \t\r\n", "syntax error at position 5: expected SELECT"},
    {"another statement", u"UPDATE t SET a = 1", "syntax error at position 1: expected SELECT"},
    {"column list instead of star", u"SELECT a FROM t", "syntax error at position 8: expected *"},
    {"misspelt FROM", u"SELECT * FORM t", "syntax error at position 10: expected FROM"},
    {"position counts CR and LF", u"SELECT *\r\nFORM t", "syntax error at position 11: expected FROM"},
    {"no table name", u"SELECT * FROM", "syntax error at position 14: expected table name"},
    {"name starting with a digit", u"SELECT * FROM 1abc", "syntax error at position 15: expected table name"},
    {"reserved word as a plain name", u"SELECT * FROM where",
     "syntax error at position 15: expected table name"},
    {"double-quoted name", u"SELECT * FROM \"t\"", "syntax error at position 15: expected table name"},
    {"empty brackets", u"SELECT * FROM []", "syntax error at position 15: empty name in brackets"},
    {"unterminated bracket", u"SELECT * FROM [my table",
     "syntax error at position 15: unterminated name, expected ]"},
    {"word after the table name", u"SELECT * FROM t x",
     "syntax error at position 17: expected WHERE, ; or end of statement"},
    {"qualified name", u"SELECT * FROM t.x",
     "syntax error at position 16: expected WHERE, ; or end of statement"},
    {"position counts Persian letters", u"SELECT * FROM کلیات x",
     "syntax error at position 21: expected WHERE, ; or end of statement"},
    {"position counts a surrogate pair once", u"SELECT * FROM [😀] x",
     "syntax error at position 19: expected WHERE, ; or end of statement"},
    {"WHERE without a column", u"SELECT * FROM t WHERE LIKE 'a'",
     "syntax error at position 23: expected column name"},
    {"WHERE at the end", u"SELECT * FROM t WHERE", "syntax error at position 22: expected column name"},
    {"equality instead of LIKE", u"SELECT * FROM t WHERE c = 'a'",
     "syntax error at position 25: expected LIKE"},
    {"LIKE without a literal", u"SELECT * FROM t WHERE c LIKE",
     "syntax error at position 29: expected string literal"},
    {"LIKE a name", u"SELECT * FROM t WHERE c LIKE a",
     "syntax error at position 30: expected string literal"},
    {"double-quoted literal", u"SELECT * FROM t WHERE c LIKE \"a\"",
     "syntax error at position 30: expected string literal"},
    {"unterminated literal", u"SELECT * FROM t WHERE c LIKE 'abc",
     "syntax error at position 30: unterminated string literal"},
    {"doubled quote does not close a literal", u"SELECT * FROM t WHERE c LIKE 'it''",
     "syntax error at position 30: unterminated string literal"},
    {"second condition", u"SELECT * FROM t WHERE c LIKE 'a' AND d LIKE 'b'",
     "syntax error at position 34: expected ; or end of statement"},
    {"text after the semicolon", u"SELECT * FROM t; x",
     "syntax error at position 18: expected end of statement"},
    {"two semicolons", u"SELECT * FROM t;;", "syntax error at position 17: expected end of statement"},
    {"second statement after the semicolon", u"SELECT * FROM t WHERE c LIKE 'a';\r\nSELECT * FROM u",
     "syntax error at position 36: expected end of statement"},
};

TEST(SqlParser, RejectsWithPositionAndWhatWasExpected) {
    for (const Rejected& row : kRejected) {
        SCOPED_TRACE(row.name);
        const Result<SelectStatement> parsed = parseSelect(row.text);
        ASSERT_FALSE(parsed.ok());
        EXPECT_EQ(parsed.status().code(), StatusCode::syntaxError);
        EXPECT_EQ(parsed.status().message(), row.message);
    }
}

}  // namespace
}  // namespace jet::sql
