// What a user types into the browsing window reaches the file: the panes and the titles grid
// driven with real key events, the file read back by mdb-export and by a fresh engine.

#include <fstream>
#include <iterator>
#include <map>

#include <QAbstractItemView>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include "controls/db_grid.h"
#include "controls/db_memo.h"
#include "controls/label.h"
#include "file_from_outside.h"
#include "jet/database.h"
#include "oracles.h"
#include "read_only_file.h"
#include "test_files.h"
#include "window_fixture.h"

using content::Source;
using testing_browser::BrowsingWindow;
using testing_browser::typeText;

namespace {

// Title -> answer, as mdb-export and our own reader both read them.
std::map<QString, QString> answersInFile(const std::filesystem::path& file,
                                         const std::string& table) {
    std::map<QString, QString> answers;
    for (const auto& [title, fields] : kelvora::test::recordsInFile(file, table))
        answers[title] = fields.at(1);
    return answers;
}

void press(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(widget, static_cast<Qt::Key>(key), modifiers);
}

// Types into the caret's place in a pane that has the focus, as the keyboard would.
void typeAtEnd(controls::DBMemo* memo, const QString& text) {
    memo->setFocus();
    memo->moveCursor(QTextCursor::End);
    typeText(memo, text);
}

// The editing state a grid's row indicator shows for `row`: 0 as read, 1 edited, 2 new.
int stateOf(controls::DBGrid* grid, int row) {
    return grid->model()
        ->headerData(row, Qt::Vertical, controls::FieldColumnModel::kRecordStateRole)
        .toInt();
}

// The row indicator's section of `row` as painted.
QImage indicatorOf(controls::DBGrid* grid, int row) {
    QHeaderView* header = grid->verticalHeader();
    const QRect section(0, header->sectionViewportPosition(row), header->width(),
                        header->sectionSize(row));
    return header->viewport()->grab(section).toImage();
}

// The window on screen and active, so that the focus and the cell editors work as for a user.
void showActive(BrowsingWindow& fixture) {
    fixture.window->show();
    fixture.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(fixture.window.get()));
}

}  // namespace

class EditsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { controls::setConfirmBoxHandler({}); }
    void cleanup() { controls::setConfirmBoxHandler({}); }
    void typedAnswerIsWrittenWhenNextIsPressed();
    void typedAnswerIsWrittenBeforeTheFilterRebuilds();
    void escapeDropsWhatWasTyped();
    void gridStartsFillsAndDeletesRecords();
    void typingIntoAnEmptyResultStartsARecord();
    void aRefusedWriteKeepsTheRecordAndTheGridWhereTheyAre();
    void programEndWritesWhatIsPending();
    void readOnlyFileSaysSoAndKeepsTheText();
};

void EditsTest::typedAnswerIsWrittenWhenNextIsPressed() {
    BrowsingWindow fixture;
    showActive(fixture);
    auto* answer = fixture.find<controls::DBMemo>("Memopakolliyat");
    auto* grid = fixture.find<controls::DBGrid>("DBkolliyat");
    const QImage browsing = indicatorOf(grid, 0);
    typeAtEnd(answer, u" و بيشتر"_qs);
    const QString typed = u"پاسخ يکم\r\nسطر دوم و بيشتر"_qs;
    QCOMPARE(answer->value(), typed);
    QVERIFY(fixture.recordSet(Source::topic1).hasPendingChange());
    // The grid's row indicator shows that the record has a change not yet written.
    QCOMPARE(stateOf(grid, 0), 1);
    QVERIFY(indicatorOf(grid, 0) != browsing);

    fixture.click("SpeedButton2");
    QVERIFY2(fixture.boxes.isEmpty(), qPrintable(fixture.boxes.join('\n')));
    QCOMPARE(stateOf(grid, 0), 0);
    QCOMPARE(indicatorOf(grid, 1), browsing);
    QCOMPARE(answer->value(), u"پاسخ دوم"_qs);
    QCOMPARE(answersInFile(fixture.file(), "kolliyat")[u"نخست kolliyat"_qs], typed);
    fixture.click("SpeedButton1");
    QCOMPARE(answer->value(), typed);
}

