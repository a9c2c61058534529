// The browsing window over small collection files made by our builder: every component where
// the window's definition puts it, one visible view at a time, the topic switch, the step
// buttons, the title filter with its statements and count, the cancel button, the tab order
// and the window chrome.
#include <memory>

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "browser/Unit1.h"
#include "collection_fixture.h"
#include "content/record_set.h"
#include "content/statements.h"
#include "controls/db_grid.h"
#include "controls/db_memo.h"
#include "controls/db_text.h"
#include "controls/edit.h"
#include "controls/error_box.h"
#include "controls/fonts.h"
#include "controls/hot_spot.h"
#include "controls/label.h"
#include "controls/panel.h"
#include "controls/speed_button.h"
#include "controls/web_address.h"
#include "window_fixture.h"

using browser::Tmain;
using content::Source;

namespace {

const QColor kMaroon(128, 0, 0);
const QColor kGreen(0, 128, 0);

// The window over a small collection, with its error boxes and opened addresses captured.
using WindowFixture = testing_browser::BrowsingWindow;

// The component names of one view.
struct ViewNames {
    QString title, question, answer, footnotes, grid;
    QStringList all() const { return {title, question, answer, footnotes, grid}; }
};

ViewNames viewNames(Source source) {
    const QString word = content::catalogueEntry(source).viewWord;
    return {"DBText" + word, "Memopo" + word, "Memopa" + word,
            (source == Source::topic1 ? "Memoman" : "Memoma") + word, "DB" + word};
}

const std::array<Source, content::kSourceCount> kAllSources = {
    Source::topic1, Source::topic2, Source::topic3,        Source::topic4,
    Source::topic5, Source::topic6, Source::advancedSearch};

// Sends text as typed keys carrying it (QTest::keyClicks handles Latin-1 only).
void typeText(QWidget* widget, const QString& text) {
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(widget, &release);
    }
}

// Replaces the filter box's text by typing, as after entering the box with Tab.
void filterBy(WindowFixture& fixture, const QString& text) {
    auto* edit = fixture.find<QLineEdit>("Edit1");
    edit->selectAll();
    typeText(edit, text);
}

// Opens the advanced-search view the way its button will: the panel and the four record
// controls shown, every topic view hidden.
void showAdvancedSearchView(WindowFixture& fixture) {
    fixture.find("Panel1")->show();
    const ViewNames advanced = viewNames(Source::advancedSearch);
    for (const QString& name :
         {advanced.answer, advanced.question, advanced.footnotes, advanced.title})
        fixture.find(name)->show();
    for (int topic = 1; topic <= content::kTopicCount; ++topic)
        for (const QString& name : viewNames(content::topicSource(topic)).all())
            fixture.find(name)->hide();
}

// The sources whose five controls are all shown; a view shown only in part is reported too.
QList<Source> shownViews(WindowFixture& fixture, QStringList* partlyShown) {
    QList<Source> shown;
    for (const Source source : kAllSources) {
        int count = 0;
        for (const QString& name : viewNames(source).all()) {
            QWidget* widget = fixture.find(name);
            // The advanced-search grid is shown and hidden with its panel.
            if (name == "DBzertol") widget = fixture.find("Panel1");
            if (!widget->isHidden()) ++count;
        }
        if (count == 5)
            shown.append(source);
        else if (count > 0)
            partlyShown->append(content::catalogueEntry(source).viewWord);
    }
    return shown;
}

fixtures::CollectionOptions titledCollection() {
    fixtures::CollectionOptions options;
    options.records[u"kolliyat"] = {
        {u"کتاب آسماني", u"پرسش يکم", u"پاسخ يکم", u"منبع يکم"},
        {u"کتاب مقدس", u"پرسش دوم", u"پاسخ دوم", std::nullopt},
        {u"آسمان", u"پرسش سوم", u"پاسخ سوم", u"منبع سوم"},
        {u"زمين", u"پرسش چهارم", u"پاسخ چهارم", u"منبع چهارم"},
    };
    options.records[u"ejaz"] = {
        {u"کتاب و معجزه", u"", u"", std::nullopt},
        {u"معجزه", u"", u"", std::nullopt},
    };
    return options;
}

QString filterStatement(const QString& table, const QString& text) {
    return content::titleFilterStatement(table, text) + "\r\n";
}

}  // namespace

class BrowserTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void windowProperties();
    void componentsAsDefined_data();
    void componentsAsDefined();
    void gridFonts();
    void stackingOrder();
    void startState();
    void exactlyOneViewAfterEveryHandler();
    void topicSwitch_data();
    void topicSwitch();
    void activeViewTestOrder_data();
    void activeViewTestOrder();
    void filterOnEveryKeystroke();
    void filterThatMatchesNothing();
    void cancelBringsBackEveryRecord();
    void switchingKeepsEachTopicsFilter();
    void stepButtonsOnTheActiveView_data();
    void stepButtonsOnTheActiveView();
    void stepButtonsOnAnEmptyResult();
    void gridPickMovesTheRecordSet();
    void failedRebuildLeavesTheViewBlank();
    void tabOrder();
    void hotSpots();
    void hoverColours();
};

void BrowserTest::initTestCase() {
    controls::installFontSubstitutes();
}

