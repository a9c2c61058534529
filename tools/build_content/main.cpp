// Builds kelvora.mdb from the text of the collection: one table per topic, the whole
// collection in topic order, and a saved query over each table.
#include <cstdio>
#include <iostream>

#include "collection_text.h"
#include "jet/builder.h"

namespace {

jet::TableSpec contentTable(const std::u16string& name) {
    jet::TableSpec table;
    table.name = name;
    table.columns = {{u"kholase", jet::ColumnType::text, 255},
                     {u"porsesh", jet::ColumnType::memo},
                     {u"pasokh", jet::ColumnType::memo},
                     {u"pavaraghi", jet::ColumnType::memo}};
    return table;
}

std::vector<jet::Value> toRow(const collection::Record& record) {
    std::vector<jet::Value> row = {record.title, record.question, record.answer};
    if (record.footnotes)
        row.emplace_back(*record.footnotes);
    else
        row.emplace_back(jet::Null{});
    return row;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::cerr << "usage: build_content COLLECTION_FOLDER OUTPUT.mdb\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    jet::DatabaseSpec spec;
    jet::TableSpec whole = contentTable(collection::kSearchTable);
    std::size_t total = 0;
    for (const std::u16string& table : collection::topicTables()) {
        const auto records = collection::readTopicFile(folder / (jet::toUtf8(table) + ".txt"));
        if (!records.ok()) {
            std::cerr << "build_content: " << records.status().message() << "\n";
            return 1;
        }
        jet::TableSpec topic = contentTable(table);
        for (const collection::Record& record : *records) {
            topic.rows.push_back(toRow(record));
            whole.rows.push_back(toRow(record));
        }
        total += records->size();
        spec.tables.push_back(std::move(topic));
    }
    spec.tables.push_back(std::move(whole));
    for (const jet::TableSpec& table : spec.tables)
        spec.queries.push_back({collection::savedQueryName(table.name), table.name});

    const jet::Status status = jet::createDatabase(argv[2], spec);
    if (!status.ok()) {
        std::cerr << "build_content: " << status.message() << "\n";
        return 1;
    }
    std::cout << "build_content: " << total << " records in 6 topics written to " << argv[2]
              << "\n";
    return 0;
}
