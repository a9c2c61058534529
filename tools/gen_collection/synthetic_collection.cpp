#include "synthetic_collection.h"

#include <array>
#include <memory>

#include "collection_text.h"

namespace collection {

namespace {

// Common words of the collection's register, with the Arabic yeh and keheh it is written in.
constexpr std::array<std::u16string_view, 64> kWords = {
    u"پيامبر", u"وحي", u"خداوند", u"انسان", u"هدايت", u"معجزه", u"قرآن", u"عقل",
    u"دليل", u"رسالت", u"شناخت", u"حقيقت", u"ايمان", u"آيه", u"سوره", u"کتاب",
    u"مردم", u"زمان", u"جهان", u"راه", u"نور", u"علم", u"عصمت", u"پيام",
    u"الهي", u"آسماني", u"بشر", u"نياز", u"روشن", u"گفته", u"است", u"که",
    u"از", u"به", u"در", u"با", u"اين", u"آن", u"را", u"براي",
    u"مي‌شود", u"مي‌کند", u"بود", u"شد", u"نيز", u"همه", u"يکي", u"ديگر",
    u"سخن", u"امت", u"دعوت", u"پرسش", u"پاسخ", u"اخلاق", u"رحمت", u"عدالت",
    u"تاريخ", u"زندگي", u"حکمت", u"نشانه", u"گواهي", u"پيروان", u"دين", u"شريعت",
};

constexpr std::array<std::u16string_view, 4> kMarkers = {u"فراگير", u"دوسوم", u"يکدهم",
                                                         u"گزيده"};
constexpr std::array<TitleShare, 4> kShares = {TitleShare::all, TitleShare::twoThirds,
                                               TitleShare::tenth, TitleShare::perMille};

// SplitMix64: a small, fast, well-mixed generator; one stream per record.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }

private:
    std::uint64_t m_state;
};

std::u16string sentences(Random& random, std::size_t length, bool paragraphs) {
    std::u16string text;
    std::size_t sinceBreak = 0;
    while (text.size() < length) {
        if (!text.empty()) {
            if (paragraphs && sinceBreak > 500 && random.below(4) == 0) {
                text += u".\r\n";
                sinceBreak = 0;
            } else {
                text += random.below(9) == 0 ? u"، " : u" ";
            }
        }
        const auto word = kWords[random.below(kWords.size())];
        text += word;
        sinceBreak += word.size() + 1;
    }
    text += u'.';
    return text;
}

}  // namespace

std::u16string titleMarker(TitleShare share) {
    return std::u16string(kMarkers[static_cast<std::size_t>(share)]);
}

bool holdsMarker(TitleShare share, std::uint32_t index) {
    switch (share) {
        case TitleShare::all: return true;
        case TitleShare::twoThirds: return index % 3 != 0;
        case TitleShare::tenth: return index % 10 == 0;
        case TitleShare::perMille: return index % 1000 == 0;
    }
    return false;
}

SyntheticRecord syntheticRecord(int topic, std::uint32_t index, std::uint64_t seed) {
    Random random(seed * 0x100000001B3ULL + static_cast<std::uint64_t>(topic) * 0x1000003ULL +
                  index);
    SyntheticRecord record;
    record.title = sentences(random, 30 + random.below(16), false);
    record.title.pop_back();  // no full stop in a title
    for (TitleShare share : kShares)
        if (holdsMarker(share, index)) record.title += u' ' + titleMarker(share);
    if (record.title.size() > 255) record.title.resize(255);
    record.question = sentences(random, 250 + random.below(100), false) + u"؟";
    record.answer = sentences(random, 2600 + random.below(800), true);
    record.footnotes = u"۱. " + sentences(random, 250 + random.below(100), false);
    return record;
}

jet::DatabaseSpec syntheticCollection(const SyntheticOptions& options) {
    jet::DatabaseSpec spec;
    const auto columns = std::vector<jet::ColumnSpec>{{u"kholase", jet::ColumnType::text, 255},
                                                      {u"porsesh", jet::ColumnType::memo},
                                                      {u"pasokh", jet::ColumnType::memo},
                                                      {u"pavaraghi", jet::ColumnType::memo}};
    const auto fill = [](std::vector<jet::Value>& row, SyntheticRecord record) {
        row.clear();
        row.emplace_back(std::move(record.title));
        row.emplace_back(std::move(record.question));
        row.emplace_back(std::move(record.answer));
        row.emplace_back(std::move(record.footnotes));
    };
    const int topics = std::min<int>(options.topics, static_cast<int>(topicTables().size()));
    for (int topic = 0; topic < topics; ++topic) {
        jet::TableSpec table;
        table.name = topicTables()[static_cast<std::size_t>(topic)];
        table.columns = columns;
        auto next = std::make_shared<std::uint32_t>(0);
        table.source = [=](std::vector<jet::Value>& row) {
            if (*next >= options.recordsPerTopic) return false;
            fill(row, syntheticRecord(topic, (*next)++, options.seed));
            return true;
        };
        spec.tables.push_back(std::move(table));
    }
    if (options.withSearchTable) {
        jet::TableSpec whole;
        whole.name = kSearchTable;
        whole.columns = columns;
        auto topic = std::make_shared<int>(0);
        auto next = std::make_shared<std::uint32_t>(0);
        whole.source = [=](std::vector<jet::Value>& row) {
            if (*next >= options.recordsPerTopic) {
                *next = 0;
                ++*topic;
            }
            if (*topic >= topics || options.recordsPerTopic == 0) return false;
            fill(row, syntheticRecord(*topic, (*next)++, options.seed));
            return true;
        };
        spec.tables.push_back(std::move(whole));
    }
    for (const jet::TableSpec& table : spec.tables)
        spec.queries.push_back({savedQueryName(table.name), table.name});
    return spec;
}

}  // namespace collection
