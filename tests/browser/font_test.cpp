// Answer font settings: the settings button opens the font dialog of the view on screen; OK
// gives that view's answer pane the dialog's name, size, colour and style and nothing else;
// each dialog starts from MS Sans Serif 8 pt and keeps its last confirmed font.
#include <QComboBox>
#include <QPushButton>

#include "controls/db_memo.h"
#include "controls/font_dialog.h"
#include "controls/fonts.h"
#include "window_fixture.h"

using controls::DBMemo;
using controls::FontDialog;
using testing_browser::BrowsingWindow;
using testing_browser::onNextModal;

namespace {

const QColor kMaroon(128, 0, 0);
const QColor kNavy(0, 0, 128);
const QColor kWindowGreen(211, 240, 212);

QColor windowText() {
    return QApplication::palette().color(QPalette::WindowText);
}

// What a dialog showed as it opened.
struct Shown {
    QString dialog;
    QFont font;
    QColor color;
};

// Presses the settings button; `act` runs in the dialog that opens and ends it. Returns what
// the dialog showed as it opened (an empty dialog name when none opened).
Shown pressSettings(BrowsingWindow& fixture, std::function<void(FontDialog&)> act) {
    auto shown = std::make_shared<Shown>();
    onNextModal<FontDialog>([shown, act = std::move(act)](FontDialog& dialog) {
        *shown = {dialog.objectName(), dialog.currentFont(), dialog.currentColor()};
        act(dialog);
    });
    fixture.click("SpeedButton7");
    return *shown;
}

void pressOk(FontDialog& dialog) {
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
}

void pressCancel(FontDialog& dialog) {
    QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
}

QFont font(const QString& family, int points, bool bold = false, bool italic = false,
           bool underline = false, bool strikeOut = false) {
    QFont chosen(family, points);
    chosen.setBold(bold);
    chosen.setItalic(italic);
    chosen.setUnderline(underline);
    chosen.setStrikeOut(strikeOut);
    return chosen;
}

// The character height of a size in points on the pane's screen.
int pixelsOf(int points, const QWidget* widget) {
    return qRound(points * widget->logicalDpiY() / 72.0);
}

// Compares the font of an answer pane with the start font or a chosen one.
void checkPaneFont(const DBMemo* memo, const QString& family, int pixelSize, const QColor& colour,
                   bool bold = false, bool italic = false, bool underline = false,
                   bool strikeOut = false) {
    const QByteArray name = memo->objectName().toLatin1();
    QVERIFY2(memo->font().family() == family, name + " " + memo->font().family().toUtf8());
    QVERIFY2(memo->font().pixelSize() == pixelSize, name);
    QVERIFY2(memo->fontColor() == colour, name);
    QVERIFY2(memo->font().bold() == bold, name);
    QVERIFY2(memo->font().italic() == italic, name);
    QVERIFY2(memo->font().underline() == underline, name);
    QVERIFY2(memo->font().strikeOut() == strikeOut, name);
    QVERIFY2(memo->backgroundColor() == kWindowGreen, name);
}

void checkStartFont(const DBMemo* memo) {
    checkPaneFont(memo, "Tahoma", 13, kMaroon);
}

void checkShown(const Shown& shown, const QString& dialog, const QFont& font,
                const QColor& colour) {
    QCOMPARE(shown.dialog, dialog);
    QCOMPARE(shown.font.family(), font.family());
    QCOMPARE(shown.font.pointSize(), font.pointSize());
    QCOMPARE(shown.font.bold(), font.bold());
    QCOMPARE(shown.font.italic(), font.italic());
    QCOMPARE(shown.font.underline(), font.underline());
    QCOMPARE(shown.font.strikeOut(), font.strikeOut());
    QCOMPARE(shown.color, colour);
}

const QStringList kAnswerPanes = {"Memopakolliyat", "Memopamoghadamat", "Memopavajeb",
                                  "Memopamostahab", "Memopanamaz",      "Memopamotefar",
                                  "Memopazertol"};

}  // namespace

class FontTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void firstOpening_data();
    void firstOpening();
    void eachViewKeepsItsFont();
    void cancelChangesNothing();
    void onlyNameSizeColourAndStyleChange();
};

void FontTest::initTestCase() {
    controls::installFontSubstitutes();
}

void FontTest::firstOpening_data() {
    QTest::addColumn<QString>("opener");  // a topic label, or the advanced-search button
    QTest::addColumn<QString>("dialogName");
    QTest::addColumn<QString>("paneName");
    QTest::newRow("topic 1") << "Label1"
                             << "FontDialog1"
                             << "Memopakolliyat";
    QTest::newRow("topic 2") << "Label3"
                             << "FontDialog2"
                             << "Memopamoghadamat";
    QTest::newRow("topic 3") << "Label6"
                             << "FontDialog3"
                             << "Memopavajeb";
    QTest::newRow("topic 4") << "Label4"
                             << "FontDialog4"
                             << "Memopamostahab";
    QTest::newRow("topic 5") << "Label5"
                             << "FontDialog5"
                             << "Memopanamaz";
    QTest::newRow("topic 6") << "Label7"
                             << "FontDialog6"
                             << "Memopamotefar";
    QTest::newRow("advanced search") << "SpeedButton8"
                                     << "FontDialog7"
                                     << "Memopazertol";
}

// The first opening shows MS Sans Serif 8 pt in the window-text colour, not the pane's
// Tahoma; OK unchanged gives the pane exactly that, 11 pixels high at 96 dots per inch.
void FontTest::firstOpening() {
    QFETCH(QString, opener);
    QFETCH(QString, dialogName);
    QFETCH(QString, paneName);
    BrowsingWindow fixture;
    fixture.click(opener);
    const Shown shown = pressSettings(fixture, pressOk);
    checkShown(shown, dialogName, font("MS Sans Serif", 8), windowText());

    auto* pane = fixture.find<DBMemo>(paneName);
    if (pane->logicalDpiY() == 96) QCOMPARE(pixelsOf(8, pane), 11);
    checkPaneFont(pane, "MS Sans Serif", pixelsOf(8, pane), windowText());
    for (const QString& other : kAnswerPanes)
        if (other != paneName) checkStartFont(fixture.find<DBMemo>(other));
    QVERIFY(fixture.boxes.isEmpty());
}

void FontTest::eachViewKeepsItsFont() {
    BrowsingWindow fixture;
    auto* topic2 = fixture.find<DBMemo>("Memopamoghadamat");
    auto* topic5 = fixture.find<DBMemo>("Memopanamaz");
    auto* advanced = fixture.find<DBMemo>("Memopazertol");
    const QFont chosen = font("Noto Sans", 14, true);

    // Topic 2: a family, a size and bold set on the dialog, maroon picked in the colour list.
    fixture.click("Label3");
    pressSettings(fixture, [&](FontDialog& dialog) {
        dialog.setCurrentFont(chosen);
        QTest::keyClick(dialog.findChild<QComboBox*>("color"), Qt::Key_Down);  // black, maroon
        pressOk(dialog);
    });
    checkPaneFont(topic2, "Noto Sans", pixelsOf(14, topic2), kMaroon, true);

    // Topic 5 keeps its start font and its dialog its own first font.
    fixture.click("Label5");
    checkStartFont(topic5);
    checkShown(pressSettings(fixture, pressCancel), "FontDialog5", font("MS Sans Serif", 8),
               windowText());
    checkStartFont(topic5);

    // Back on topic 2: the pane has the chosen font and the dialog opens with it.
    fixture.click("Label3");
    checkPaneFont(topic2, "Noto Sans", pixelsOf(14, topic2), kMaroon, true);
    checkShown(pressSettings(fixture, pressCancel), "FontDialog2", chosen, kMaroon);

    // In the advanced-search panel only its pane changes, and keeps the font after the panel
    // is closed and opened again.
    fixture.click("SpeedButton8");
    pressSettings(fixture, [](FontDialog& dialog) {
        dialog.setCurrentFont(font("DejaVu Sans", 10, false, true, false, true));
        dialog.setCurrentColor(kNavy);
        pressOk(dialog);
    });
    checkPaneFont(advanced, "DejaVu Sans", pixelsOf(10, advanced), kNavy, false, true, false, true);
    fixture.click("SpeedButton10");
    fixture.click("SpeedButton8");
    checkPaneFont(advanced, "DejaVu Sans", pixelsOf(10, advanced), kNavy, false, true, false, true);
    checkPaneFont(topic2, "Noto Sans", pixelsOf(14, topic2), kMaroon, true);
    for (const char* name :
         {"Memopakolliyat", "Memopavajeb", "Memopamostahab", "Memopanamaz", "Memopamotefar"})
        checkStartFont(fixture.find<DBMemo>(name));
    QVERIFY(fixture.boxes.isEmpty());
}