void BrowserTest::windowProperties() {
    WindowFixture fixture;
    Tmain& window = *fixture.window;
    QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(window.size(), QSize(865, 682));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QCOMPARE(window.layoutDirection(), Qt::RightToLeft);
    QCOMPARE(window.palette().color(QPalette::Window), QColor(211, 240, 212));
    QCOMPARE(window.font().family(), QStringLiteral("Tahoma"));
    QCOMPARE(window.font().pixelSize(), 12);
    QCOMPARE(window.windowTitle(), QStringLiteral("Zandrel قرآني kelvora"));
    QCOMPARE(window.objectName(), QStringLiteral("main"));
    QVERIFY(!window.isVisible());  // created hidden
    QVERIFY(fixture.boxes.isEmpty());
}

namespace {
enum class Sizing { exact, grows, fits };

QColor fontColourOf(QWidget* widget) {
    if (auto* label = qobject_cast<controls::Label*>(widget)) return label->fontColor();
    if (auto* button = qobject_cast<controls::SpeedButton*>(widget)) return button->fontColor();
    if (auto* memo = qobject_cast<controls::DBMemo*>(widget)) return memo->fontColor();
    if (auto* grid = qobject_cast<controls::DBGrid*>(widget))
        return grid->model()->headerData(0, Qt::Horizontal, Qt::ForegroundRole).value<QColor>();
    return widget->palette().color(QPalette::Text);
}

QColor backgroundOf(QWidget* widget) {
    if (auto* memo = qobject_cast<controls::DBMemo*>(widget)) return memo->backgroundColor();
    return widget->palette().color(QPalette::Base);
}

QString captionOf(QWidget* widget) {
    if (auto* label = qobject_cast<controls::Label*>(widget)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
    return {};
}
}  // namespace

void BrowserTest::componentsAsDefined_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("box");
    QTest::addColumn<Sizing>("sizing");
    QTest::addColumn<int>("pixels");     // 0: no font of its own to check
    QTest::addColumn<QColor>("colour");  // invalid: none to check
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QString>("caption");  // null: none to check
    QTest::addColumn<Qt::CursorShape>("cursor");

    const QColor none;
    const QColor red(255, 0, 0), darkGreen(0, 64, 0), navy(0, 0, 128), olive(128, 128, 0);
    const QColor windowGreen(211, 240, 212), paleGreen(236, 248, 236);
    const QColor windowText = QApplication::palette().color(QPalette::WindowText);
    const auto row = [](const QString& name) -> QTestData& {
        return QTest::newRow(qPrintable(name)) << name;
    };
    const Qt::CursorShape hand = Qt::PointingHandCursor, arrow = Qt::ArrowCursor;

    row("Image1") << QRect(0, 0, 865, 682) << Sizing::exact << 0 << none << none << QString()
                  << arrow;
    // Moved to topic 1's slot before the window is first shown.
    row("Image2") << QRect(658, 107, 165, 28) << Sizing::exact << 0 << none << none << QString()
                  << arrow;
    row("Label2") << QRect(539, 116, 43, 18) << Sizing::grows << 15 << darkGreen << none << "موضوع"
                  << arrow;
    row("Label1") << QRect(691, 111, 93, 18) << Sizing::grows << 15 << kMaroon << none
                  << ".: kelvora عامه :." << hand;
    row("Label3") << QRect(707, 147, 62, 18) << Sizing::grows << 15 << kMaroon << none
                  << ".: اعجاز :." << hand;
    row("Label6") << QRect(681, 179, 115, 18) << Sizing::grows << 15 << kMaroon << none
                  << ".: علم و عصمت :." << hand;
    row("Label4") << QRect(700, 213, 81, 18) << Sizing::grows << 15 << kMaroon << none
                  << ".: پيامبران  :." << hand;
    row("Label5") << QRect(713, 246, 61, 18) << Sizing::grows << 15 << kMaroon << none
                  << ".: وحي :." << hand;
    row("Label7") << QRect(670, 281, 140, 18) << Sizing::grows << 15 << kMaroon << none
                  << ".: حضرت محمد(ص) :." << hand;
    row("Edit1") << QRect(704, 376, 106, 19) << Sizing::exact << 13 << olive << paleGreen
                 << "جستجو...." << Qt::IBeamCursor;
    row("SpeedButton5") << QRect(664, 373, 35, 22) << Sizing::exact << 12 << red << none << "لغو "
                        << hand;
    row("Label8") << QRect(713, 406, 122, 13) << Sizing::grows << 11 << darkGreen << none
                  << "تعداد رکورد هاي يافت شده" << arrow;
    row("Label9") << QRect(677, 403, 4, 14) << Sizing::fits << 12 << windowText << none << ""
                  << arrow;
    row("SpeedButton6") << QRect(763, 424, 89, 31) << Sizing::exact << 12 << kMaroon << none
                        << "جستجو در متن" << hand;
    row("SpeedButton8") << QRect(632, 424, 121, 31) << Sizing::exact << 11 << kMaroon << none
                        << "جستجوي پيشرفته" << arrow;
    row("SpeedButton2") << QRect(448, 611, 97, 28) << Sizing::exact << 12 << kMaroon << none
                        << "سوال بعدي" << hand;
    row("SpeedButton1") << QRect(346, 611, 97, 28) << Sizing::exact << 12 << kMaroon << none
                        << "سوال قبلي" << hand;
    row("SpeedButton3") << QRect(244, 611, 97, 28) << Sizing::exact << 12 << kMaroon << none
                        << "اولين سوال" << hand;
    row("SpeedButton4") << QRect(142, 611, 97, 28) << Sizing::exact << 12 << kMaroon << none
                        << "آخرين سوال" << hand;
    row("SpeedButton7") << QRect(40, 611, 97, 28) << Sizing::exact << 12 << kMaroon << none
                        << "تنظيمات" << hand;
    row("Shape1") << QRect(244, 656, 137, 25) << Sizing::exact << 0 << none << none << QString()
                  << hand;
    row("Shape2") << QRect(826, 15, 17, 17) << Sizing::exact << 0 << none << none << QString()
                  << hand;
    row("Shape3") << QRect(800, 16, 17, 17) << Sizing::exact << 0 << none << none << QString()
                  << hand;
    row("Shape4") << QRect(20, 1, 137, 128) << Sizing::exact << 0 << none << none << QString()
                  << hand;
    row("Panel1") << QRect(610, 315, 255, 368) << Sizing::exact << 0 << none << none << QString()
                  << arrow;
    // Inside Panel1, in the panel's coordinates.
    row("DBzertol") << QRect(41, 192, 189, 160) << Sizing::exact << 13 << kMaroon << none
                    << QString() << arrow;

