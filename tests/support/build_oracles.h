#pragma once

// Oracle helpers the builder tests need beyond oracles.h: the saved queries as mdbtools sees
// them, and its schema dump.

#include <string>
#include <vector>

#include "oracles.h"

namespace kelvora::test {

// Splits command output into non-empty lines (CR dropped).
inline std::vector<std::string> outputLines(const std::string& out) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : out) {
        if (c == '\n') {
            if (!line.empty()) lines.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

// Saved query names as mdb-queries lists them (-1: one per line).
inline std::vector<std::string> mdbToolsQueryNames(const std::filesystem::path& file) {
    return outputLines(runCommand("mdb-queries -1 " + shellQuote(file.string()) + " 2>/dev/null"));
}

// The SQL mdb-queries rebuilds for one saved query.
inline std::string mdbToolsQuerySql(const std::filesystem::path& file, const std::string& query) {
    return runCommand("mdb-queries " + shellQuote(file.string()) + " " + shellQuote(query) +
                      " 2>&1");
}

// mdb-schema's CREATE TABLE statements; `exitStatus` as in runCommand().
inline std::string mdbToolsSchema(const std::filesystem::path& file, int* exitStatus) {
    return runCommand("mdb-schema " + shellQuote(file.string()) + " 2>&1", exitStatus);
}

}  // namespace kelvora::test
