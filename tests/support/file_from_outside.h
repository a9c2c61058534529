#pragma once

// A collection file as other programs see and change it: a content table's records as two
// independent readers read them (mdbtools' mdb-export, checked against a fresh engine of our
// own), and another program's change to a record.
#include <map>

#include <QString>
#include <QStringList>
#include <QTest>
#include <QtGlobal>

#include "jet/database.h"
#include "oracles.h"

namespace kelvora::test {

// Title -> the other three fields (question, answer, footnotes), each as mdb-export prints it;
// null as kCsvNull, a null title too. Empty, with a warning, when the readers disagree or
// mdb-export cannot run.
inline std::map<QString, QStringList> recordsInFile(const std::filesystem::path& file,
                                                    const std::string& table) {
    std::map<QString, QStringList> records;
    const OracleTable exported = mdbExportRows(file, table);
    if (!exported.ok) {
        qWarning("%s", exported.error.c_str());
        return records;
    }
    for (const CsvRow& row : exported.rows) {
        QStringList fields;
        for (std::size_t i = 1; i < row.size(); ++i) fields << QString::fromStdString(row[i]);
        records[QString::fromStdString(row.at(0))] = fields;
    }

    auto database = jet::Database::open(file, jet::Database::Mode::readOnly);
    auto rows = database.ok() ? (*database)->openByName(std::u16string(table.begin(), table.end()))
                              : jet::Result<jet::ResultSet>(database.status());
    if (!rows.ok() || rows->rowCount() != records.size()) {
        qWarning("our reader disagrees with mdb-export on the records of %s", table.c_str());
        return {};
    }
    const auto shown = [](const jet::Value& value) {
        return QString::fromStdString(isNull(value) ? kCsvNull : jet::toDisplayText(value));
    };
    for (std::size_t i = 0; i < rows->rowCount(); ++i) {
        QStringList fields;
        for (std::size_t column = 1; column < 4; ++column) fields << shown(*rows->value(i, column));
        const QString title = shown(*rows->value(i, 0));
        if (records[title] != fields) {
            qWarning("our reader disagrees with mdb-export on %s", qPrintable(title));
            return {};
        }
    }
    return records;
}

// Another program (a second engine of our own) changes the answer of the record titled `title`.
inline void changeAnswerElsewhere(const std::filesystem::path& file, const std::u16string& table,
                                  const std::u16string& title, const std::u16string& answer) {
    constexpr std::size_t kAnswer = 2;
    auto database = jet::Database::open(file, jet::Database::Mode::readWrite);
    QVERIFY2(database.ok(), database.status().message().c_str());
    auto rows = (*database)->openByName(table);
    QVERIFY2(rows.ok(), rows.status().message().c_str());
    for (std::size_t i = 0; i < rows->rowCount(); ++i) {
        if (*rows->value(i, 0) != jet::Value(title)) continue;
        const jet::Status status = (*database)->updateRow(
            table, rows->location(i), rows->rowVersion(i), {{kAnswer, jet::Value(answer)}});
        QVERIFY2(status.ok(), status.message().c_str());
        return;
    }
    QFAIL("no such record");
}

}  // namespace kelvora::test