    for (const Source source : kAllSources) {
        const ViewNames names = viewNames(source);
        row(names.title) << QRect(288, 120, 217, 17) << Sizing::exact << 12 << kMaroon << none
                         << QString() << arrow;
        row(names.question) << QRect(40, 152, 513, 97) << Sizing::exact << 13 << navy << windowGreen
                            << QString() << Qt::IBeamCursor;
        row(names.answer) << QRect(32, 272, 521, 201) << Sizing::exact << 13 << kMaroon
                          << windowGreen << QString() << Qt::IBeamCursor;
        row(names.footnotes) << QRect(40, 496, 513, 97) << Sizing::exact << 12 << olive
                             << windowGreen << QString() << Qt::IBeamCursor;
        if (source != Source::advancedSearch)
            row(names.grid) << QRect(656, 456, 169, 211) << Sizing::exact << 13 << kMaroon << none
                            << QString() << arrow;
    }
}

void BrowserTest::componentsAsDefined() {
    QFETCH(QString, name);
    QFETCH(QRect, box);
    QFETCH(Sizing, sizing);
    QFETCH(int, pixels);
    QFETCH(QColor, colour);
    QFETCH(QColor, background);
    QFETCH(QString, caption);
    QFETCH(Qt::CursorShape, cursor);
    WindowFixture fixture;
    QWidget* widget = fixture.find(name);
    QVERIFY(widget != nullptr);

    const QRect actual = widget->geometry();
    switch (sizing) {
        case Sizing::exact:
            QCOMPARE(actual, box);
            break;
        case Sizing::grows:
        case Sizing::fits: {
            // Right edge and top as placed; wide enough for the whole caption, and (growing)
            // never narrower than placed.
            QCOMPARE(actual.right(), box.right());
            QCOMPARE(actual.top(), box.top());
            QVERIFY(actual.height() >= box.height());
            const int textWidth = widget->fontMetrics().horizontalAdvance(
                captionOf(widget).isEmpty() ? QStringLiteral(" ") : captionOf(widget));
            QCOMPARE(actual.width(),
                     sizing == Sizing::fits ? textWidth : std::max(box.width(), textWidth));
            break;
        }
    }
    if (pixels > 0) {
        QCOMPARE(widget->font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(widget->font().pixelSize(), pixels);
    }
    if (colour.isValid()) QCOMPARE(fontColourOf(widget), colour);
    if (background.isValid()) QCOMPARE(backgroundOf(widget), background);
    if (!caption.isNull()) QCOMPARE(captionOf(widget), caption);
    const QWidget* pointerArea = qobject_cast<QAbstractScrollArea*>(widget)
                                     ? qobject_cast<QAbstractScrollArea*>(widget)->viewport()
                                     : widget;
    QCOMPARE(pointerArea->cursor().shape(), cursor);
}

void BrowserTest::gridFonts() {
    WindowFixture fixture;
    for (const Source source : kAllSources) {
        auto* grid = fixture.find<controls::DBGrid>(viewNames(source).grid);
        QVERIFY(grid != nullptr);
        QAbstractItemModel* column = grid->model();
        QCOMPARE(column->columnCount(), 1);
        QCOMPARE(column->headerData(0, Qt::Horizontal).toString(), QStringLiteral("عنوان پرسش ها"));
        QCOMPARE(column->headerData(0, Qt::Horizontal, Qt::FontRole).value<QFont>().pixelSize(),
                 12);
        QCOMPARE(grid->horizontalHeader()->font().pixelSize(), 12);
        QCOMPARE(grid->horizontalHeader()->palette().color(QPalette::ButtonText), QColor(0, 0, 0));
        QCOMPARE(grid->palette().color(QPalette::Text), QColor(255, 0, 0));
        QCOMPARE(grid->frameShape(), QFrame::NoFrame);
        QVERIFY(!grid->verticalHeader()->isHidden());
        QVERIFY(grid->verticalHeader()->width() <= 16);
        const QModelIndex cell = column->index(0, 0);
        QCOMPARE(column->data(cell, Qt::FontRole).value<QFont>().pixelSize(), 12);
        QCOMPARE(column->data(cell, Qt::ForegroundRole).value<QColor>(),
                 QApplication::palette().color(QPalette::WindowText));
        QCOMPARE(grid->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
    }
}

void BrowserTest::stackingOrder() {
    WindowFixture fixture;
    const QObjectList& stack = fixture.window->children();  // bottom first
    const auto level = [&](const QString& name) {
        return static_cast<int>(stack.indexOf(fixture.find(name)));
    };
    const QStringList painted = {"Image2",         "Label1",       "Label2",       "Label9",
                                 "DBTextkolliyat", "SpeedButton5", "SpeedButton8", "Shape4"};
    const QStringList windowed = {"Edit1",          "DBkolliyat",   "DBmotefar",
                                  "Memopakolliyat", "Memomazertol", "Panel1"};
    for (const QString& name : painted) QVERIFY2(level("Image1") < level(name), qPrintable(name));
    QVERIFY(level("Image2") < level("Label1"));
    for (const QString& below : painted)
        for (const QString& above : windowed)
            QVERIFY2(level(below) < level(above), qPrintable(below + " under " + above));
    for (const QString& name : {"Edit1", "DBkolliyat", "DBmoghadamat", "DBmotefar"})
        QVERIFY2(level(name) < level("Panel1"), qPrintable(name));

    // With the panel open, the filter box under it is out of reach.
    fixture.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(fixture.window.get()));
    QCOMPARE(fixture.window->childAt(QPoint(750, 385)), fixture.find("Edit1"));
    showAdvancedSearchView(fixture);
    QWidget* covering = fixture.window->childAt(QPoint(750, 385));
    QVERIFY(covering == fixture.find("Panel1") || fixture.find("Panel1")->isAncestorOf(covering));
}

void BrowserTest::startState() {
    WindowFixture fixture;
    Tmain& window = *fixture.window;
    // Placing the start text in the filter box is not a change: nothing beyond the fourteen
    // opens is sent, the count caption stays hidden and the count empty.
    QCOMPARE(fixture.statements().size(), 14);
    for (const auto& entry : content::topicCatalogue())
        QCOMPARE(fixture.recordSet(entry.source).statement(),
                 content::statementText(content::startStatementLines(entry.table)));
    QVERIFY(fixture.find("Label8")->isHidden());
    QCOMPARE(fixture.find<controls::Label>("Label9")->text(), QString());
    QVERIFY(fixture.find("Panel1")->isHidden());
    QCOMPARE(window.activeSource(Tmain::ViewRule::withAdvancedSearch), Source::topic1);
    QCOMPARE(fixture.find<controls::DBText>("DBTextkolliyat")->text(),
             fixture.recordSet(Source::topic1).field("kholase"));

    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* edit = fixture.find<controls::Edit>("Edit1");
    QTRY_VERIFY(edit->hasFocus());
    QCOMPARE(edit->selectedText(), QStringLiteral("جستجو...."));
    QCOMPARE(fixture.statements().size(), 14);
}

void BrowserTest::exactlyOneViewAfterEveryHandler() {
    WindowFixture fixture(titledCollection());
    Tmain& window = *fixture.window;
    const std::vector<std::pair<QString, std::function<void()>>> steps = {
        {"FormCreate", [&] { window.FormCreate(); }},
        {"Label3 click", [&] { QTest::mouseClick(fixture.find("Label3"), Qt::LeftButton); }},
        {"typing", [&] { filterBy(fixture, "ک"); }},
        {"SpeedButton2 click",
         [&] { QTest::mouseClick(fixture.find("SpeedButton2"), Qt::LeftButton); }},
        {"Label7 click", [&] { QTest::mouseClick(fixture.find("Label7"), Qt::LeftButton); }},
        {"SpeedButton5 click",
         [&] { QTest::mouseClick(fixture.find("SpeedButton5"), Qt::LeftButton); }},
        {"SpeedButton6 click",
         [&] { QTest::mouseClick(fixture.find("SpeedButton6"), Qt::LeftButton); }},
        {"SpeedButton7 click",
         [&] {
             // The modal font dialog it opens is cancelled as it appears.
             QTimer::singleShot(0, [] {
                 if (QWidget* dialog = QApplication::activeModalWidget()) dialog->close();
             });
             QTest::mouseClick(fixture.find("SpeedButton7"), Qt::LeftButton);
         }},
        {"SpeedButton8 click",
         [&] { QTest::mouseClick(fixture.find("SpeedButton8"), Qt::LeftButton); }},
        {"Label6 click", [&] { QTest::mouseClick(fixture.find("Label6"), Qt::LeftButton); }},
        {"SpeedButton4 click",
         [&] { QTest::mouseClick(fixture.find("SpeedButton4"), Qt::LeftButton); }},
        {"Label4 click", [&] { QTest::mouseClick(fixture.find("Label4"), Qt::LeftButton); }},
        {"Label5 click", [&] { QTest::mouseClick(fixture.find("Label5"), Qt::LeftButton); }},
        {"advanced search opened", [&] { showAdvancedSearchView(fixture); }},
        {"SpeedButton3 click",
         [&] { QTest::mouseClick(fixture.find("SpeedButton3"), Qt::LeftButton); }},
        {"Label1 click", [&] { QTest::mouseClick(fixture.find("Label1"), Qt::LeftButton); }},
    };
    for (const auto& [what, step] : steps) {
        step();
        QStringList partly;
        const QList<Source> shown = shownViews(fixture, &partly);
        QVERIFY2(partly.isEmpty(), qPrintable(what + ": partly shown " + partly.join(',')));
        QVERIFY2(shown.size() == 1, qPrintable(what));
        QCOMPARE(window.activeSource(Tmain::ViewRule::withAdvancedSearch), shown.first());
    }
    QVERIFY2(fixture.boxes.isEmpty(), qPrintable(fixture.boxes.join('\n')));
}

void BrowserTest::topicSwitch_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("topic");
    QTest::addColumn<int>("markerTop");
    QTest::newRow("Label1: topic 1, the label already active") << "Label1" << 1 << 107;
    QTest::newRow("Label3: topic 2") << "Label3" << 2 << 142;
    QTest::newRow("Label6: topic 3") << "Label6" << 3 << 176;
    QTest::newRow("Label4: topic 4") << "Label4" << 4 << 210;
    QTest::newRow("Label5: topic 5") << "Label5" << 5 << 243;
    QTest::newRow("Label7: topic 6") << "Label7" << 6 << 277;
}

