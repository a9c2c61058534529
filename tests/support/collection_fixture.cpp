#include "collection_fixture.h"

#include "jet/builder.h"

namespace fixtures {

const std::vector<std::u16string>& contentTables() {
    static const std::vector<std::u16string> tables = {u"kolliyat", u"ejaz",    u"elm",
                                                       u"payambaran", u"vahy", u"mohamad",
                                                       u"pkelvora"};
    return tables;
}

std::vector<Record> defaultRecords(const std::u16string& table) {
    return {
        {u"نخست " + table, u"پرسش يکم " + table, u"پاسخ يکم\r\nسطر دوم", u"سوره بقره، آيه ۲"},
        {u"دوم " + table, u"پرسش دوم", u"پاسخ دوم", std::nullopt},
        {u"سوم " + table, u"پرسش سوم", u"پاسخ سوم", u"منبع"},
    };
}

jet::Status writeCollection(const std::filesystem::path& path, const CollectionOptions& options) {
    jet::DatabaseSpec spec;
    for (const std::u16string& table : contentTables()) {
        if (options.withoutTables.count(table) == 0) {
            jet::TableSpec tableSpec;
            tableSpec.name = table;
            tableSpec.columns = {{u"kholase", jet::ColumnType::text, 255},
                                 {u"porsesh", jet::ColumnType::memo},
                                 {u"pasokh", jet::ColumnType::memo},
                                 {u"pavaraghi", jet::ColumnType::memo}};
            if (options.extraFields) {
                tableSpec.columns.push_back({u"shomare", jet::ColumnType::longInteger});
                tableSpec.columns.push_back({u"tozih", jet::ColumnType::text, 50});
            }
            const auto found = options.records.find(table);
            const std::vector<Record> records =
                found != options.records.end() ? found->second : defaultRecords(table);
            std::int64_t number = 0;
            for (const Record& record : records) {
                std::vector<jet::Value> row = {record.title, record.question, record.answer};
                if (record.footnotes) row.emplace_back(*record.footnotes);
                else row.emplace_back(jet::Null{});
                if (options.extraFields) {
                    row.emplace_back(++number);
                    row.emplace_back(std::u16string(u"extra"));
                }
                tableSpec.rows.push_back(std::move(row));
            }
            spec.tables.push_back(std::move(tableSpec));
        }
        const std::u16string query = u"Q" + table;
        if (options.withoutQueries.count(query) == 0) spec.queries.push_back({query, table});
    }
    return jet::createDatabase(path, spec);
}

}  // namespace fixtures
