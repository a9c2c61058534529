#include "content/content_store.h"

#include "content/failure.h"
#include "content/record_set.h"
#include "content/statements.h"

namespace content {

ContentStore::ContentStore(QObject* parent) : QObject(parent) {
    for (const SourceEntry& entry : topicCatalogue()) {
        const int index = sourceIndex(entry.source);
        m_masters[index] = new RecordSet(entry.masterRecordSet, m_connection, this);
        m_recordSets[index] = new RecordSet(entry.recordSet, m_connection, this);
        m_recordSets[index]->setLines(startStatementLines(entry.table));
    }
}

ContentStore::~ContentStore() {
    // The record sets hold snapshots that read through the connection's engine: let them go
    // before the connection closes.
    qDeleteAll(children());
    m_connection.close();
}

void ContentStore::open(const Reporter& report) {
    const auto attempt = [&report](const std::function<void()>& step) {
        try {
            step();
        } catch (const Failure& failure) {
            report(failure.message());
        }
    };
    attempt([this] { m_connection.open(); });
    for (const SourceEntry& entry : topicCatalogue()) {
        RecordSet& master = masterRecordSet(entry.source);
        RecordSet& recordSet = this->recordSet(entry.source);
        attempt([&] { master.openByName(entry.savedQuery); });
        attempt([&] { recordSet.open(); });
    }
}

}  // namespace content
