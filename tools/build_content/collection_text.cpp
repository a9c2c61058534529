#include "collection_text.h"

#include <fstream>
#include <sstream>

#include "jet/value.h"

namespace collection {

namespace {

enum class Field { none, question, answer, footnotes };

jet::Status parseError(const std::string& fileName, int line, const std::string& what) {
    return {jet::StatusCode::syntaxError, fileName + ":" + std::to_string(line) + ": " + what};
}

std::string_view trimRight(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

std::u16string joinLines(std::vector<std::string>& lines) {
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    std::size_t first = 0;
    while (first < lines.size() && lines[first].empty()) ++first;
    std::string joined;
    for (std::size_t i = first; i < lines.size(); ++i) {
        if (i > first) joined += "\r\n";
        joined += lines[i];
    }
    return jet::fromUtf8(joined);
}

struct Draft {
    Record record;
    bool hasTitle = false;
    bool hasQuestion = false;
    bool hasAnswer = false;
    bool hasFootnotes = false;
    bool nullFootnotes = false;
    std::vector<std::string> question, answer, footnotes;
};

jet::Status finish(Draft& draft, const std::string& fileName, std::vector<Record>& out) {
    const int line = draft.record.line;
    if (!draft.hasTitle) return parseError(fileName, line, "record without a title");
    if (!draft.hasQuestion) return parseError(fileName, line, "record without a question");
    if (!draft.hasAnswer) return parseError(fileName, line, "record without an answer");
    if (!draft.hasFootnotes)
        return parseError(fileName, line, "record without footnotes (write \"footnotes: null\")");
    draft.record.question = joinLines(draft.question);
    draft.record.answer = joinLines(draft.answer);
    if (!draft.nullFootnotes) draft.record.footnotes = joinLines(draft.footnotes);
    if (draft.record.title.size() > 255)
        return parseError(fileName, line, "title longer than 255 characters");
    out.push_back(std::move(draft.record));
    return {};
}

}  // namespace

const std::vector<std::u16string>& topicTables() {
    static const std::vector<std::u16string> tables = {u"kolliyat",   u"ejaz", u"elm",
                                                       u"payambaran", u"vahy", u"mohamad"};
    return tables;
}

std::u16string savedQueryName(const std::u16string& table) { return u"Q" + table; }

jet::Result<std::vector<Record>> parseTopicText(std::string_view utf8, const std::string& fileName) {
    std::vector<Record> records;
    std::optional<Draft> draft;
    Field field = Field::none;
    int lineNumber = 0;
    std::size_t position = 0;
    if (utf8.substr(0, 3) == "\xEF\xBB\xBF") position = 3;  // a byte-order mark from an editor

    while (position <= utf8.size()) {
        const std::size_t end = std::min(utf8.find('\n', position), utf8.size());
        const std::string_view line = trimRight(utf8.substr(position, end - position));
        position = end + 1;
        ++lineNumber;
        if (end == utf8.size() && line.empty()) break;

        if (line == "[record]") {
            if (draft) JET_TRY(finish(*draft, fileName, records));
            draft.emplace();
            draft->record.line = lineNumber;
            field = Field::none;
            continue;
        }
        if (!draft) {
            if (line.empty() || line.front() == '#') continue;
            return parseError(fileName, lineNumber, "text before the first [record]");
        }
        if (line.substr(0, 6) == "title:") {
            if (draft->hasTitle) return parseError(fileName, lineNumber, "a second title");
            std::string_view title = line.substr(6);
            while (!title.empty() && title.front() == ' ') title.remove_prefix(1);
            if (title.empty()) return parseError(fileName, lineNumber, "empty title");
            draft->record.title = jet::fromUtf8(title);
            draft->hasTitle = true;
            field = Field::none;
            continue;
        }
        if (line == "question:" || line == "answer:" || line == "footnotes:" ||
            line == "footnotes: null") {
            bool& seen = line == "question:" ? draft->hasQuestion
                         : line == "answer:"  ? draft->hasAnswer
                                              : draft->hasFootnotes;
            if (seen) return parseError(fileName, lineNumber, "a field given twice");
            seen = true;
            field = line == "question:" ? Field::question
                    : line == "answer:" ? Field::answer
                                        : Field::footnotes;
            if (line == "footnotes: null") {
                draft->nullFootnotes = true;
                field = Field::none;
            }
            continue;
        }
        switch (field) {
            case Field::question: draft->question.emplace_back(line); break;
            case Field::answer: draft->answer.emplace_back(line); break;
            case Field::footnotes: draft->footnotes.emplace_back(line); break;
            case Field::none:
                if (!line.empty())
                    return parseError(fileName, lineNumber,
                                      draft->nullFootnotes ? "text after \"footnotes: null\""
                                                           : "text outside a field");
        }
    }
    if (draft) JET_TRY(finish(*draft, fileName, records));
    return records;
}

jet::Result<std::vector<Record>> readTopicFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return jet::Status{jet::StatusCode::notFound, "cannot read " + path.string()};
    std::ostringstream text;
    text << in.rdbuf();
    return parseTopicText(text.str(), path.filename().string());
}

}  // namespace collection