void BrowserTest::topicSwitch() {
    QFETCH(QString, label);
    QFETCH(int, topic);
    QFETCH(int, markerTop);
    WindowFixture fixture(titledCollection());
    // A filter on topic 1 leaves a count and a showing caption behind.
    filterBy(fixture, "ک");
    fixture.recordSet(Source::topic1).next();
    QVERIFY(!fixture.find("Label8")->isHidden());
    QStringList statementsBefore;
    QList<int> rowsBefore;
    for (const Source source : kAllSources) {
        statementsBefore.append(fixture.recordSet(source).statement());
        rowsBefore.append(fixture.recordSet(source).currentRow());
    }
    const qsizetype sentBefore = fixture.statements().size();
    // From the advanced-search view, so that closing it is part of every switch.
    showAdvancedSearchView(fixture);

    QTest::mouseClick(fixture.find(label), Qt::LeftButton);

    QCOMPARE(fixture.window->activeSource(Tmain::ViewRule::withAdvancedSearch),
             content::topicSource(topic));
    QCOMPARE(fixture.find("Image2")->pos(), QPoint(658, markerTop));
    QVERIFY(fixture.find("Label8")->isHidden());
    QCOMPARE(fixture.find<controls::Label>("Label9")->text(), QStringLiteral("2"));
    QCOMPARE(fixture.find<QLineEdit>("Edit1")->text(), QStringLiteral("ک"));
    QVERIFY(fixture.find("Panel1")->isHidden());
    for (const QString& name : viewNames(Source::advancedSearch).all())
        if (name != "DBzertol") QVERIFY2(fixture.find(name)->isHidden(), qPrintable(name));
    // The switch touches no record set.
    QCOMPARE(fixture.statements().size(), sentBefore);
    for (qsizetype index = 0; index < kAllSources.size(); ++index) {
        QCOMPARE(fixture.recordSet(kAllSources[index]).statement(), statementsBefore[index]);
        QCOMPARE(fixture.recordSet(kAllSources[index]).currentRow(), rowsBefore[index]);
    }
    QVERIFY(fixture.boxes.isEmpty());
}

