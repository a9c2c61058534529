// What the user types into a record set reaches the file: pending changes settled before
// moves and rebuilds, new and deleted records, and the failures that keep a change pending.
// The file is read back by mdbtools' mdb-export and by a fresh engine of our own.

#include <QSignalSpy>
#include <QTest>

#include "content/record_set.h"
#include "content/record_set_model.h"
#include "content/statements.h"
#include "file_from_outside.h"
#include "jet/database.h"
#include "oracles.h"
#include "read_only_file.h"
#include "store_fixture.h"
#include "test_files.h"

using content::RecordSet;
using content::Source;
using kelvora::test::kCsvNull;

namespace {

constexpr int kTitle = 0;
constexpr int kAnswer = 2;
constexpr int kFootnotes = 3;

}  // namespace

class RecordSetChangesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void editThenMoveIsWrittenAndTheSameRecordCanBeEditedAgain();
    void settlingWritesOnlyRealChanges_data();
    void settlingWritesOnlyRealChanges();
    void newRecordsAreInsertedOrDroppedAndDeletesAreWrittenAtOnce();
    void aRefusedWriteKeepsTheChangeAndStopsTheMove();
    void aRebuildSettlesFirstAndDoesNotHappenWhenThatFails();
    void aReadOnlyFileSaysSoAndKeepsWhatWasTyped();
};

void RecordSetChangesTest::editThenMoveIsWrittenAndTheSameRecordCanBeEditedAgain() {
    StoreFixture fixture{fixtures::CollectionOptions{}};
    RecordSet& topic1 = fixture.store.recordSet(Source::topic1);
    const QString longAnswer = QString(5000, QChar(u'ج'));  // a memo too long for its old slot

    QVERIFY(topic1.setValue(0, kAnswer, longAnswer));
    QVERIFY(topic1.hasPendingChange());
    QCOMPARE(topic1.field("pasokh"), longAnswer);  // the views show what was typed
    topic1.next();
    QVERIFY(!topic1.hasPendingChange());
    QCOMPARE(topic1.currentRow(), 1);
    QCOMPARE(kelvora::test::recordsInFile(fixture.file(), "kolliyat")[u"نخست kolliyat"_qs].at(1),
             longAnswer);

    // The written row was read back with its new version: editing it again is no conflict.
    topic1.prior();
    QVERIFY(topic1.setValue(0, kAnswer, "short again"));
    topic1.last();
    QCOMPARE(topic1.currentRow(), 2);
    QCOMPARE(topic1.value(0, kAnswer).toString(), QStringLiteral("short again"));
    const auto records = kelvora::test::recordsInFile(fixture.file(), "kolliyat");
    QCOMPARE(records.size(), std::size_t{3});
    QCOMPARE(records.at(u"نخست kolliyat"_qs).at(1), QStringLiteral("short again"));
    QCOMPARE(records.at(u"دوم kolliyat"_qs).at(1), u"پاسخ دوم"_qs);
}

void RecordSetChangesTest::settlingWritesOnlyRealChanges_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("inFile");  // the field afterwards, as mdb-export prints it
    QTest::newRow("typed back to what it was: dropped")
        << 0 << kAnswer << u"پاسخ يکم\r\nسطر دوم"_qs << false << false << u"پاسخ يکم\r\nسطر دوم"_qs;
    QTest::newRow("null field left empty: dropped")
        << 1 << kFootnotes << QString() << false << false << QString::fromStdString(kCsvNull);
    QTest::newRow("Escape drops a real change")
        << 0 << kTitle << u"عنوان تازه"_qs << true << false << u"نخست kolliyat"_qs;
    QTest::newRow("emptied field: written as null")
        << 0 << kFootnotes << QString() << false << true << QString::fromStdString(kCsvNull);
    QTest::newRow("apostrophes and line breaks kept")
        << 2 << kAnswer << u"it's\r\nسطر"_qs << false << true << u"it's\r\nسطر"_qs;
}

