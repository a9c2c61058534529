// Find in answer text: the find button opens the dialog of the topic on screen; Find Next
// selects each further occurrence in that topic's answer pane, counting line breaks as two
// characters, and reports in the error box when there is none or no further one. A search
// goes on from the last occurrence only in the pane, and the text, where it was found.
#include <vector>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>

#include "controls/db_memo.h"
#include "controls/find_dialog.h"
#include "controls/fonts.h"
#include "window_fixture.h"

using browser::Tmain;
using content::Source;
using controls::FindDialog;
using testing_browser::BrowsingWindow;
using testing_browser::typeText;

namespace {

// One press of Find Next and what it must lead to.
struct Press {
    QString text;
    int findPos;         // FindPos afterwards; 0 for a message
    int selectionStart;  // where the selection starts in the pane's document; -1 for a message
    QString message;     // the error box's text; empty when something is found
};
using Presses = std::vector<Press>;

struct Options {
    bool up = false;
    bool matchCase = false;
    bool wholeWord = false;
};

QString further(const QString& text) {
    return "There are no further occurences of \"" + text + "\" in Memo1.";
}
QString notFound(const QString& text) {
    return "Could not find \"" + text + "\" in Memo1.";
}

// A collection whose topic 1 holds the given answers and topic 3 one more.
fixtures::CollectionOptions answers(const std::vector<std::u16string>& topic1,
                                    const std::u16string& topic3 = u"آب در آغاز") {
    fixtures::CollectionOptions options;
    for (const std::u16string& answer : topic1)
        options.records[u"kolliyat"].push_back({u"عنوان", u"پرسش", answer, std::nullopt});
    options.records[u"elm"] = {{u"عنوان", u"پرسش", topic3, std::nullopt}};
    return options;
}

FindDialog* openFind(BrowsingWindow& fixture, const QString& dialogName) {
    fixture.click("SpeedButton6");
    auto* dialog = fixture.find<FindDialog>(dialogName);
    if (dialog != nullptr && !dialog->isVisible())
        qWarning("%s did not open", qPrintable(dialogName));
    return dialog;
}

void pressFindNext(FindDialog* dialog, const QString& text) {
    dialog->setFindText(text);
    QTest::mouseClick(dialog->findNextButton(), Qt::LeftButton);
}

}  // namespace

Q_DECLARE_METATYPE(Presses)
Q_DECLARE_METATYPE(Options)

class FindTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void findNextPresses_data();
    void findNextPresses();
    void continuesOnlyWhereTheLastOccurrenceWas();
    void answerPaneOffScreen();
    void dialogOfTheTopicOnScreen_data();
    void dialogOfTheTopicOnScreen();
    void dialogKeepsItsTextAndOptions();
};

void FindTest::initTestCase() {
    controls::installFontSubstitutes();
}

void FindTest::findNextPresses_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<Options>("options");
    QTest::addColumn<Presses>("presses");

    const QString water = "آب";
    QTest::newRow("three occurrences in turn, then no further, then the first again")
        << "آب روان، آب زلال، آب" << Options{}
        << Presses{{water, 1, 0, {}},
                   {water, 10, 9, {}},
                   {water, 19, 18, {}},
                   {water, 0, -1, further(water)},
                   {water, 1, 0, {}}};
    QTest::newRow("a line break counts as two characters")
        << "سطر يکم\r\nسطر دوم\r\nآخر آب" << Options{}
        << Presses{{water, 23, 20, {}}, {water, 0, -1, further(water)}};
    QTest::newRow("occurrences on every line")
        << "آب\r\nآب\r\nآب" << Options{}
        << Presses{{water, 1, 0, {}}, {water, 5, 3, {}}, {water, 9, 6, {}}};
    QTest::newRow("absent: the first-search message on every press")
        << "آب روان" << Options{}
        << Presses{{"باران", 0, -1, notFound("باران")}, {"باران", 0, -1, notFound("باران")}};
    QTest::newRow("letter case matters with match case off")
        << "Light and light" << Options{}
        << Presses{{"LIGHT", 0, -1, notFound("LIGHT")}, {"light", 11, 10, {}}};
    QTest::newRow("up, whole word and match case change nothing")
        << "کتابخانه و کتاب" << Options{true, true, true}
        << Presses{{"کتاب", 1, 0, {}}, {"کتاب", 12, 11, {}}, {"کتاب", 0, -1, further("کتاب")}};
    QTest::newRow("of two overlapping occurrences only the first")
        << "ههه" << Options{}
        << Presses{{"هه", 1, 0, {}}, {"هه", 0, -1, further("هه")}, {"هه", 1, 0, {}}};
    QTest::newRow("a changed text goes on from the old position plus its own length")
        << "ab ab abc abc" << Options{}
        << Presses{{"ab", 1, 0, {}}, {"abc", 7, 6, {}}, {"ab", 11, 10, {}}};
}

