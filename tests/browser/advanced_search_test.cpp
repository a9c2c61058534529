// Advanced search: the panel opens over the window with the search box focused, searches the
// whole collection in the question or the answer, lists the titles found and shows the current
// one; its cancel button leaves the window as a click on topic 1 does, and the panel's state
// carries over to the next opening.
#include <map>

#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

#include "content/statements.h"
#include "controls/db_grid.h"
#include "controls/db_memo.h"
#include "controls/db_text.h"
#include "controls/edit.h"
#include "controls/fonts.h"
#include "controls/label.h"
#include "controls/panel.h"
#include "controls/picture.h"
#include "controls/speed_button.h"
#include "window_fixture.h"

using browser::Tmain;
using content::Source;
using testing_browser::BrowsingWindow;
using testing_browser::typeText;

namespace {

fixtures::CollectionOptions collection() {
    fixtures::CollectionOptions options;
    options.records[u"pkelvora"] = {
        {u"وحي", u"وحي چيست؟", u"پاسخ درباره وحي", std::nullopt},
        {u"نقل قول", u"سخن 'امام' چيست؟", u"پاسخ دوم", std::nullopt},
        {u"ويژه", u"کلمه اي ويژه در پرسش", u"پاسخ سوم", std::nullopt},
        {u"جستجو", u"جستجو در کتاب", u"پاسخ چهارم", std::nullopt},
        {u"پاسخ ويژه", u"پرسش پنجم", u"در پاسخ: وحي", std::nullopt},
    };
    return options;
}

QStringList gridTitles(BrowsingWindow& fixture) {
    QAbstractItemModel* rows = fixture.find<controls::DBGrid>("DBzertol")->model();
    QStringList titles;
    for (int row = 0; row < rows->rowCount(); ++row)
        titles.append(rows->data(rows->index(row, 0)).toString());
    return titles;
}

// Replaces the text of a box by typing, as after entering it with Tab.
void typeOver(QLineEdit* box, const QString& text) {
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    typeText(box, text);
}

void setSearchText(BrowsingWindow& fixture, const QString& text) {
    typeOver(fixture.find<QLineEdit>("ebarat"), text);
}

// Every named control of the window (the dialogs aside) and whether it is hidden.
std::map<QString, bool> hiddenControls(BrowsingWindow& fixture) {
    std::map<QString, bool> hidden;
    for (QWidget* widget : fixture.window->findChildren<QWidget*>())
        if (!widget->objectName().isEmpty() && widget->window() == fixture.window.get())
            hidden[widget->objectName()] = widget->isHidden();
    return hidden;
}

const QStringList kTopicTitles = {"DBTextkolliyat", "DBTextmoghadamat", "DBTextvajeb",
                                  "DBTextmostahab", "DBTextnamaz",      "DBTextmotefar"};

}  // namespace

class AdvancedSearchTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void panelAsDefined();
    void openingBeforeAnySearch();
    void search_data();
    void search();
    void emptyTextDoesNothing();
    void failedSearchLeavesTheViewEmpty();
    void cancelIsAClickOnTopic1();
    void stepButtonsMoveThroughTheResults();
};

void AdvancedSearchTest::initTestCase() {
    controls::installFontSubstitutes();
}