void RecordSetChangesTest::settlingWritesOnlyRealChanges() {
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(bool, cancelled);
    QFETCH(bool, written);
    QFETCH(QString, inFile);
    StoreFixture fixture{fixtures::CollectionOptions{}};
    RecordSet& topic1 = fixture.store.recordSet(Source::topic1);
    const QString title = topic1.value(row, kTitle).toString();
    const auto before = kelvora::test::readFileBytes(fixture.file());

    topic1.moveTo(row);
    QVERIFY(topic1.setValue(row, column, typed));
    if (cancelled) {
        QSignalSpy changed(topic1.model(), &QAbstractItemModel::dataChanged);
        topic1.cancel();
        QVERIFY(!topic1.hasPendingChange());
        QCOMPARE(changed.count(), 1);  // the views show the record as it is again
        QCOMPARE(topic1.value(row, column).toString(), inFile);
    }
    topic1.moveTo(row == 0 ? 1 : 0);
    QVERIFY(!topic1.hasPendingChange());
    QCOMPARE(kelvora::test::readFileBytes(fixture.file()) != before, written);
    const auto records = kelvora::test::recordsInFile(fixture.file(), "kolliyat");
    const QString key = column == kTitle ? inFile : title;
    QVERIFY2(records.count(key) == 1, qPrintable(key));
    if (column != kTitle) QCOMPARE(records.at(key).at(column - 1), inFile);
}

void RecordSetChangesTest::newRecordsAreInsertedOrDroppedAndDeletesAreWrittenAtOnce() {
    StoreFixture fixture{fixtures::CollectionOptions{}};
    RecordSet& topic5 = fixture.store.recordSet(Source::topic5);
    topic5.moveTo(1);

    // A new record left as it was goes away, and the record before it is current again.
    topic5.append();
    QCOMPARE(topic5.recordCount(), 4);
    QCOMPARE(topic5.currentRow(), 3);
    QVERIFY(topic5.isNewRecordPending());
    QCOMPARE(topic5.field("kholase"), QString());
    topic5.prior();
    QCOMPARE(topic5.recordCount(), 3);
    QCOMPARE(topic5.currentRow(), 0);  // back on row 1, then one back
    QCOMPARE(kelvora::test::recordsInFile(fixture.file(), "vahy").size(), std::size_t{3});

    // Filled in, it is inserted when the record set moves, and stays where it is.
    topic5.append();
    QVERIFY(topic5.setValue(3, kTitle, u"چهارم vahy"_qs));
    QVERIFY(topic5.setValue(3, kAnswer, u"پاسخ چهارم"_qs));
    topic5.append();  // settles the first, starts a second
    QCOMPARE(topic5.recordCount(), 5);
    QVERIFY(topic5.setValue(4, kTitle, u"پنجم vahy"_qs));
    topic5.first();
    QCOMPARE(topic5.recordCount(), 5);
    auto records = kelvora::test::recordsInFile(fixture.file(), "vahy");
    QCOMPARE(records.size(), std::size_t{5});
    QCOMPARE(records.at(u"چهارم vahy"_qs),
             (QStringList{QString::fromStdString(kCsvNull), u"پاسخ چهارم"_qs,
                          QString::fromStdString(kCsvNull)}));

    // Deleting a written new record and an old one; the next row becomes current.
    topic5.moveTo(3);
    topic5.deleteCurrent();
    QCOMPARE(topic5.recordCount(), 4);
    QCOMPARE(topic5.currentRow(), 3);
    QCOMPARE(topic5.field("kholase"), u"پنجم vahy"_qs);
    topic5.first();
    QVERIFY(topic5.setValue(0, kAnswer, "edited, then deleted"));
    topic5.deleteCurrent();
    QVERIFY(!topic5.hasPendingChange());
    QCOMPARE(topic5.field("kholase"), u"دوم vahy"_qs);
    records = kelvora::test::recordsInFile(fixture.file(), "vahy");
    QCOMPARE(records.size(), std::size_t{3});
    QVERIFY(records.count(u"نخست vahy"_qs) == 0 && records.count(u"چهارم vahy"_qs) == 0);

    // Deleting a pending new record only drops it; the last record deleted leaves none.
    topic5.append();
    topic5.deleteCurrent();
    QCOMPARE(topic5.recordCount(), 3);
    for (int i = 0; i < 3; ++i) topic5.deleteCurrent();
    QCOMPARE(topic5.recordCount(), 0);
    QCOMPARE(topic5.currentRow(), -1);
    QVERIFY(kelvora::test::recordsInFile(fixture.file(), "vahy").empty());
    QVERIFY(fixture.store.recordSet(Source::topic1).isOpen());
}

