#include "content/statements.h"

namespace content {

namespace {
const QString kSelectAllFrom = QStringLiteral("SELECT * FROM ");
const QString kSearchTable = QStringLiteral("pkelvora");
}  // namespace

QString searchPattern(const QString& text) {
    QString pattern = QLatin1Char('%') + text + QLatin1Char('%');
    pattern.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + pattern + QLatin1Char('\'');
}

QStringList startStatementLines(const QString& table) {
    return {QStringLiteral("SELECT *"), QStringLiteral("FROM ") + table + QLatin1Char(';')};
}

QString titleFilterStatement(const QString& table, const QString& text) {
    return kSelectAllFrom + table + QStringLiteral(" where kholase like ") + searchPattern(text);
}

QString resetStatement(const QString& table) {
    return kSelectAllFrom + table + QLatin1Char(' ');
}

QString questionSearchStatement(const QString& text) {
    return kSelectAllFrom + kSearchTable + QStringLiteral(" where porsesh like ") +
           searchPattern(text);
}

QString answerSearchStatement(const QString& text) {
    return kSelectAllFrom + kSearchTable + QStringLiteral(" where pasokh like ") +
           searchPattern(text);
}

QString statementText(const QStringList& lines) {
    QString text;
    for (const QString& line : lines) text += line + QStringLiteral("\r\n");
    return text;
}

}  // namespace content