void AdvancedSearchTest::panelAsDefined() {
    BrowsingWindow fixture;
    struct Expected {
        const char* name;
        const char* parent;
        QRect box;
        const char16_t* caption;  // nullptr: none
    };
    const Expected expected[] = {
        {"Image3", "Panel1", QRect(0, 0, 255, 368), nullptr},
        {"DBzertol", "Panel1", QRect(41, 192, 189, 160), nullptr},
        {"GroupBox1", "Panel1", QRect(40, 96, 193, 89), u"  تنظيمات   "},
        {"ebarat", "Panel1", QRect(56, 61, 143, 22), u"جستجو"},
        {"RadioButton1", "GroupBox1", QRect(72, 16, 113, 17), u"جستجو در پرسش"},
        {"RadioButton2", "GroupBox1", QRect(72, 40, 113, 17), u"جستجو در پاسخ"},
        {"SpeedButton9", "GroupBox1", QRect(120, 62, 49, 22), u"جستجو"},
        {"SpeedButton10", "GroupBox1", QRect(32, 62, 57, 22), u"لغو"},
    };
    for (const Expected& control : expected) {
        QWidget* widget = fixture.find(control.name);
        QVERIFY2(widget != nullptr, control.name);
        QVERIFY2(widget->parentWidget()->objectName() == control.parent, control.name);
        QVERIFY2(widget->geometry() == control.box, control.name);
        QVERIFY2(!widget->isHidden(), control.name);  // shown and hidden with the panel
        QVERIFY2(widget->layoutDirection() == Qt::RightToLeft, control.name);
        QString caption;
        if (auto* box = qobject_cast<QGroupBox*>(widget)) caption = box->title();
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) caption = button->text();
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) caption = edit->text();
        if (control.caption != nullptr)
            QVERIFY2(caption == QString::fromUtf16(control.caption), control.name);
        // Without a font of their own they have the window's.
        if (qobject_cast<QAbstractButton*>(widget) != nullptr) {
            QVERIFY2(widget->font().family() == "Tahoma", control.name);
            QVERIFY2(widget->font().pixelSize() == 12, control.name);
            QVERIFY2(widget->cursor().shape() == Qt::ArrowCursor, control.name);
        }
    }
    // From the bottom of the panel's stacking order up.
    const QObjectList& stack = fixture.find("Panel1")->children();
    QVERIFY(stack.indexOf(fixture.find("Image3")) < stack.indexOf(fixture.find("DBzertol")));
    QVERIFY(stack.indexOf(fixture.find("DBzertol")) < stack.indexOf(fixture.find("GroupBox1")));
    QVERIFY(stack.indexOf(fixture.find("GroupBox1")) < stack.indexOf(fixture.find("ebarat")));

    QCOMPARE(fixture.find<controls::Picture>("Image3")->pixmap().size(), QSize(255, 368));
    QCOMPARE(fixture.find<controls::SpeedButton>("SpeedButton8")->picture().size(), QSize(24, 24));
    QVERIFY(!fixture.find<controls::SpeedButton>("SpeedButton9")->isFlat());
    QVERIFY(!fixture.find<controls::SpeedButton>("SpeedButton10")->isFlat());
    QVERIFY(fixture.find<QRadioButton>("RadioButton1")->isChecked());
    QVERIFY(!fixture.find<QRadioButton>("RadioButton2")->isChecked());
    auto* group = fixture.find<QGroupBox>("GroupBox1");
    QVERIFY(group->autoFillBackground());
    QCOMPARE(group->palette().color(QPalette::Window), QColor(211, 240, 212));
    auto* box = fixture.find<controls::Edit>("ebarat");
    QVERIFY(!box->hasFrame());
    QCOMPARE(box->font().family(), QStringLiteral("Tahoma"));
    QCOMPARE(box->font().pixelSize(), 12);
    QCOMPARE(box->palette().color(QPalette::Base), QColor(236, 248, 236));
    QCOMPARE(box->palette().color(QPalette::Text), QColor(128, 128, 0));
    QCOMPARE(box->maxLength(), 32767);  // Qt's own limit, far beyond any search text
    QVERIFY(fixture.boxes.isEmpty());
}

void AdvancedSearchTest::openingBeforeAnySearch() {
    BrowsingWindow fixture(collection());
    Tmain& window = *fixture.window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    fixture.click("Label4");
    typeOver(fixture.find<QLineEdit>("Edit1"), "x");
    const auto statementsBefore = fixture.statements().size();
    const QString count = fixture.find<controls::Label>("Label9")->text();

    fixture.click("SpeedButton8");
    QVERIFY(!fixture.find("Panel1")->isHidden());
    auto* box = fixture.find<QLineEdit>("ebarat");
    QTRY_VERIFY(box->hasFocus());
    QCOMPARE(box->selectedText(), QStringLiteral("جستجو"));
    QCOMPARE(window.activeSource(Tmain::ViewRule::withAdvancedSearch), Source::advancedSearch);
    QVERIFY(!window.activeSource(Tmain::ViewRule::topicsOnly).has_value());
    for (const char* name : {"Memopazertol", "Memopozertol", "Memomazertol", "DBTextzertol"})
        QVERIFY2(!fixture.find(name)->isHidden(), qPrintable(name));
    for (const QString& name : kTopicTitles)
        QVERIFY2(fixture.find(name)->isHidden(), qPrintable(name));
    QVERIFY(fixture.find("DBmostahab")->isHidden());

    // Every record of the collection, the first one shown; nothing sent, nothing else moved.
    QCOMPARE(gridTitles(fixture), QStringList({"وحي", "نقل قول", "ويژه", "جستجو", "پاسخ ويژه"}));
    QCOMPARE(fixture.find<controls::DBText>("DBTextzertol")->text(), QStringLiteral("وحي"));
    QCOMPARE(fixture.find<controls::DBMemo>("Memopazertol")->value(),
             QStringLiteral("پاسخ درباره وحي"));
    QCOMPARE(fixture.statements().size(), statementsBefore);
    QCOMPARE(fixture.find("Image2")->pos(), QPoint(658, 210));
    QVERIFY(!fixture.find("Label8")->isHidden());
    QCOMPARE(fixture.find<controls::Label>("Label9")->text(), count);
    QCOMPARE(fixture.find<QLineEdit>("Edit1")->text(), QStringLiteral("x"));
    // The panel covers the filter box.
    QCOMPARE(window.childAt(QPoint(750, 385)), box);
    QVERIFY(fixture.boxes.isEmpty());
}