void RecordSetChangesTest::aRefusedWriteKeepsTheChangeAndStopsTheMove() {
    StoreFixture fixture{fixtures::CollectionOptions{}};
    RecordSet& topic2 = fixture.store.recordSet(Source::topic2);
    QVERIFY(topic2.setValue(0, kAnswer, "mine"));
    kelvora::test::changeAnswerElsewhere(fixture.file(), u"ejaz", u"نخست ejaz", u"theirs");
    const auto theirs = kelvora::test::readFileBytes(fixture.file());

    const QString message = failureOf([&] { topic2.next(); });
    QVERIFY2(message.contains("changed by another program"), qPrintable(message));
    QCOMPARE(topic2.currentRow(), 0);
    QVERIFY(topic2.hasPendingChange());
    QCOMPARE(topic2.field("pasokh"), QStringLiteral("mine"));
    QCOMPARE(kelvora::test::readFileBytes(fixture.file()), theirs);

    // Dropping the change lets the record set move on; the other program's answer stays.
    topic2.cancel();
    topic2.next();
    QCOMPARE(topic2.currentRow(), 1);
    QCOMPARE(kelvora::test::recordsInFile(fixture.file(), "ejaz")[u"نخست ejaz"_qs].at(1),
             QStringLiteral("theirs"));
}

void RecordSetChangesTest::aRebuildSettlesFirstAndDoesNotHappenWhenThatFails() {
    StoreFixture fixture{fixtures::CollectionOptions{}};
    RecordSet& topic3 = fixture.store.recordSet(Source::topic3);
    QVERIFY(topic3.setValue(0, kAnswer, "typed before filtering"));
    QCOMPARE(topic3.titleFilter("elm", u"دوم"_qs), std::optional<int>(1));
    QCOMPARE(kelvora::test::recordsInFile(fixture.file(), "elm")[u"نخست elm"_qs].at(1),
             QStringLiteral("typed before filtering"));

    // The write is refused: no rebuild, the filter and the change stay.
    QVERIFY(topic3.setValue(0, kAnswer, "mine"));
    kelvora::test::changeAnswerElsewhere(fixture.file(), u"elm", u"دوم elm", u"theirs");
    const QString statement = topic3.statement();
    QVERIFY(!failureOf([&] { topic3.reset("elm"); }).isEmpty());
    QVERIFY(topic3.isOpen());
    QCOMPARE(topic3.statement(), statement);
    QVERIFY(topic3.hasPendingChange());
    QCOMPARE(topic3.field("pasokh"), QStringLiteral("mine"));
    // An empty filter text sends nothing and so writes nothing either.
    QCOMPARE(topic3.titleFilter("elm", QString()), std::nullopt);
    QVERIFY(topic3.hasPendingChange());
}

void RecordSetChangesTest::aReadOnlyFileSaysSoAndKeepsWhatWasTyped() {
    bool readOnly = false;
    StoreFixture fixture{fixtures::CollectionOptions{}, [&](const std::filesystem::path& file) {
                             readOnly = kelvora::test::makeReadOnly(file);
                         }};
    const kelvora::test::WritableAgain writable(fixture.file());
    if (!readOnly) QSKIP("chattr +i is not available to make a file read-only");

    QVERIFY2(fixture.reports.isEmpty(), qPrintable(fixture.reports.join('\n')));
    QVERIFY(fixture.store.connection().isReadOnly());
    RecordSet& topic6 = fixture.store.recordSet(Source::topic6);
    QVERIFY(topic6.setValue(0, kAnswer, "typed into a read-only file"));
    const QString message = failureOf([&] { topic6.next(); });
    QVERIFY2(message.contains("read-only") && message.contains("kelvora.mdb"), qPrintable(message));
    QCOMPARE(topic6.currentRow(), 0);
    QCOMPARE(topic6.field("pasokh"), QStringLiteral("typed into a read-only file"));
    QVERIFY(!failureOf([&] { topic6.titleFilter("mohamad", "x"); }).isEmpty());
    QCOMPARE(topic6.field("pasokh"), QStringLiteral("typed into a read-only file"));
    QVERIFY(!failureOf([&] { topic6.deleteCurrent(); }).isEmpty());
    QCOMPARE(topic6.recordCount(), 3);
}

QTEST_GUILESS_MAIN(RecordSetChangesTest)
#include "record_set_changes_test.moc"