void BrowserTest::activeViewTestOrder_data() {
    QTest::addColumn<QList<int>>("shownAnswers");  // source indexes; 6 is the advanced search
    QTest::addColumn<bool>("withAdvancedSearch");
    QTest::addColumn<int>("expected");  // source index, -1 for none
    QTest::newRow("topic 4 is tested before topic 2") << QList<int>{1, 3} << false << 3;
    QTest::newRow("topic 2 is tested before topic 5") << QList<int>{4, 1} << false << 1;
    QTest::newRow("topic 5 is tested before topic 3") << QList<int>{2, 4} << true << 4;
    QTest::newRow("topic 3 is tested before topic 6") << QList<int>{5, 2} << false << 2;
    QTest::newRow("topic 1 comes first of all") << QList<int>{5, 3, 0, 6} << true << 0;
    QTest::newRow("the advanced search comes last") << QList<int>{6, 5} << true << 5;
    QTest::newRow("advanced search alone, when served") << QList<int>{6} << true << 6;
    QTest::newRow("advanced search alone, topics only: none") << QList<int>{6} << false << -1;
    QTest::newRow("nothing shown: none") << QList<int>{} << true << -1;
}

void BrowserTest::activeViewTestOrder() {
    QFETCH(QList<int>, shownAnswers);
    QFETCH(bool, withAdvancedSearch);
    QFETCH(int, expected);
    WindowFixture fixture;
    for (const Source source : kAllSources) fixture.find(viewNames(source).answer)->hide();
    for (const int index : shownAnswers) fixture.find(viewNames(kAllSources[index]).answer)->show();
    const auto found = fixture.window->activeSource(
        withAdvancedSearch ? Tmain::ViewRule::withAdvancedSearch : Tmain::ViewRule::topicsOnly);
    QCOMPARE(found.has_value(), expected >= 0);
    if (found) QCOMPARE(content::sourceIndex(*found), expected);
}

