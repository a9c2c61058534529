#pragma once

#include <cstdint>
#include <string>

#include "jet/builder.h"

namespace collection {

// A large collection of the shape of kelvora.mdb for benchmarks and scale tests: made-up
// Persian sentences of realistic lengths (titles ~40 characters, questions ~300, answers
// ~3,000, footnotes ~300). Every record is a pure function of (topic, index), so the table of
// the whole collection repeats the topics' records without keeping them in memory.
struct SyntheticOptions {
    std::uint32_t recordsPerTopic = 1000;
    int topics = 6;                 // the first n topics
    bool withSearchTable = true;    // pkelvora, holding every topic's records
    std::uint64_t seed = 1;
};

struct SyntheticRecord {
    std::u16string title, question, answer, footnotes;
};

// topic is 0-based; index 0-based within the topic.
SyntheticRecord syntheticRecord(int topic, std::uint32_t index, std::uint64_t seed);

// Words that a known share of the titles hold, so a filter can pick that share of the rows.
enum class TitleShare {
    all,        // every title
    twoThirds,  // titles whose index is not a multiple of 3
    tenth,      // every 10th title
    perMille,   // every 1000th title
};
std::u16string titleMarker(TitleShare share);
// Whether the title of the record at `index` holds the marker of `share`.
bool holdsMarker(TitleShare share, std::uint32_t index);

jet::DatabaseSpec syntheticCollection(const SyntheticOptions& options);

}  // namespace collection
