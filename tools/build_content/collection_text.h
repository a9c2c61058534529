#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "jet/status.h"

namespace collection {

// One question and its answer as a topic file writes it.
struct Record {
    std::u16string title;
    std::u16string question;   // lines joined with CR LF
    std::u16string answer;     // one paragraph per line, joined with CR LF
    std::optional<std::u16string> footnotes;  // nullopt: "footnotes: null"
    int line = 0;              // 1-based line of its [record] marker
};

// The six topics in menu order: their file names (without .txt) are the table names.
const std::vector<std::u16string>& topicTables();
// The table that holds the whole collection, and the saved query name for a table.
inline const std::u16string kSearchTable = u"pkelvora";
std::u16string savedQueryName(const std::u16string& table);

// Parses a topic file:
//   # comments before the first record
//   [record]
//   title: <one line>
//   question:      (lines follow)
//   answer:        (lines follow, one paragraph per line)
//   footnotes:     (lines follow)   or   footnotes: null
// Errors name the file and line. Leading and trailing blank lines of a field are dropped;
// trailing white space of every line is dropped; CR LF and LF line ends are both accepted.
jet::Result<std::vector<Record>> parseTopicText(std::string_view utf8, const std::string& fileName);
jet::Result<std::vector<Record>> readTopicFile(const std::filesystem::path& path);

}  // namespace collection