void BrowserTest::filterOnEveryKeystroke() {
    WindowFixture fixture(titledCollection());
    Tmain& window = *fixture.window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* edit = fixture.find<QLineEdit>("Edit1");
    auto* count = fixture.find<controls::Label>("Label9");
    auto* grid = fixture.find<controls::DBGrid>("DBkolliyat");
    auto* title = fixture.find<controls::DBText>("DBTextkolliyat");
    QTRY_VERIFY(edit->hasFocus());

    const QString text = QStringLiteral("کتاب آ");
    const QList<int> counts = {2, 2, 2, 2, 2, 1};
    for (int typed = 1; typed <= text.size(); ++typed) {
        const qsizetype sentBefore = fixture.statements().size();
        typeText(edit, text.mid(typed - 1, 1));
        const QString prefix = text.left(typed);
        // The first key replaces the selected start text.
        QCOMPARE(edit->text(), prefix);
        QCOMPARE(fixture.statements().size(), sentBefore + 1);
        QCOMPARE(fixture.statements().last(), filterStatement("kolliyat", prefix));
        QCOMPARE(count->text(), QString::number(counts[typed - 1]));
        QVERIFY(!fixture.find("Label8")->isHidden());
        QCOMPARE(grid->model()->rowCount(), counts[typed - 1]);
        QCOMPARE(grid->currentRow(), 0);
        QCOMPARE(title->text(), fixture.recordSet(Source::topic1).field("kholase"));
    }
    // Deleting back to one letter filters on every deletion; deleting the last letter sends
    // nothing, and the one-letter filter and its count stay.
    for (int left = text.size() - 1; left >= 0; --left) {
        const qsizetype sentBefore = fixture.statements().size();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), text.left(left));
        QCOMPARE(fixture.statements().size(), sentBefore + (left > 0 ? 1 : 0));
    }
    QCOMPARE(fixture.statements().last(), filterStatement("kolliyat", "ک"));
    QCOMPARE(count->text(), QStringLiteral("2"));
    QCOMPARE(grid->model()->rowCount(), 2);
    QVERIFY(!fixture.find("Label8")->isHidden());
    QVERIFY(fixture.boxes.isEmpty());
}

void BrowserTest::filterThatMatchesNothing() {
    WindowFixture fixture(titledCollection());
    filterBy(fixture, "ژ");
    QCOMPARE(fixture.find<controls::Label>("Label9")->text(), QStringLiteral("0"));
    QCOMPARE(fixture.find<controls::DBGrid>("DBkolliyat")->model()->rowCount(), 0);
    QCOMPARE(fixture.find<controls::DBText>("DBTextkolliyat")->text(), QString());
    for (const QString& memo : {"Memopokolliyat", "Memopakolliyat", "Memomankolliyat"})
        QCOMPARE(fixture.find<controls::DBMemo>(memo)->value(), QString());
    QVERIFY(fixture.boxes.isEmpty());
}

void BrowserTest::cancelBringsBackEveryRecord() {
    WindowFixture fixture(titledCollection());
    auto* count = fixture.find<controls::Label>("Label9");
    filterBy(fixture, "کتاب");
    fixture.recordSet(Source::topic1).next();
    QTest::mouseClick(fixture.find("SpeedButton5"), Qt::LeftButton);
    QCOMPARE(fixture.statements().last(), content::resetStatement("kolliyat") + "\r\n");
    QCOMPARE(count->text(), QString());
    QVERIFY(fixture.find("Label8")->isHidden());
    QCOMPARE(fixture.find<QLineEdit>("Edit1")->text(), QStringLiteral("کتاب"));
    QCOMPARE(fixture.find<controls::DBGrid>("DBkolliyat")->model()->rowCount(), 4);
    QCOMPARE(fixture.recordSet(Source::topic1).currentRow(), 0);

    // A topic that was never filtered is rebuilt all the same: back to its first record.
    QTest::mouseClick(fixture.find("Label6"), Qt::LeftButton);
    fixture.recordSet(Source::topic3).last();
    count->setText("9");
    QTest::mouseClick(fixture.find("SpeedButton5"), Qt::LeftButton);
    QCOMPARE(fixture.statements().last(), content::resetStatement("elm") + "\r\n");
    QCOMPARE(fixture.recordSet(Source::topic3).currentRow(), 0);
    QCOMPARE(count->text(), QString());

    // With the advanced-search view active, neither the box nor the cancel button sends.
    showAdvancedSearchView(fixture);
    const qsizetype sentBefore = fixture.statements().size();
    count->setText("9");
    typeText(fixture.find("Edit1"), "ب");
    QVERIFY(!fixture.find("Label8")->isHidden());
    QTest::mouseClick(fixture.find("SpeedButton5"), Qt::LeftButton);
    QCOMPARE(fixture.statements().size(), sentBefore);
    QCOMPARE(count->text(), QStringLiteral("9"));
    QVERIFY(fixture.boxes.isEmpty());
}

