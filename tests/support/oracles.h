#pragma once

// Test helpers shared by the engine and builder tests: running a command, reading CSV, and the
// two independent Jet readers we compare against (mdbtools' mdb-export and mdb-reader through
// tools/oracles/mdbread.mjs).
//
// CSV conventions (ours, jetsql's and mdbread.mjs's): RFC 4180, a header row, fields quoted
// when they contain a comma, quote, CR or LF; an empty string is written "" and a null as an
// empty unquoted field. parseCsv() turns an unquoted empty field into kCsvNull so the two
// stay apart.

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace kelvora::test {

using CsvRow = std::vector<std::string>;

// Stands for a null field (an empty unquoted field) after parseCsv().
inline const std::string kCsvNull = "\x01<null>";

// Quotes `text` for /bin/sh.
inline std::string shellQuote(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    out += '\'';
    return out;
}

// Runs `command` through /bin/sh and returns what it wrote to stdout. `exitStatus` receives
// the exit status, or -1 when the command could not be started or ended by a signal. With
// `errorOutput`, stderr is captured there; without, it goes where the test's stderr goes.
inline std::string runCommand(const std::string& command, int* exitStatus = nullptr,
                              std::string* errorOutput = nullptr) {
    std::string output;
    std::string fullCommand = command;
    std::string errorFile;
    if (errorOutput != nullptr) {
        char name[] = "/tmp/kelvora-stderr-XXXXXX";
        const int fd = ::mkstemp(name);
        if (fd >= 0) {
            ::close(fd);
            errorFile = name;
            fullCommand = "{ " + command + "; } 2>" + shellQuote(errorFile);
        }
    }
    FILE* pipe = ::popen(fullCommand.c_str(), "r");
    if (pipe == nullptr) {
        if (exitStatus) *exitStatus = -1;
        return output;
    }
    std::array<char, 65536> buffer;
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        output.append(buffer.data(), got);
    const int status = ::pclose(pipe);
    if (exitStatus) *exitStatus = (status != -1 && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
    if (!errorFile.empty()) {
        std::ifstream in(errorFile, std::ios::binary);
        errorOutput->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        std::filesystem::remove(errorFile);
    }
    return output;
}

// Parses RFC 4180 CSV (LF or CRLF line ends). An unquoted empty field becomes kCsvNull.
inline std::vector<CsvRow> parseCsv(std::string_view text) {
    std::vector<CsvRow> rows;
    CsvRow row;
    std::string field;
    bool quoted = false;  // the current field was quoted
    bool fieldStarted = false;
    auto endField = [&] {
        row.push_back(field.empty() && !quoted ? kCsvNull : field);
        field.clear();
        quoted = false;
        fieldStarted = false;
    };
    auto endRow = [&] {
        endField();
        rows.push_back(std::move(row));
        row.clear();
    };
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"' && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
            ++i;
            while (i < text.size()) {
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i++];
            }
            continue;
        }
        if (c == ',') {
            endField();
            fieldStarted = false;
            ++i;
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            endRow();
            i += 2;
            continue;
        }
        if (c == '\n') {
            endRow();
            ++i;
            continue;
        }
        field += c;
        fieldStarted = true;
        ++i;
    }
    if (fieldStarted || !field.empty() || !row.empty()) endRow();
    return rows;
}

// A table as an oracle printed it: the header row and the data rows, or why there is none.
struct OracleTable {
    bool ok = false;
    std::string error;  // what failed (tool missing, tool error), when !ok
    CsvRow header;
    std::vector<CsvRow> rows;
};

inline OracleTable oracleFromCsv(const std::string& csv, int exitStatus, const std::string& errors,
                                 const std::string& what) {
    OracleTable table;
    if (exitStatus != 0) {
        table.error = what + " failed with exit status " + std::to_string(exitStatus) + ": " +
                      errors.substr(0, 400);
        return table;
    }
    std::vector<CsvRow> rows = parseCsv(csv);
    if (rows.empty()) {
        table.error = what + " printed no header row";
        return table;
    }
    table.header = std::move(rows.front());
    rows.erase(rows.begin());
    table.rows = std::move(rows);
    table.ok = true;
    return table;
}