void FindTest::findNextPresses() {
    QFETCH(QString, answer);
    QFETCH(Options, options);
    QFETCH(Presses, presses);
    BrowsingWindow fixture(answers({answer.toStdU16String()}));
    Tmain& window = *fixture.window;
    auto* memo = fixture.find<controls::DBMemo>("Memopakolliyat");
    FindDialog* dialog = openFind(fixture, "FindDialog1");
    QVERIFY(dialog != nullptr);
    dialog->setDirection(options.up ? FindDialog::Direction::up : FindDialog::Direction::down);
    dialog->setMatchCase(options.matchCase);
    dialog->setWholeWord(options.wholeWord);

    for (std::size_t index = 0; index < presses.size(); ++index) {
        const Press& press = presses[index];
        const QByteArray where = "press " + QByteArray::number(int(index) + 1);
        const qsizetype boxesBefore = fixture.boxes.size();
        window.setFocus();  // away from the pane, to see the find give it back
        pressFindNext(dialog, press.text);
        QVERIFY2(window.FindPos == press.findPos,
                 where + ": FindPos " + QByteArray::number(window.FindPos));
        if (press.message.isEmpty()) {
            QVERIFY2(fixture.boxes.size() == boxesBefore,
                     where + ": " + fixture.boxes.join('|').toUtf8());
            const QTextCursor cursor = memo->textCursor();
            QCOMPARE(cursor.selectionStart(), press.selectionStart);
            QCOMPARE(cursor.selectedText(), press.text);
            QCOMPARE(window.focusWidget(), memo);
        } else {
            QCOMPARE(fixture.boxes.size(), boxesBefore + 1);
            QCOMPARE(fixture.boxes.last(), press.message);
            QCOMPARE(fixture.captions.last(), QGuiApplication::applicationDisplayName());
        }
        QVERIFY(dialog->isVisible());  // the dialog stays open
    }
    QCOMPARE(memo->value(), answer);  // the find changes no text
}

void FindTest::continuesOnlyWhereTheLastOccurrenceWas() {
    BrowsingWindow fixture(answers({u"آب و آب و آب", u"آب در آغاز", u"آب و آب و آب"}));
    Tmain& window = *fixture.window;
    auto* memo = fixture.find<controls::DBMemo>("Memopakolliyat");
    FindDialog* dialog = openFind(fixture, "FindDialog1");
    pressFindNext(dialog, "آب");
    pressFindNext(dialog, "آب");
    QCOMPARE(window.FindPos, 6);

    // Another record: its first occurrence, before the old position, is found.
    fixture.click("SpeedButton2");
    pressFindNext(dialog, "آب");
    QCOMPARE(window.FindPos, 1);
    QCOMPARE(memo->textCursor().selectionStart(), 0);
    QVERIFY(fixture.boxes.isEmpty());

    // A record with the same text as the pane had: it is still the same text, so the search
    // goes on.
    pressFindNext(dialog, "آب");  // "آب در آغاز" has no second one
    QCOMPARE(fixture.boxes.takeLast(), further("آب"));
    fixture.click("SpeedButton2");
    pressFindNext(dialog, "آب");
    pressFindNext(dialog, "آب");
    QCOMPARE(window.FindPos, 6);
    fixture.click("SpeedButton3");
    fixture.click("SpeedButton4");
    pressFindNext(dialog, "آب");
    QCOMPARE(window.FindPos, 11);

    // Text typed into the pane makes it another text: the search starts over.
    memo->moveCursor(QTextCursor::End);
    typeText(memo, "!");
    pressFindNext(dialog, "آب");
    QCOMPARE(window.FindPos, 1);

    // Another topic's dialog: its first press starts at the beginning of its own pane.
    pressFindNext(dialog, "آب");
    QCOMPARE(window.FindPos, 6);
    fixture.click("Label6");
    FindDialog* topic3 = openFind(fixture, "FindDialog5");
    pressFindNext(topic3, "آب");
    QCOMPARE(window.FindPos, 1);
    QCOMPARE(fixture.find<controls::DBMemo>("Memopavajeb")->textCursor().selectedText(),
             QStringLiteral("آب"));
    // And back in topic 1's dialog, the search starts over there too.
    fixture.click("Label1");
    pressFindNext(dialog, "آب");
    QCOMPARE(window.FindPos, 1);
    QVERIFY2(fixture.boxes.isEmpty(), qPrintable(fixture.boxes.join('\n')));
}