void BrowserTest::switchingKeepsEachTopicsFilter() {
    WindowFixture fixture(titledCollection());
    auto* edit = fixture.find<QLineEdit>("Edit1");
    auto* count = fixture.find<controls::Label>("Label9");
    filterBy(fixture, "ک");
    QTest::mouseClick(fixture.find("SpeedButton2"), Qt::LeftButton);
    QCOMPARE(fixture.recordSet(Source::topic1).currentRow(), 1);

    QTest::mouseClick(fixture.find("Label3"), Qt::LeftButton);
    // Topic 2 shows all of its records; the box and the count stay as they were.
    QCOMPARE(fixture.recordSet(Source::topic2).statement(),
             content::statementText(content::startStatementLines("ejaz")));
    QCOMPARE(fixture.find<controls::DBGrid>("DBmoghadamat")->model()->rowCount(), 2);
    QCOMPARE(edit->text(), QStringLiteral("ک"));
    QCOMPARE(count->text(), QStringLiteral("2"));

    // One more letter filters topic 2 by the whole text; topic 1 keeps its own filter.
    typeText(edit, "ت");
    QCOMPARE(fixture.statements().last(), filterStatement("ejaz", "کت"));
    QCOMPARE(count->text(), QStringLiteral("1"));
    QCOMPARE(fixture.recordSet(Source::topic1).statement(), filterStatement("kolliyat", "ک"));

    QTest::mouseClick(fixture.find("Label1"), Qt::LeftButton);
    QCOMPARE(fixture.find<controls::DBGrid>("DBkolliyat")->model()->rowCount(), 2);
    QCOMPARE(fixture.find<controls::DBGrid>("DBkolliyat")->currentRow(), 1);
    QCOMPARE(fixture.find<controls::DBText>("DBTextkolliyat")->text(), QStringLiteral("کتاب مقدس"));
    QCOMPARE(count->text(), QStringLiteral("1"));  // the last count, whichever topic it came from
    QVERIFY(fixture.find("Label8")->isHidden());
}

void BrowserTest::stepButtonsOnTheActiveView_data() {
    QTest::addColumn<QString>("topicLabel");  // empty: the advanced-search view
    QTest::addColumn<int>("source");
    QTest::newRow("topic 1") << "Label1" << 0;
    QTest::newRow("topic 3") << "Label6" << 2;
    QTest::newRow("topic 6") << "Label7" << 5;
    QTest::newRow("advanced-search view") << "" << 6;
}

void BrowserTest::stepButtonsOnTheActiveView() {
    QFETCH(QString, topicLabel);
    QFETCH(int, source);
    WindowFixture fixture;
    if (topicLabel.isEmpty())
        showAdvancedSearchView(fixture);
    else
        QTest::mouseClick(fixture.find(topicLabel), Qt::LeftButton);
    const Source active = kAllSources[source];
    content::RecordSet& recordSet = fixture.recordSet(active);
    const ViewNames names = viewNames(active);

    // Three records: first is row 0, last row 2; the ends hold.
    const std::vector<std::pair<QString, int>> presses = {
        {"SpeedButton4", 2}, {"SpeedButton2", 2}, {"SpeedButton1", 1}, {"SpeedButton3", 0},
        {"SpeedButton1", 0}, {"SpeedButton2", 1}, {"SpeedButton2", 2}};
    for (const auto& [button, row] : presses) {
        QTest::mouseClick(fixture.find(button), Qt::LeftButton);
        QCOMPARE(recordSet.currentRow(), row);
        QCOMPARE(fixture.find<controls::DBText>(names.title)->text(), recordSet.field("kholase"));
        QCOMPARE(fixture.find<controls::DBMemo>(names.question)->value(),
                 recordSet.field("porsesh"));
        QCOMPARE(fixture.find<controls::DBGrid>(names.grid)->currentRow(), row);
    }
    // No other record set moved.
    for (const Source other : kAllSources)
        if (other != active) QCOMPARE(fixture.recordSet(other).currentRow(), 0);
    QVERIFY(fixture.boxes.isEmpty());
}

void BrowserTest::stepButtonsOnAnEmptyResult() {
    WindowFixture fixture(titledCollection());
    filterBy(fixture, "ژ");
    for (const QString& button : {"SpeedButton1", "SpeedButton2", "SpeedButton3", "SpeedButton4"})
        QTest::mouseClick(fixture.find(button), Qt::LeftButton);
    QCOMPARE(fixture.recordSet(Source::topic1).currentRow(), -1);
    QCOMPARE(fixture.find<controls::DBText>("DBTextkolliyat")->text(), QString());
    QVERIFY(fixture.boxes.isEmpty());
}

