#pragma once

// A content store opened in a temporary folder that holds a collection made by our builder
// (or none), with the reports of its opening kept.
#include <filesystem>
#include <functional>
#include <optional>

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include "collection_fixture.h"
#include "content/content_store.h"
#include "content/failure.h"

class StoreFixture {
public:
    explicit StoreFixture(const std::optional<fixtures::CollectionOptions>& options,
                          const std::function<void(const std::filesystem::path&)>& prepare = {}) {
        QVERIFY(m_folder.isValid());
        if (options) {
            const jet::Status status = fixtures::writeCollection(file(), *options);
            QVERIFY2(status.ok(), status.message().c_str());
            if (prepare) prepare(file());
        }
        m_previous = QDir::currentPath();
        QDir::setCurrent(m_folder.path());
        store.open([this](const QString& message) { reports.append(message); });
    }
    ~StoreFixture() { QDir::setCurrent(m_previous); }

    std::filesystem::path file() const {
        return std::filesystem::path(m_folder.filePath("kelvora.mdb").toStdString());
    }

    content::ContentStore store;
    QStringList reports;

private:
    QTemporaryDir m_folder;
    QString m_previous;
};

// The message of the Failure `operation` throws; empty when it succeeds.
inline QString failureOf(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const content::Failure& failure) {
        return failure.message();
    }
    return {};
}
