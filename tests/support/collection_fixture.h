#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "jet/status.h"

namespace fixtures {

// One record of a content table.
struct Record {
    std::u16string title;
    std::u16string question;
    std::u16string answer;
    std::optional<std::u16string> footnotes;  // nullopt: null
};

// A small collection file in the shape of kelvora.mdb: the seven content tables with the four
// fields and the seven saved queries, with parts left out or added to show one fault.
struct CollectionOptions {
    std::set<std::u16string> withoutTables;
    std::set<std::u16string> withoutQueries;
    bool extraFields = false;  // adds a long and a text column after the four fields
    // Records per table; tables not listed get a few default records.
    std::map<std::u16string, std::vector<Record>> records;
};

// The seven table names in catalogue order.
const std::vector<std::u16string>& contentTables();
// Three records for a table, with titles that mention the table's name.
std::vector<Record> defaultRecords(const std::u16string& table);

jet::Status writeCollection(const std::filesystem::path& path, const CollectionOptions& options);

}  // namespace fixtures
