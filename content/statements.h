#pragma once

#include <QString>
#include <QStringList>

namespace content {

// Every statement text the program sends, built in one place. Upper and lower case, spaces
// and the one semicolon are exactly what the database receives.

// The SQL string literal for a typed text: '%' + text + '%', each apostrophe doubled, in
// apostrophes. The text is taken whole: no trimming, folding or escaping of % and _.
QString searchPattern(const QString& text);

// "SELECT *" and "FROM <table>;".
QStringList startStatementLines(const QString& table);
QString titleFilterStatement(const QString& table, const QString& text);
// "SELECT * FROM <table> " with its trailing space.
QString resetStatement(const QString& table);
QString questionSearchStatement(const QString& text);
QString answerSearchStatement(const QString& text);

// The text handed to the database for a list of statement lines: each line followed by CR LF.
QString statementText(const QStringList& lines);

}  // namespace content
