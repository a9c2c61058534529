#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "jet/status.h"

namespace jet::sql {

// `<column> LIKE '<pattern>'`.
struct LikeCondition {
    std::u16string column;
    std::u16string pattern;  // the literal's content, '' already turned into one quote
};

// `SELECT * FROM <source> [WHERE <column> LIKE '<pattern>'] [;]`.
struct SelectStatement {
    std::u16string source;  // a table or saved query name, brackets removed
    std::optional<LikeCondition> where;
};

// Parses the one statement form the program sends. Keywords are matched in any case; white
// space is space, tab, CR, LF (also VT and FF). Names are plain identifiers (letters, including
// non-ASCII letters, digits and underscores, not starting with a digit; SELECT, FROM, WHERE and
// LIKE are reserved) or any text in square brackets. Fails with StatusCode::syntaxError and a
// message such as "syntax error at position 15: expected FROM", where the position is 1-based
// and counts characters (a surrogate pair is one character); the end of the text is the position
// after its last character.
Result<SelectStatement> parseSelect(std::u16string_view text);

}  // namespace jet::sql
