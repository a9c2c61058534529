#include "content/topic_catalogue.h"

namespace content {

const std::array<SourceEntry, kSourceCount>& topicCatalogue() {
    static const std::array<SourceEntry, kSourceCount> catalogue = {{
        {Source::topic1, "kolliyat", "Qkolliyat", "Qkolliyat", "ADOTable1", "DataSource1",
         "Dqkolliyat", "kolliyat"},
        {Source::topic2, "ejaz", "Qejaz", "Qmoghadamat", "ADOTable2", "DataSource2", "Dmoghadamat",
         "moghadamat"},
        {Source::topic3, "elm", "Qelm", "Qvajeb", "ADOTable3", "DataSource3", "Dvajeb", "vajeb"},
        {Source::topic4, "payambaran", "Qpayambaran", "Qmostahab", "ADOTable4", "DataSource4",
         "Dmostahab", "mostahab"},
        {Source::topic5, "vahy", "Qvahy", "Qnamaz", "ADOTable5", "DataSource5", "Dnamaz", "namaz"},
        {Source::topic6, "mohamad", "Qmohamad", "Qmotefar", "ADOTable6", "DataSource6", "Dmotefar",
         "motefar"},
        {Source::advancedSearch, "pkelvora", "Qpkelvora", "qzertol", "ADOTable7", "DataSource7",
         "Dqzertol", "zertol"},
    }};
    return catalogue;
}

int sourceIndex(Source source) {
    return static_cast<int>(source);
}

const SourceEntry& catalogueEntry(Source source) {
    return topicCatalogue()[sourceIndex(source)];
}

Source topicSource(int topicNumber) {
    return static_cast<Source>(topicNumber - 1);
}

}  // namespace content