void EditsTest::typedAnswerIsWrittenBeforeTheFilterRebuilds() {
    BrowsingWindow fixture;
    showActive(fixture);
    auto* answer = fixture.find<controls::DBMemo>("Memopakolliyat");
    typeAtEnd(answer, u"!"_qs);
    auto* filter = fixture.find<QLineEdit>("Edit1");
    filter->clear();
    typeText(filter, u"سوم"_qs);
    QVERIFY2(fixture.boxes.isEmpty(), qPrintable(fixture.boxes.join('\n')));
    QCOMPARE(fixture.find<controls::Label>("Label9")->text(), QStringLiteral("1"));
    QCOMPARE(answersInFile(fixture.file(), "kolliyat")[u"نخست kolliyat"_qs],
             u"پاسخ يکم\r\nسطر دوم!"_qs);
}

void EditsTest::escapeDropsWhatWasTyped() {
    BrowsingWindow fixture;
    showActive(fixture);
    const auto before = kelvora::test::readFileBytes(fixture.file());
    auto* question = fixture.find<controls::DBMemo>("Memopokolliyat");
    auto* title = fixture.find<QWidget>("DBTextkolliyat");
    auto* grid = fixture.find<controls::DBGrid>("DBkolliyat");
    typeAtEnd(question, u"؟"_qs);
    press(question, Qt::Key_Escape);
    QCOMPARE(question->value(), u"پرسش يکم kolliyat"_qs);

    // In the grid: typing a title opens the cell editor; its Escape drops the change too.
    grid->setFocus();
    typeText(grid, u"ت"_qs);
    QCOMPARE(title->property("value").toString(), u"ت"_qs);
    press(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(title->property("value").toString(), u"نخست kolliyat"_qs);
    QCOMPARE(grid->model()->index(0, 0).data().toString(), u"نخست kolliyat"_qs);

    fixture.click("SpeedButton2");
    QVERIFY(fixture.boxes.isEmpty());
    QCOMPARE(kelvora::test::readFileBytes(fixture.file()), before);
}

void EditsTest::gridStartsFillsAndDeletesRecords() {
    BrowsingWindow fixture;
    showActive(fixture);
    content::RecordSet& topic1 = fixture.recordSet(Source::topic1);
    auto* grid = fixture.find<controls::DBGrid>("DBkolliyat");
    auto* answer = fixture.find<controls::DBMemo>("Memopakolliyat");

    // Down on the last row starts a new record; the panes are blank for it.
    fixture.click("SpeedButton4");
    grid->setFocus();
    press(grid, Qt::Key_Down);
    QCOMPARE(grid->model()->rowCount(), 4);
    QCOMPARE(grid->currentRow(), 3);
    QCOMPARE(stateOf(grid, 3), 2);
    QCOMPARE(answer->value(), QString());
    typeText(grid, u"چ"_qs);  // opens the cell editor, which takes the focus
    QVERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr);
    typeText(QApplication::focusWidget(), u"هارم"_qs);
    press(QApplication::focusWidget(), Qt::Key_Return);
    typeAtEnd(answer, u"پاسخ چهارم"_qs);
    // Up settles it: inserted, and it stays the last row.
    grid->setFocus();
    press(grid, Qt::Key_Up);
    QVERIFY2(fixture.boxes.isEmpty(), qPrintable(fixture.boxes.join('\n')));
    QCOMPARE(grid->currentRow(), 2);
    auto answers = answersInFile(fixture.file(), "kolliyat");
    QCOMPARE(answers.size(), std::size_t{4});
    QCOMPARE(answers[u"چهارم"_qs], u"پاسخ چهارم"_qs);

    // Insert starts another; left empty, moving away drops it.
    press(grid, Qt::Key_Insert);
    QCOMPARE(grid->model()->rowCount(), 5);
    fixture.click("SpeedButton3");
    QCOMPARE(grid->model()->rowCount(), 4);
    QCOMPARE(topic1.currentRow(), 0);

    // Ctrl+Delete asks first; Cancel keeps the record, OK deletes it.
    QStringList asked;
    bool answerOk = false;
    controls::setConfirmBoxHandler([&](const QString& caption, const QString& text) {
        asked << caption + QStringLiteral(": ") + text;
        return answerOk;
    });
    press(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(asked, QStringList{QStringLiteral("Confirm: Delete record?")});
    QCOMPARE(grid->model()->rowCount(), 4);
    answerOk = true;
    press(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(grid->model()->rowCount(), 3);
    QCOMPARE(fixture.find<QWidget>("DBTextkolliyat")->property("value").toString(),
             u"دوم kolliyat"_qs);
    answers = answersInFile(fixture.file(), "kolliyat");
    QCOMPARE(answers.size(), std::size_t{3});
    QVERIFY(answers.count(u"نخست kolliyat"_qs) == 0);
    QVERIFY(fixture.boxes.isEmpty());
}

void EditsTest::typingIntoAnEmptyResultStartsARecord() {
    BrowsingWindow fixture;
    showActive(fixture);
    auto* filter = fixture.find<QLineEdit>("Edit1");
    filter->clear();
    typeText(filter, u"هيچ"_qs);
    QCOMPARE(fixture.find<controls::Label>("Label9")->text(), QStringLiteral("0"));
    auto* answer = fixture.find<controls::DBMemo>("Memopakolliyat");
    typeAtEnd(answer, u"پاسخ تازه"_qs);
    QCOMPARE(answer->value(), u"پاسخ تازه"_qs);  // the first keystroke is kept
    QVERIFY(fixture.recordSet(Source::topic1).isNewRecordPending());
    fixture.click("SpeedButton2");
    QVERIFY2(fixture.boxes.isEmpty(), qPrintable(fixture.boxes.join('\n')));
    const auto answers = answersInFile(fixture.file(), "kolliyat");
    QCOMPARE(answers.size(), std::size_t{4});
    QCOMPARE(answers.at(QString::fromStdString(kelvora::test::kCsvNull)), u"پاسخ تازه"_qs);
}

void EditsTest::aRefusedWriteKeepsTheRecordAndTheGridWhereTheyAre() {
    BrowsingWindow fixture;
    showActive(fixture);
    auto* answer = fixture.find<controls::DBMemo>("Memopakolliyat");
    auto* grid = fixture.find<controls::DBGrid>("DBkolliyat");
    typeAtEnd(answer, u"!"_qs);
    // Another program changes the record meanwhile.
    kelvora::test::changeAnswerElsewhere(fixture.file(), u"kolliyat", u"نخست kolliyat", u"theirs");
    const QRect second = grid->visualRect(grid->model()->index(1, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(fixture.boxes.size(), 1);
    QVERIFY2(fixture.boxes.first().contains("changed by another program"),
             qPrintable(fixture.boxes.first()));
    QCOMPARE(grid->currentRow(), 0);
    QCOMPARE(grid->selectionModel()->currentIndex().row(), 0);
    QCOMPARE(answer->value(), u"پاسخ يکم\r\nسطر دوم!"_qs);
    QCOMPARE(answersInFile(fixture.file(), "kolliyat")[u"نخست kolliyat"_qs], u"theirs"_qs);
}

void EditsTest::programEndWritesWhatIsPending() {
    BrowsingWindow fixture;
    showActive(fixture);
    // A change in a hidden view waits there and is written as the program ends.
    fixture.click("Label3");
    typeAtEnd(fixture.find<controls::DBMemo>("Memopamoghadamat"), u"+"_qs);
    fixture.click("Label1");  // hides the pane that has the focus
    QVERIFY(fixture.recordSet(Source::topic2).hasPendingChange());
    QCOMPARE(fixture.recordSet(Source::topic2).currentRow(), 0);
    QVERIFY(fixture.window->settlePendingChanges());
    QCOMPARE(answersInFile(fixture.file(), "ejaz")[u"نخست ejaz"_qs], u"پاسخ يکم\r\nسطر دوم+"_qs);
}

void EditsTest::readOnlyFileSaysSoAndKeepsTheText() {
    bool readOnly = false;
    BrowsingWindow fixture({}, [&](const std::filesystem::path& file) {
        readOnly = kelvora::test::makeReadOnly(file);
    });
    const kelvora::test::WritableAgain writable(fixture.file());
    if (!readOnly) QSKIP("chattr +i is not available to make a file read-only");

    QVERIFY2(fixture.boxes.isEmpty(), qPrintable(fixture.boxes.join('\n')));
    showActive(fixture);
    auto* answer = fixture.find<controls::DBMemo>("Memopakolliyat");
    typeAtEnd(answer, u" (افزوده)"_qs);
    const QString typed = answer->value();
    fixture.click("SpeedButton2");
    QCOMPARE(fixture.boxes.size(), 1);
    QVERIFY2(fixture.boxes.first().contains("read-only") &&
                 fixture.boxes.first().contains("kelvora.mdb"),
             qPrintable(fixture.boxes.first()));
    QCOMPARE(answer->value(), typed);
    QCOMPARE(fixture.recordSet(Source::topic1).currentRow(), 0);
    // Ending the program reports it again and refuses to end.
    QVERIFY(!fixture.window->settlePendingChanges());
    QCOMPARE(fixture.boxes.size(), 2);
    QCOMPARE(answer->value(), typed);
}

QTEST_MAIN(EditsTest)
#include "edits_test.moc"