void FindTest::answerPaneOffScreen() {
    BrowsingWindow fixture(answers({u"نور و نور"}));
    Tmain& window = *fixture.window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* memo = fixture.find<controls::DBMemo>("Memopakolliyat");
    FindDialog* dialog = openFind(fixture, "FindDialog1");
    pressFindNext(dialog, "نور");

    // Topic 4 on screen, topic 1's dialog still open: it searches and selects in its hidden
    // pane, which does not take the focus, and reports nothing.
    fixture.click("Label4");
    fixture.find("Memopamostahab")->setFocus();
    pressFindNext(dialog, "نور");
    QCOMPARE(window.FindPos, 7);
    QCOMPARE(memo->textCursor().selectionStart(), 6);
    QCOMPARE(memo->textCursor().selectedText(), QStringLiteral("نور"));
    QVERIFY(memo->isHidden());
    QCOMPARE(window.focusWidget(), fixture.find("Memopamostahab"));
    QVERIFY(fixture.boxes.isEmpty());

    // With the advanced search open there is no find dialog to open.
    fixture.click("SpeedButton8");
    dialog->reject();
    fixture.click("SpeedButton6");
    for (int number = 1; number <= 6; ++number)
        QVERIFY(!fixture.find("FindDialog" + QString::number(number))->isVisible());
}

void FindTest::dialogOfTheTopicOnScreen_data() {
    QTest::addColumn<QString>("topicLabel");
    QTest::addColumn<QString>("dialogName");
    QTest::addColumn<QString>("memoName");
    QTest::newRow("topic 1") << "Label1"
                             << "FindDialog1"
                             << "Memopakolliyat";
    QTest::newRow("topic 2") << "Label3"
                             << "FindDialog3"
                             << "Memopamoghadamat";
    QTest::newRow("topic 3") << "Label6"
                             << "FindDialog5"
                             << "Memopavajeb";
    QTest::newRow("topic 4") << "Label4"
                             << "FindDialog2"
                             << "Memopamostahab";
    QTest::newRow("topic 5") << "Label5"
                             << "FindDialog4"
                             << "Memopanamaz";
    QTest::newRow("topic 6") << "Label7"
                             << "FindDialog6"
                             << "Memopamotefar";
}

void FindTest::dialogOfTheTopicOnScreen() {
    QFETCH(QString, topicLabel);
    QFETCH(QString, dialogName);
    QFETCH(QString, memoName);
    BrowsingWindow fixture;  // every answer starts "پاسخ يکم", then a second line
    fixture.click(topicLabel);
    FindDialog* dialog = openFind(fixture, dialogName);
    for (int number = 1; number <= 6; ++number) {
        const QString name = "FindDialog" + QString::number(number);
        QCOMPARE(fixture.find(name)->isVisible(), name == dialogName);
    }
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->layoutDirection(), Qt::RightToLeft);
    pressFindNext(dialog, "سطر");
    QCOMPARE(fixture.window->FindPos, 11);
    QCOMPARE(fixture.find<controls::DBMemo>(memoName)->textCursor().selectedText(),
             QStringLiteral("سطر"));
    QVERIFY(fixture.boxes.isEmpty());
}

void FindTest::dialogKeepsItsTextAndOptions() {
    BrowsingWindow fixture;
    Tmain& window = *fixture.window;
    FindDialog* dialog = openFind(fixture, "FindDialog1");
    // As it first opens.
    auto* text = dialog->findChild<QLineEdit*>("findText");
    QCOMPARE(text->text(), QString());
    QCOMPARE(text->maxLength(), 255);
    QVERIFY(dialog->findChild<QRadioButton*>("down")->isChecked());
    QVERIFY(!dialog->findChild<QRadioButton*>("up")->isChecked());
    QVERIFY(!dialog->findChild<QCheckBox*>("matchCase")->isChecked());
    QVERIFY(!dialog->findChild<QCheckBox*>("wholeWord")->isChecked());
    QVERIFY(!dialog->findNextButton()->isEnabled());  // nothing to find yet

    // Typed text, Enter for Find Next; Cancel closes; opening again shows the same text.
    text->setFocus();
    typeText(text, "پاسخ");
    QVERIFY(dialog->findNextButton()->isEnabled());
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(window.FindPos, 1);
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(window.FindPos, 1);
    fixture.click("Label3");
    openFind(fixture, "FindDialog3")->setFindText("دوم");
    fixture.click("Label1");
    openFind(fixture, "FindDialog1");
    QCOMPARE(dialog->findText(), QStringLiteral("پاسخ"));
    QCOMPARE(fixture.find<FindDialog>("FindDialog3")->findText(), QStringLiteral("دوم"));
    QCOMPARE(window.FindPos, 1);  // opening does not touch it
    // The text is cut at 255 characters.
    dialog->setFindText(QString(300, QChar(u'ا')));
    QCOMPARE(dialog->findText().size(), 255);
}

QTEST_MAIN(FindTest)
#include "find_test.moc"
