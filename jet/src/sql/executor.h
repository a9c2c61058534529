#pragma once

#include <string_view>

#include "jet/result_set.h"
#include "jet/status.h"
#include "sql/statement.h"

namespace jet {
class DatabaseImpl;
}

namespace jet::sql {

// Runs SELECT * FROM <source> [WHERE <column> LIKE '<pattern>'] on an open database.
//
// The source is a user table or a saved select query over one table (its columns, or all of
// them, with no parameters, joins, WHERE, GROUP BY, HAVING, ORDER BY, DISTINCT or TOP), found by
// name ignoring case. Errors: notFound for an unknown source or column (names in quotes);
// missingParameter "No value given for one or more required parameters." for a query with
// parameters; unsupported for any other query form (naming the query and its kind) and for LIKE
// on a column that is neither text nor memo; corrupt / ioError from the scan.
Result<ResultSet> execute(DatabaseImpl& database, const SelectStatement& statement);
// Parses `text` first; syntaxError from the parser.
Result<ResultSet> execute(DatabaseImpl& database, std::u16string_view text);
// Every row of a table or saved query.
Result<ResultSet> openByName(DatabaseImpl& database, std::u16string_view name);

}  // namespace jet::sql