void AdvancedSearchTest::search_data() {
    QTest::addColumn<bool>("inAnswers");
    QTest::addColumn<QString>("text");  // null: the box as it opens
    QTest::addColumn<QStringList>("titles");

    QTest::newRow("a quote matches the quote itself")
        << false << "'امام'" << QStringList{"نقل قول"};
    QTest::newRow("blanks around the text are part of it")
        << false << " ويژه " << QStringList{"ويژه"};
    QTest::newRow("one blank too many finds nothing") << false << "ويژه  " << QStringList{};
    QTest::newRow("a text only in questions: the question search finds it")
        << false << "چيست" << QStringList{"وحي", "نقل قول"};
    QTest::newRow("a text only in questions: the answer search does not")
        << true << "چيست" << QStringList{};
    QTest::newRow("the answer search") << true << "وحي" << QStringList{"وحي", "پاسخ ويژه"};
    QTest::newRow("the untouched box searches for its start text")
        << false << QString() << QStringList{"جستجو"};
}

void AdvancedSearchTest::search() {
    QFETCH(bool, inAnswers);
    QFETCH(QString, text);
    QFETCH(QStringList, titles);
    BrowsingWindow fixture(collection());
    fixture.click("SpeedButton8");
    if (inAnswers) fixture.find<QRadioButton>("RadioButton2")->click();
    if (!text.isNull()) setSearchText(fixture, text);
    const QString searched = text.isNull() ? QStringLiteral("جستجو") : text;
    const QString count = fixture.find<controls::Label>("Label9")->text();

    fixture.click("SpeedButton9");
    QCOMPARE(fixture.statements().last(), (inAnswers ? content::answerSearchStatement(searched)
                                                     : content::questionSearchStatement(searched)) +
                                              "\r\n");
    QCOMPARE(gridTitles(fixture), titles);
    content::RecordSet& results = fixture.recordSet(Source::advancedSearch);
    QCOMPARE(results.currentRow(), titles.isEmpty() ? -1 : 0);
    QCOMPARE(fixture.find<controls::DBGrid>("DBzertol")->currentRow(), results.currentRow());
    QCOMPARE(fixture.find<controls::DBText>("DBTextzertol")->text(),
             titles.isEmpty() ? QString() : titles.first());
    QCOMPARE(fixture.find<controls::DBMemo>("Memopazertol")->value(), results.field("pasokh"));
    // The panel stays open on the results; the count is not touched.
    QVERIFY(!fixture.find("Panel1")->isHidden());
    for (const char* name : {"Memopazertol", "Memopozertol", "Memomazertol", "DBTextzertol"})
        QVERIFY2(!fixture.find(name)->isHidden(), qPrintable(name));
    for (const QString& name : kTopicTitles)
        QVERIFY2(fixture.find(name)->isHidden(), qPrintable(name));
    QCOMPARE(fixture.find<controls::Label>("Label9")->text(), count);
    QVERIFY(fixture.boxes.isEmpty());
}

void AdvancedSearchTest::emptyTextDoesNothing() {
    BrowsingWindow fixture(collection());
    fixture.click("SpeedButton8");
    setSearchText(fixture, "چيست");
    fixture.click("SpeedButton9");
    fixture.click("SpeedButton2");
    const QString statement = fixture.recordSet(Source::advancedSearch).statement();
    const auto sent = fixture.statements().size();
    const auto hidden = hiddenControls(fixture);

    setSearchText(fixture, QString());
    QCOMPARE(fixture.find<QLineEdit>("ebarat")->text(), QString());
    fixture.click("SpeedButton9");
    QCOMPARE(fixture.statements().size(), sent);
    QCOMPARE(fixture.recordSet(Source::advancedSearch).statement(), statement);
    QCOMPARE(fixture.recordSet(Source::advancedSearch).currentRow(), 1);
    QVERIFY(hiddenControls(fixture) == hidden);
    QVERIFY(fixture.boxes.isEmpty());
}

