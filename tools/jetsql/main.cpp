// jetsql FILE                 lists the tables, then the saved queries
// jetsql FILE NAME            prints a table or saved query as CSV
// jetsql FILE 'SELECT ...'    prints a statement's result as CSV
//
// CSV: UTF-8, LF line ends, a header row; a field is quoted when it contains a comma, quote, CR
// or LF; null is an empty field and an empty string is "". Errors go to stderr with exit
// status 1; a wrong command line exits with 2.

#include <cstdio>
#include <string>
#include <string_view>

#include "jet/database.h"

namespace {

constexpr const char* kUsage =
    "usage: jetsql FILE              list tables and saved queries\n"
    "       jetsql FILE NAME         print a table or saved query as CSV\n"
    "       jetsql FILE 'SELECT ...' print the result of a statement as CSV\n";

int fail(const std::string& message) {
    std::fprintf(stderr, "jetsql: %s\n", message.c_str());
    return 1;
}

void writeField(std::string& out, const std::string& text, bool null) {
    if (null) return;
    if (text.empty() || text.find_first_of(",\"\r\n") != std::string::npos) {
        out += '"';
        for (char c : text) {
            if (c == '"') out += '"';
            out += c;
        }
        out += '"';
        return;
    }
    out += text;
}

bool isStatement(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t\r\n\v\f");
    if (start == std::string_view::npos || text.size() - start < 6) return false;
    static constexpr std::string_view kSelect = "select";
    for (std::size_t i = 0; i < kSelect.size(); ++i) {
        char c = text[start + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        if (c != kSelect[i]) return false;
    }
    return text.size() - start == 6 ||
           std::string_view(" \t\r\n\v\f[").find(text[start + 6]) != std::string_view::npos;
}

int printCsv(const jet::ResultSet& rows) {
    std::string out;
    const auto& columns = rows.columns();
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (c > 0) out += ',';
        writeField(out, jet::toUtf8(columns[c].name), false);
    }
    out += '\n';
    for (std::size_t r = 0; r < rows.rowCount(); ++r) {
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (c > 0) out += ',';
            auto value = rows.value(r, c);
            if (!value.ok()) {
                std::fwrite(out.data(), 1, out.size(), stdout);
                std::fflush(stdout);
                return fail(value.status().message());
            }
            writeField(out, jet::toDisplayText(*value), jet::isNull(*value));
        }
        out += '\n';
        if (out.size() > (1u << 16)) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : fail("cannot write the output");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string_view(argv[1]) == "-h" || std::string_view(argv[1]) == "--help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc < 2 || argc > 3) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    auto database = jet::Database::open(argv[1], jet::Database::Mode::readOnly);
    if (!database.ok()) return fail(database.status().message());

    if (argc == 2) {
        std::string out;
        for (const auto& name : (*database)->tableNames())
            out += "table " + jet::toUtf8(name) + "\n";
        for (const auto& query : (*database)->queries())
            out += "query " + jet::toUtf8(query.name) + " (" + query.kindName + ")\n";
        std::fwrite(out.data(), 1, out.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : fail("cannot write the output");
    }
    const std::string_view argument = argv[2];
    const std::u16string text = jet::fromUtf8(argument);
    auto rows = isStatement(argument) ? (*database)->execute(text) : (*database)->openByName(text);
    if (!rows.ok()) return fail(rows.status().message());
    return printCsv(*rows);
}
