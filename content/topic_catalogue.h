#pragma once

#include <array>

#include <QString>

namespace content {

// The seven sources of the browsing window: topics 1 to 6 and the advanced search.
enum class Source { topic1, topic2, topic3, topic4, topic5, topic6, advancedSearch };

inline constexpr int kSourceCount = 7;
inline constexpr int kTopicCount = 6;

struct SourceEntry {
    Source source;
    QString table;          // content table
    QString savedQuery;     // opened by name as the master record set
    QString recordSet;      // the statement-driven record set behind the view
    QString masterRecordSet;
    QString masterLink;
    QString viewLink;
    QString viewWord;       // the suffix of the view's component names
};

// The fixed catalogue, in catalogue order (the order everything is opened in).
const std::array<SourceEntry, kSourceCount>& topicCatalogue();
const SourceEntry& catalogueEntry(Source source);
// Topic number 1..6 -> source; the advanced search has no number.
Source topicSource(int topicNumber);
int sourceIndex(Source source);

}  // namespace content