void FontTest::cancelChangesNothing() {
    BrowsingWindow fixture;
    auto* pane = fixture.find<DBMemo>("Memopakolliyat");
    const QFont first = font("DejaVu Sans", 12, false, false, true);
    pressSettings(fixture, [&](FontDialog& dialog) {
        dialog.setCurrentFont(first);
        pressOk(dialog);
    });
    checkPaneFont(pane, "DejaVu Sans", pixelsOf(12, pane), windowText(), false, false, true);

    // Changed on the dialog, then cancelled: neither the pane nor the dialog's font move.
    const Shown shown = pressSettings(fixture, [](FontDialog& dialog) {
        dialog.setCurrentFont(font("Noto Sans", 20, true, true));
        dialog.setCurrentColor(kNavy);
        pressCancel(dialog);
    });
    checkShown(shown, "FontDialog1", first, windowText());
    checkPaneFont(pane, "DejaVu Sans", pixelsOf(12, pane), windowText(), false, false, true);
    auto* dialog = fixture.find<FontDialog>("FontDialog1");
    QCOMPARE(dialog->selectedFont().family(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(dialog->selectedFont().pointSize(), 12);
    QCOMPARE(dialog->selectedColor(), windowText());
    checkShown(pressSettings(fixture, pressCancel), "FontDialog1", first, windowText());
}

// A bold, underlined choice: the pane takes both; its character set, kerning and colours other
// than the text's stay, and the question and footnote panes keep their plain fonts.
void FontTest::onlyNameSizeColourAndStyleChange() {
    BrowsingWindow fixture;
    fixture.click("Label6");
    auto* pane = fixture.find<DBMemo>("Memopavajeb");
    QFont own = pane->font();
    own.setKerning(false);
    own.setHintingPreference(QFont::PreferNoHinting);
    pane->setFont(own);
    const QRect box = pane->geometry();

    pressSettings(fixture, [](FontDialog& dialog) {
        dialog.setCurrentFont(font("DejaVu Sans", 9, true, false, true));
        pressOk(dialog);
    });
    checkPaneFont(pane, "DejaVu Sans", pixelsOf(9, pane), windowText(), true, false, true);
    QVERIFY(!pane->font().kerning());
    QCOMPARE(pane->font().hintingPreference(), QFont::PreferNoHinting);
    QCOMPARE(pane->geometry(), box);
    QCOMPARE(pane->layoutDirection(), Qt::RightToLeft);
    for (const char* name : {"Memopovajeb", "Memomavajeb"}) {
        const QFont other = fixture.find<DBMemo>(name)->font();
        QCOMPARE(other.family(), QStringLiteral("Tahoma"));
        QVERIFY(!other.bold());
        QVERIFY(!other.underline());
    }
}

QTEST_MAIN(FontTest)
#include "font_test.moc"