void AdvancedSearchTest::failedSearchLeavesTheViewEmpty() {
    fixtures::CollectionOptions options = collection();
    options.withoutTables.insert(u"pkelvora");
    BrowsingWindow fixture(options);
    const auto reported = fixture.boxes.size();
    QVERIFY(reported > 0);  // the start could not open it either
    fixture.click("SpeedButton8");
    fixture.click("SpeedButton9");
    QCOMPARE(fixture.boxes.size(), reported + 1);
    QVERIFY(!fixture.recordSet(Source::advancedSearch).isOpen());
    QVERIFY(gridTitles(fixture).isEmpty());
    QCOMPARE(fixture.find<controls::DBText>("DBTextzertol")->text(), QString());
    QVERIFY(!fixture.find("Panel1")->isHidden());
}

// After a search and a step through the results, the cancel button leaves the window exactly
// as a click on topic 1 leaves a window that never opened the panel; the panel's box, choice,
// results and current record are there at the next opening.
void AdvancedSearchTest::cancelIsAClickOnTopic1() {
    BrowsingWindow searched(collection());
    BrowsingWindow clicked(collection());
    for (BrowsingWindow* fixture : {&searched, &clicked}) {
        fixture->click("Label5");
        typeOver(fixture->find<QLineEdit>("Edit1"), "م");
    }
    searched.click("SpeedButton8");
    searched.find<QRadioButton>("RadioButton2")->click();
    setSearchText(searched, "پاسخ");
    searched.click("SpeedButton9");
    searched.click("SpeedButton2");
    searched.click("SpeedButton10");
    clicked.click("Label1");

    QVERIFY(hiddenControls(searched) == hiddenControls(clicked));
    for (BrowsingWindow* fixture : {&searched, &clicked}) {
        QCOMPARE(fixture->window->activeSource(Tmain::ViewRule::withAdvancedSearch),
                 Source::topic1);
        QCOMPARE(fixture->find("Image2")->pos(), QPoint(658, 107));
        QVERIFY(fixture->find("Label8")->isHidden());
        QCOMPARE(fixture->find<controls::Label>("Label9")->text(), QStringLiteral("2"));
        QCOMPARE(fixture->find<QLineEdit>("Edit1")->text(), QStringLiteral("م"));
        QCOMPARE(fixture->recordSet(Source::topic1).statement(),
                 content::statementText(content::startStatementLines("kolliyat")));
    }
    content::RecordSet& results = searched.recordSet(Source::advancedSearch);
    QCOMPARE(results.statement(), content::answerSearchStatement("پاسخ") + "\r\n");
    QCOMPARE(results.currentRow(), 1);

    searched.click("SpeedButton8");
    QVERIFY(searched.find<QRadioButton>("RadioButton2")->isChecked());
    QCOMPARE(searched.find<QLineEdit>("ebarat")->text(), QStringLiteral("پاسخ"));
    QCOMPARE(gridTitles(searched).size(), 5);
    QCOMPARE(searched.find<controls::DBGrid>("DBzertol")->currentRow(), 1);
    QCOMPARE(searched.find<controls::DBText>("DBTextzertol")->text(), QStringLiteral("نقل قول"));
    QVERIFY(searched.boxes.isEmpty());
}

void AdvancedSearchTest::stepButtonsMoveThroughTheResults() {
    BrowsingWindow fixture(collection());
    Tmain& window = *fixture.window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    fixture.click("SpeedButton8");
    fixture.find<QRadioButton>("RadioButton2")->click();
    setSearchText(fixture, "پاسخ");
    fixture.click("SpeedButton9");
    const QStringList titles = gridTitles(fixture);
    QCOMPARE(titles.size(), 5);

    content::RecordSet& results = fixture.recordSet(Source::advancedSearch);
    auto* grid = fixture.find<controls::DBGrid>("DBzertol");
    const std::pair<const char*, int> presses[] = {
        {"SpeedButton4", 4}, {"SpeedButton1", 3}, {"SpeedButton3", 0}, {"SpeedButton2", 1}};
    for (const auto& [button, row] : presses) {
        fixture.click(button);
        QCOMPARE(results.currentRow(), row);
        QCOMPARE(grid->currentRow(), row);
        QCOMPARE(fixture.find<controls::DBText>("DBTextzertol")->text(), titles[row]);
        QCOMPARE(fixture.find<controls::DBMemo>("Memopazertol")->value(), results.field("pasokh"));
    }
    // A row picked in the grid moves the results the same way.
    const QRect cell = grid->visualRect(grid->model()->index(2, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(results.currentRow(), 2);
    QCOMPARE(fixture.find<controls::DBText>("DBTextzertol")->text(), titles[2]);
    // No topic's record set moved.
    for (int topic = 1; topic <= content::kTopicCount; ++topic)
        QCOMPARE(fixture.recordSet(content::topicSource(topic)).currentRow(), 0);
    QVERIFY(fixture.boxes.isEmpty());
}

QTEST_MAIN(AdvancedSearchTest)
#include "advanced_search_test.moc"