void BrowserTest::gridPickMovesTheRecordSet() {
    WindowFixture fixture(titledCollection());
    fixture.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(fixture.window.get()));
    auto* grid = fixture.find<controls::DBGrid>("DBkolliyat");
    const QRect cell = grid->visualRect(grid->model()->index(1, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(fixture.recordSet(Source::topic1).currentRow(), 1);
    QCOMPARE(fixture.find<controls::DBText>("DBTextkolliyat")->text(), QStringLiteral("کتاب مقدس"));
    QCOMPARE(fixture.find<controls::DBMemo>("Memopakolliyat")->value(), QStringLiteral("پاسخ دوم"));
    // Its footnotes are null: an empty pane.
    QCOMPARE(fixture.find<controls::DBMemo>("Memomankolliyat")->value(), QString());
    QCOMPARE(grid->currentRow(), 1);
}

void BrowserTest::failedRebuildLeavesTheViewBlank() {
    fixtures::CollectionOptions options = titledCollection();
    options.withoutTables.insert(u"ejaz");
    WindowFixture fixture(options);
    QCOMPARE(fixture.boxes.size(), 2);  // topic 2's record set and its saved query
    auto* count = fixture.find<controls::Label>("Label9");
    filterBy(fixture, "ک");
    QCOMPARE(count->text(), QStringLiteral("2"));

    QTest::mouseClick(fixture.find("Label3"), Qt::LeftButton);
    typeText(fixture.find("Edit1"), "ت");
    QCOMPARE(fixture.boxes.size(), 3);
    QCOMPARE(fixture.statements().last(), filterStatement("ejaz", "کت"));
    QCOMPARE(count->text(), QStringLiteral("2"));
    QVERIFY(!fixture.find("Label8")->isHidden());
    QCOMPARE(fixture.find<controls::DBText>("DBTextmoghadamat")->text(), QString());
    QCOMPARE(fixture.find<controls::DBMemo>("Memopamoghadamat")->value(), QString());
    QCOMPARE(fixture.find<controls::DBGrid>("DBmoghadamat")->model()->rowCount(), 0);

    QTest::mouseClick(fixture.find("SpeedButton2"), Qt::LeftButton);
    QCOMPARE(fixture.boxes.last(),
             QStringLiteral("Qmoghadamat: Cannot perform this operation on a closed dataset."));
    // The cancel button fails the same way: the caption goes, the count stays.
    QTest::mouseClick(fixture.find("SpeedButton5"), Qt::LeftButton);
    QCOMPARE(fixture.boxes.size(), 5);
    QVERIFY(fixture.find("Label8")->isHidden());
    QCOMPARE(count->text(), QStringLiteral("2"));
}

void BrowserTest::tabOrder() {
    WindowFixture fixture;
    Tmain& window = *fixture.window;
    // The chain through every control that takes the focus by Tab, hidden or not.
    QStringList chain;
    QWidget* widget = fixture.find("Edit1");
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->window() == &window &&
            widget->focusProxy() == nullptr && !widget->objectName().isEmpty())
            chain.append(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget != fixture.find("Edit1") && chain.size() < 100);
    // clang-format off
    const QStringList expected = {
        "Edit1",
        "DBkolliyat", "Memopokolliyat", "Memopakolliyat", "Memomankolliyat",
        "Memopomoghadamat", "Memopamoghadamat", "Memomamoghadamat", "DBmoghadamat",
        "Memopovajeb", "Memopavajeb", "Memomavajeb", "DBvajeb",
        "Memopomostahab", "Memopamostahab", "Memomamostahab", "DBmostahab",
        "Memoponamaz", "Memopanamaz", "Memomanamaz", "DBnamaz",
        "Memopomotefar", "Memopamotefar", "Memomamotefar", "DBmotefar",
        "ebarat", "DBzertol", "RadioButton1",  // in Panel1, which takes its place in the order
        "Memopozertol", "Memopazertol", "Memomazertol"};
    // clang-format on
    QCOMPARE(chain, expected);

    // Hidden controls are skipped: topic 1 leads to its grid, the other topics to their
    // question pane.
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_VERIFY(fixture.find("Edit1")->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), fixture.find("DBkolliyat"));
    QTest::mouseClick(fixture.find("Label3"), Qt::LeftButton);
    fixture.find("Edit1")->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), fixture.find("Memopomoghadamat"));
    // A pane passes Tab on instead of typing it.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), fixture.find("Memopamoghadamat"));
}

void BrowserTest::hotSpots() {
    WindowFixture fixture(titledCollection());
    Tmain& window = *fixture.window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mousePress(fixture.find("Shape4"), Qt::RightButton);
    QTest::mousePress(fixture.find("Shape1"), Qt::LeftButton);
    QTest::mousePress(fixture.find("Shape1"), Qt::LeftButton);
    QCOMPARE(fixture.addresses, QStringList(3, QStringLiteral("www.morvandel.example")));

    QTest::mouseClick(fixture.find("Label5"), Qt::LeftButton);
    filterBy(fixture, "ک");
    QTest::mousePress(fixture.find("Shape3"), Qt::MiddleButton);
    QVERIFY(window.isMinimized());
    window.showNormal();

    // Closing only hides; shown again, everything is as it was.
    QTest::mousePress(fixture.find("Shape2"), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    window.show();
    QCOMPARE(window.activeSource(Tmain::ViewRule::withAdvancedSearch), Source::topic5);
    QCOMPARE(fixture.find("Image2")->pos(), QPoint(658, 243));
    QCOMPARE(fixture.find<QLineEdit>("Edit1")->text(), QStringLiteral("ک"));
    QCOMPARE(fixture.recordSet(Source::topic5).statement(), filterStatement("vahy", "ک"));
    QVERIFY(fixture.boxes.isEmpty());
}

void BrowserTest::hoverColours() {
    WindowFixture fixture;
    Tmain& window = *fixture.window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* label3 = fixture.find<controls::Label>("Label3");
    auto* label6 = fixture.find<controls::Label>("Label6");
    QCOMPARE(label3->fontColor(), kMaroon);

    QTest::mouseMove(window.windowHandle(), label3->geometry().center());
    QTRY_COMPARE(label3->fontColor(), kGreen);
    // Straight on to the next label: the first turns maroon, the second green.
    QTest::mouseMove(window.windowHandle(), label6->geometry().center());
    QTRY_COMPARE(label6->fontColor(), kGreen);
    QCOMPARE(label3->fontColor(), kMaroon);
    QTest::mouseClick(label6, Qt::LeftButton);
    QCOMPARE(label6->fontColor(), kGreen);
    QTest::mouseMove(window.windowHandle(), QPoint(400, 400));
    QTRY_COMPARE(label6->fontColor(), kMaroon);
    // Other labels have no hover colour.
    QTest::mouseMove(window.windowHandle(), fixture.find("Label2")->geometry().center());
    QCOMPARE(fixture.find<controls::Label>("Label2")->fontColor(), QColor(0, 64, 0));
}

QTEST_MAIN(BrowserTest)
#include "browser_test.moc"