// Empty when mdb-export can run, else what to install.
inline std::string mdbExportMissing() {
    int status = 0;
    runCommand("mdb-export --version >/dev/null 2>&1", &status);
    return status == 0 ? std::string()
                       : "mdb-export not found: install mdbtools (apt-get install -y mdbtools)";
}

// The rows mdbtools' mdb-export reads, with dates as "YYYY-MM-DD HH:MM:SS" and binary as
// upper-case hex. Its own quirks remain: memos cut at 200000 bytes, binary hex cut at the first
// 00 byte, GUIDs as the hex of their "{...}" text, text cut at a U+0000, booleans as 0/1,
// numbers in its own precision, every text field quoted.
inline OracleTable mdbExportRows(const std::filesystem::path& file, const std::string& table) {
    if (std::string missing = mdbExportMissing(); !missing.empty()) return {false, missing, {}, {}};
    int status = 0;
    std::string errors;
    const std::string csv =
        runCommand("mdb-export -b hex -D '%Y-%m-%d %H:%M:%S' -T '%Y-%m-%d %H:%M:%S' " +
                       shellQuote(file.string()) + " " + shellQuote(table),
                   &status, &errors);
    return oracleFromCsv(csv, status, errors, "mdb-export " + file.string() + " " + table);
}

// tools/oracles/mdbread.mjs in the source tree.
inline std::filesystem::path mdbReaderScript() {
#ifdef KELVORA_SOURCE_DIR
    return std::filesystem::path(KELVORA_SOURCE_DIR) / "tools" / "oracles" / "mdbread.mjs";
#else
    return std::filesystem::path("tools") / "oracles" / "mdbread.mjs";
#endif
}

// Empty when node and mdb-reader can run, else what to install.
inline std::string mdbReaderMissing() {
    int status = 0;
    runCommand("node --version >/dev/null 2>&1", &status);
    if (status != 0) return "node not found: install Node.js (apt-get install -y nodejs)";
    const auto modules = mdbReaderScript().parent_path() / "node_modules" / "mdb-reader";
    if (!std::filesystem::exists(modules))
        return "mdb-reader not installed: run `npm install --no-audit --no-fund` in " +
               mdbReaderScript().parent_path().string();
    if (!std::filesystem::exists(mdbReaderScript())) return "missing " + mdbReaderScript().string();
    return {};
}

// The rows mdb-reader 3.2.0 reads, printed by mdbread.mjs in jetsql's conventions. Tables with
// a column type mdb-reader does not know fail (it throws).
inline OracleTable mdbReaderRows(const std::filesystem::path& file, const std::string& table) {
    if (std::string missing = mdbReaderMissing(); !missing.empty()) return {false, missing, {}, {}};
    int status = 0;
    std::string errors;
    const std::string csv = runCommand("node " + shellQuote(mdbReaderScript().string()) + " " +
                                           shellQuote(file.string()) + " " + shellQuote(table),
                                       &status, &errors);
    return oracleFromCsv(csv, status, errors, "mdbread.mjs " + file.string() + " " + table);
}

// User table names as mdbtools lists them (mdb-tables -1), in catalogue order.
inline std::vector<std::string> mdbToolsTableNames(const std::filesystem::path& file) {
    std::vector<std::string> names;
    const std::string out =
        runCommand("mdb-tables -1 " + shellQuote(file.string()) + " 2>/dev/null");
    std::string line;
    for (char c : out) {
        if (c == '\n') {
            if (!line.empty()) names.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    if (!line.empty()) names.push_back(line);
    return names;
}

}  // namespace kelvora::test
