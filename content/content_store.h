#pragma once

#include <array>
#include <functional>

#include <QObject>

#include "content/connection.h"
#include "content/topic_catalogue.h"

namespace content {

class RecordSet;

// The connection and the fourteen record sets of the topic catalogue: for each source a master
// record set on its saved query and the record set behind its view. Created once with the
// browsing window and living as long as it.
class ContentStore : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ContentStore)

public:
    using Reporter = std::function<void(const QString& message)>;

    explicit ContentStore(QObject* parent = nullptr);
    ~ContentStore() override;

    // Opens the connection and then, source by source in catalogue order, the master record
    // set and the record set with its start statement. Each failure goes to `report` at once
    // and opening goes on with the next step; nothing here stops start-up.
    void open(const Reporter& report);

    Connection& connection() { return m_connection; }
    RecordSet& recordSet(Source source) const { return *m_recordSets[sourceIndex(source)]; }
    RecordSet& masterRecordSet(Source source) const { return *m_masters[sourceIndex(source)]; }

private:
    Connection m_connection;
    std::array<RecordSet*, kSourceCount> m_masters{};
    std::array<RecordSet*, kSourceCount> m_recordSets{};
};

}  // namespace content
